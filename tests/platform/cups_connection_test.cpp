// Waits on a print server that takes connections and never answers, and on one that is not
// there: every lookup ends at the limit with nothing, the running print's stop ends a wait at
// once, and a failing stop check comes out of the library as it went in.
#include "platform/cups_connection.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/cups_printer_system.h"
#include "support/private_cups.h"
#include "support/scratch_folder.h"

namespace tolvane {
namespace {

using testing::ScratchFolder;
using testing::SilentPrintServer;

TEST(CupsServerNameTest, AServerOfThisMachineIsSaidSoAnOtherByItsHost) {
    const std::pair<const char*, const char*> cases[] = {
        {"/run/cups/cups.sock", "di questo computer"},
        {"localhost:631", "di questo computer"},
        {"127.0.0.1", "di questo computer"},
        {"stampe.ditta.it:8631", "stampe.ditta.it"},
        {"192.168.1.20", "192.168.1.20"},
    };
    for (const auto& [server, name] : cases) EXPECT_EQ(cupsServerName(server), name) << server;
}

// Fault: a paper size looked up on such a server waited for ever, and the print with it.
TEST(CupsConnectionSilent, EveryLookupEndsAtTheLimitWithNothingAndAPrintWaitsOnlyOnce) {
    SilentPrintServer silent;
    ASSERT_TRUE(silent.listening());
    ScratchFolder folder;
    CupsPrinterSystem system(silent.socket(), folder.file("lpoptions"), 1);
    EXPECT_EQ(system.printers().size(), 0u);
    EXPECT_EQ(system.defaultPrinter(), "");
    EXPECT_EQ(system.defaultPaperSize("Ufficio"), -1);

    // Once the server's pause is over, a print waits for it once more.
    passPrintServerTime(std::chrono::seconds(kSilentServerPauseSeconds));
    int asked = 0;
    PrintServerWaits waits([&] {
        ++asked;
        return false;
    });
    EXPECT_EQ(system.trays("Ufficio").size(), 0u);
    EXPECT_TRUE(waits.gaveUp());
    const int first = asked;
    EXPECT_GT(first, 0) << "the print's stop is asked while the server is silent";
    EXPECT_EQ(system.paperSizes("Ufficio").size(), 0u);
    EXPECT_EQ(system.mediaOptions("Ufficio", 1, 9).size(), 0u);
    EXPECT_EQ(system.printers().size(), 0u);
    EXPECT_EQ(asked, first) << "a server silent once in a print is not waited for again";
}

// The print's own memory outlasts the server's pause; the print over, the pause alone counts.
TEST(CupsConnectionSilent, AServerSilentInAPrintIsNotWaitedForAgainInItHoweverLongItLasts) {
    SilentPrintServer silent;
    ASSERT_TRUE(silent.listening());
    ScratchFolder folder;
    CupsPrinterSystem system(silent.socket(), folder.file("lpoptions"), 1);
    {
        PrintServerWaits waits([] { return false; });
        EXPECT_TRUE(system.printers().empty());
        EXPECT_EQ(silent.connections(), 1);
        passPrintServerTime(std::chrono::seconds(kSilentServerPauseSeconds));
        EXPECT_TRUE(system.printers().empty());
        EXPECT_EQ(silent.connections(), 1) << "waited for again in the print that found it silent";
    }
    EXPECT_TRUE(system.printers().empty());
    EXPECT_EQ(silent.connections(), 2) << "not asked again once the print was over";
}

TEST(CupsConnectionSilent, StopEndsTheWaitAndItsFailureIsRaisedOutsideTheLibrary) {
    SilentPrintServer silent;
    ASSERT_TRUE(silent.listening());
    struct Case {
        const char* name;
        int stopAt;
        bool raises;
    };
    for (const Case& c : std::vector<Case>{{"stopped", 2, false}, {"check fails", 1, true}}) {
        SCOPED_TRACE(c.name);
        int asked = 0;
        PrintServerWaits waits([&] {
            if (++asked < c.stopAt) return false;
            if (c.raises) throw std::runtime_error("controllo non riuscito");
            return true;
        });
        CupsConnection connection(silent.socket());
        ASSERT_NE(connection.http(), nullptr);
        if (c.raises) {
            EXPECT_THROW(connection.ask(ippNewRequest(IPP_OP_CUPS_GET_PRINTERS), "/"),
                         std::runtime_error);
        } else {
            EXPECT_EQ(connection.ask(ippNewRequest(IPP_OP_CUPS_GET_PRINTERS), "/"), nullptr);
            EXPECT_EQ(connection.failure(), CupsConnection::Failure::Stopped);
        }
        EXPECT_EQ(asked, c.stopAt);
    }
}

TEST(CupsConnectionSilent, AServerThatIsNotThereIsUnreachableAtOnce) {
    ScratchFolder folder;
    PrintServerWaits waits([] { return false; });
    CupsConnection connection(folder.file("nessuno.sock"));
    EXPECT_EQ(connection.http(), nullptr);
    EXPECT_EQ(connection.failure(), CupsConnection::Failure::Unreachable);
    EXPECT_FALSE(waits.gaveUp());
}

// A server silent a moment ago fails at once, in a print too, which learns that it gave up, until
// its pause is over; only a wait that lasts is shown.
TEST(CupsConnectionSilent, AServerSilentLatelyFailsAtOnceUntilItsPauseIsOver) {
    SilentPrintServer silent;
    ASSERT_TRUE(silent.listening());
    ScratchFolder folder;
    std::vector<bool> shown;
    setPrintServerWaitShown([&](bool waiting) { shown.push_back(waiting); });
    CupsPrinterSystem system(silent.socket(), folder.file("lpoptions"), 1);
    EXPECT_EQ(system.silentServer(), "");
    EXPECT_TRUE(system.printers().empty());
    EXPECT_EQ(shown, (std::vector<bool>{true, false}));
    EXPECT_EQ(system.silentServer(), "di questo computer");
    {
        int asked = 0;
        PrintServerWaits waits([&] {
            ++asked;
            return false;
        });
        EXPECT_EQ(system.defaultPaperSize("Ufficio"), -1);
        EXPECT_TRUE(waits.gaveUp());
        EXPECT_EQ(asked, 0) << "nothing waited for";
    }
    EXPECT_EQ(silent.connections(), 1);
    EXPECT_EQ(shown.size(), 2u);

    passPrintServerTime(std::chrono::seconds(kSilentServerPauseSeconds));
    EXPECT_EQ(system.silentServer(), "");
    EXPECT_TRUE(system.printers().empty());
    EXPECT_EQ(silent.connections(), 2);
    EXPECT_EQ(shown.size(), 4u);
    EXPECT_EQ(system.silentServer(), "di questo computer");
    setPrintServerWaitShown(nullptr);
}

}  // namespace
}  // namespace tolvane

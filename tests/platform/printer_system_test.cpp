// Tests of the printer system: trays and paper sizes read from a PPD, the per-user default in an
// lpoptions text, the current printer that follows the default until chosen, and the CUPS system
// against a private scheduler. Never talks to the machine's own print server or lpoptions.
#include "platform/printer_system.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/cups_printer_system.h"
#include "platform/memory_printer_system.h"
#include "platform/printer_media.h"
#include "support/private_cups.h"
#include "support/scratch_folder.h"
#include "support/test_ppd.h"

namespace tolvane {
namespace {

using testing::PrivateCups;
using testing::ScratchFolder;

TEST(PpdMediaTest, ChoicesAreNumberedInFileOrderAndNamedByTheirTranslation) {
    const std::string ppd =
        "*PPD-Adobe: \"4.3\"\r\n"
        "*% *PageSize Commented/Not a choice: \"\"\r\n"
        "*OpenUI *PageSize/Media Size: PickOne\r\n"
        "*OrderDependency: 10 AnySetup *PageSize\r\n"
        "*DefaultPageSize: A4\r\n"
        "*PageSize Letter/US Letter: \"<</PageSize[612 792]>>setpagedevice\"\r\n"
        "*PageSize A4/A4: \"<</PageSize[595 842]>>\n"
        "*PageSize Fake/Inside a value: \n"
        "setpagedevice\"\r\n"
        "*PageSize Legal: \"<</PageSize[612 1008]>>setpagedevice\"\r\n"
        "*CloseUI: *PageSize\r\n"
        "*PageRegion A5/A5: \"\"\r\n"
        "*DefaultInputSlot: Upper\r\n"
        "*InputSlot Upper/Cassetto superiore: \"\"\r\n"
        "*InputSlot Manual/Alimentazione <E0> mano: \"\"\r\n"
        "*InputSlot Lower/Cassetto \xE8 basso: \"\"\r\n"
        "*InputSlot Tray4/Cassetto 4 \xC3\xA8 UTF-8: \"\"\r\n";
    const auto media = readPpdMedia(ppd);
    EXPECT_EQ(media.paperSizes,
              (std::vector<PrinterChoice>{{1, "US Letter"}, {9, "A4"}, {5, "Legal"}}));
    EXPECT_EQ(media.defaultPaperSize, 9);
    EXPECT_EQ(media.trays, (std::vector<PrinterChoice>{{1, "Cassetto superiore"},
                                                       {4, "Alimentazione \xC3\xA0 mano"},
                                                       {2, "Cassetto \xC3\xA8 basso"},
                                                       {260, "Cassetto 4 \xC3\xA8 UTF-8"}}));

    // A default naming no choice is unknown; one written after its choices still counts.
    for (const char* other :
         {"*DefaultPageSize: B5\n*PageSize A4/A4: \"\"\n", "*PageSize A4/A4: \"\"\n", ""})
        EXPECT_EQ(readPpdMedia(other).defaultPaperSize, -1) << other;
    const char* late = "*PageSize A4/A4: \"\"\n*PageSize A5/A5: \"\"\n*DefaultPageSize: A5\n";
    EXPECT_EQ(readPpdMedia(late).defaultPaperSize, 11);
}

TEST(MediaNumbersTest, ChoicesAreNumberedByWhatTheyAreNotWhereTheyStand) {
    struct Case {
        bool trays;
        std::vector<std::string> keywords;
        std::vector<int> expected;
    };
    const std::vector<Case> cases = {
        {true, {"ManualFeed", "LOWER", "top", "Tray4"}, {4, 2, 1, 260}},
        {true, {"auto", "by-pass-tray", "large-capacity", "main", "tray-2"}, {7, 4, 11, 1, 261}},
        {true, {"Upper", "Top"}, {1, 258}},
        {false,
         {"iso_a4_210x297mm", "na_letter_8.5x11in", "na_number-10_4.125x9.5in", "iso-a5",
          "om_small-photo_100x150mm"},
         {9, 1, 20, 11, 261}},
        {false, {"A4.Transverse", "a4", "iso_a4_210x297mm"}, {257, 9, 259}},
        {false,
         {"iso_a4", "na_letter", "na_legal", "jis_b5", "iso_dl", "iso_c5"},
         {9, 1, 5, 13, 27, 28}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.trays ? trayNumbers(c.keywords) : paperNumbers(c.keywords), c.expected)
            << ::testing::PrintToString(c.keywords);
}

TEST(CupsServerAddressTest, PortComesFromTheTextOnlyWhenItEndsInOne) {
    const int ipp = ippPort();
    const std::vector<std::tuple<std::string, std::string, int>> cases = {
        {"/run/cups/cups.sock", "/run/cups/cups.sock", ipp},
        {"stampe:8631", "stampe", 8631},
        {"stampe", "stampe", ipp},
        {"[::1]:632", "[::1]", 632},
        {"stampe:", "stampe:", ipp},
    };
    for (const auto& [server, host, port] : cases) {
        std::pair<std::string, int> address;
        cupsServerAddress(server, address.first, address.second);
        EXPECT_EQ(address, std::pair(host, port)) << server;
    }
}

TEST(LpoptionsTest, DefaultIsTheDefaultLineAndANewOneKeepsEveryPrintersOptions) {
    const std::vector<std::pair<const char*, const char*>> defaults = {
        {"", ""},
        {"Dest Ufficio sides=two-sided-long-edge\n", ""},
        {"Dest Ufficio\nDefault Magazzino media=A4\n", "Magazzino"},
        {"default Magazzino/bozza\n", "Magazzino"},
        {"Default A\r\nDefault B\r\n", "B"},
    };
    for (const auto& [text, expected] : defaults)
        EXPECT_EQ(lpoptionsDefault(text), expected) << text;

    struct Case {
        const char* text;
        const char* name;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"Default Ufficio\n", "Magazzino", "Default Magazzino\n"},
        {"Default Ufficio media=A4\nDest Magazzino sides=one-sided\n", "magazzino",
         "Dest Ufficio media=A4\nDefault Magazzino sides=one-sided\n"},
        {"Dest Magazzino/bozza cpi=12\nDefault Ufficio\n", "Magazzino",
         "Dest Magazzino/bozza cpi=12\nDefault Magazzino\n"},
        {"Default Ufficio media=A4\nDest Magazzino\n", "",
         "Dest Ufficio media=A4\nDest Magazzino\n"},
        {"Default Ufficio\n", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lpoptionsWithDefault(c.text, c.name), c.expected) << c.text << " -> " << c.name;

    // The CUPS system keeps the user's default in the lpoptions file only.
    ScratchFolder folder;
    const auto file = folder.file("home/.cups/lpoptions");
    CupsPrinterSystem system(folder.file("no-server.sock"), file);
    EXPECT_EQ(system.userDefault(), "");
    EXPECT_TRUE(system.setUserDefault("Ufficio"));
    EXPECT_EQ(ScratchFolder::read(file), "Default Ufficio\n");
    EXPECT_EQ(system.defaultPrinter(), "Ufficio");
    EXPECT_FALSE(system.setUserDefault("Uff icio"));
    EXPECT_TRUE(system.setUserDefault(""));
    EXPECT_EQ(system.userDefault(), "");
    EXPECT_EQ(system.defaultPrinter(), "") << "no server to ask";
    EXPECT_TRUE(system.printers().empty());
    EXPECT_TRUE(system.trays("Ufficio").empty());
}

TEST(CurrentPrinterTest, FollowsTheDefaultUntilAPrinterIsChosen) {
    auto memory = std::make_shared<MemoryPrinterSystem>();
    memory->addPrinter({{"Ufficio", "ipp://a", "PS"}, {}, {"A4"}, 1});
    memory->addPrinter({{"Magazzino", "ipp://b", "PCL"}, {}, {"Letter", "Legal"}, 2});
    memory->setServerDefault("ufficio");
    setPrinterSystem(memory);

    EXPECT_EQ(Printer().DeviceName(), "Ufficio");
    memory->setUserDefault("Magazzino");
    EXPECT_EQ(Printer().DeviceName(), "Magazzino");
    EXPECT_EQ(Printer().PaperSize(), 5);

    Printer().choose(*findPrinter(printerSystem(), "UFFICIO"));
    memory->setUserDefault("Magazzino");
    EXPECT_EQ(Printer().DeviceName(), "Ufficio");
    EXPECT_EQ(Printer().Port(), "ipp://a");

    memory->setUserDefault("Sparita");
    Printer().followDefault();
    EXPECT_EQ(Printer().DeviceName(), "");
    EXPECT_EQ(Printer().PaperSize(), -1);

    setPrinterSystem(nullptr);
    EXPECT_TRUE(printerSystem().printers().empty());
}

TEST(CupsQueueAddressTest, ALocalServerIsLocalhostAnOtherKeepsItsHostAndPort) {
    struct Case {
        std::string server;
        std::string name;
        std::string address;
    };
    for (const Case& c : std::vector<Case>{
             {"/run/cups/cups.sock", "Ufficio_A4", "ipp://localhost/printers/Ufficio_A4"},
             {"localhost", "Ufficio", "ipp://localhost/printers/Ufficio"},
             {"127.0.0.1:8631", "Ufficio", "ipp://localhost:8631/printers/Ufficio"},
             {"stampe.ditta.it", "Magazzino", "ipp://stampe.ditta.it/printers/Magazzino"},
             {"stampe.ditta.it:8000", "Magazzino", "ipp://stampe.ditta.it:8000/printers/Magazzino"},
             {"/tmp/s.sock", "Sala riunioni#2", "ipp://localhost/printers/Sala%20riunioni%232"},
         }) {
        EXPECT_EQ(cupsQueueAddress(c.server, c.name), c.address) << c.server << " " << c.name;
    }
}

// Queues added with lpadmin from PPDs written here, and one without.
const std::vector<testing::PpdSize> kSizes = {
    {"Letter", "US Letter", 612, 792}, {"A4", "A4", 595, 842}, {"A5", "A5 ridotto", 420, 595}};

class CupsPrinterSystemServer : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        cups_ = new PrivateCups;
        const auto failure = cups_->start();
        if (!failure.empty()) {
            startFailure_ = failure;
            return;
        }
        const auto ufficio = cups_->folder().write(
            "ufficio.ppd", testing::testPpd("Tolvane Ufficio", kSizes, "A4",
                                            {{"Upper", "Cassetto superiore"},
                                             {"Lower", "Cassetto inferiore"},
                                             {"Manual", "Alimentazione manuale"}}));
        const auto magazzino = cups_->folder().write(
            "magazzino.ppd", testing::testPpd("Tolvane Magazzino", kSizes, "Letter", {}));
        const std::vector<std::vector<std::string>> commands = {
            {"lpadmin", "-p", "Ufficio", "-E", "-v", "file:///dev/null", "-P", ufficio},
            {"lpadmin", "-p", "Magazzino", "-E", "-v", "file:///dev/null", "-P", magazzino},
            {"lpadmin", "-p", "Grezza", "-E", "-v", "file:///dev/null"},
            {"lpadmin", "-d", "Ufficio"},
        };
        for (const auto& command : commands) {
            std::string out;
            if (cups_->run(command, out) != 0) {
                startFailure_ = command[0] + " " + command[1] + " " + command[2] +
                                " failed: " + out + "\n" + cups_->log();
                return;
            }
        }
    }
    static void TearDownTestSuite() {
        delete cups_;
        cups_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(startFailure_.empty()) << startFailure_;
        std::filesystem::remove(cups_->lpoptions());
    }

    CupsPrinterSystem system() const {
        return CupsPrinterSystem(cups_->socket(), cups_->lpoptions());
    }

    static PrivateCups* cups_;
    static std::string startFailure_;
};

PrivateCups* CupsPrinterSystemServer::cups_ = nullptr;
std::string CupsPrinterSystemServer::startFailure_;

TEST_F(CupsPrinterSystemServer, QueuesAreListedWithTheirOwnAddressDeviceUriAndMakeAndModel) {
    auto cups = system();
    auto printers = cups.printers();
    ASSERT_EQ(printers.size(), 3u) << cups_->log();
    EXPECT_EQ(printers[0].name, "Grezza");
    EXPECT_EQ(printers[1].name, "Magazzino");
    EXPECT_EQ(printers[2].name, "Ufficio");
    EXPECT_EQ(printers[2].port, "ipp://localhost/printers/Ufficio");
    EXPECT_EQ(printers[2].device, "file:///dev/null");
    EXPECT_EQ(printers[2].driver, "Tolvane Ufficio, 1.0");
    // Three queues on one device: each port names one queue, the device all three.
    for (const auto& printer : printers) {
        const auto found = printersAt(cups, printer.port);
        ASSERT_EQ(found.size(), 1u) << printer.port;
        EXPECT_EQ(found[0].name, printer.name);
    }
    EXPECT_EQ(printersAt(cups, "file:///dev/null").size(), 3u);
}

TEST_F(CupsPrinterSystemServer, TraysPaperSizesAndTheirJobOptionsComeFromTheQueuesPpd) {
    auto cups = system();
    EXPECT_EQ(cups.trays("Ufficio"), (std::vector<PrinterChoice>{{1, "Cassetto superiore"},
                                                                 {2, "Cassetto inferiore"},
                                                                 {4, "Alimentazione manuale"}}));
    const std::vector<PrinterChoice> sizes = {{1, "US Letter"}, {9, "A4"}, {11, "A5 ridotto"}};
    EXPECT_EQ(cups.paperSizes("Ufficio"), sizes);
    EXPECT_EQ(cups.defaultPaperSize("Ufficio"), 9);
    EXPECT_TRUE(cups.trays("Magazzino").empty());
    EXPECT_EQ(cups.paperSizes("Magazzino"), sizes);
    EXPECT_EQ(cups.defaultPaperSize("Magazzino"), 1);
    EXPECT_TRUE(cups.paperSizes("Grezza").empty()) << "no PPD and no media of its own";
    EXPECT_TRUE(cups.trays("Sparita").empty());
    EXPECT_TRUE(cups.paperSizes("Sparita").empty());
    EXPECT_EQ(cups.defaultPaperSize("Sparita"), -1);

    using Options = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(cups.mediaOptions("Ufficio", 2, 11),
              (Options{{"InputSlot", "Lower"}, {"PageSize", "A5"}}));
    EXPECT_EQ(cups.mediaOptions("ufficio", 0, 1), (Options{{"PageSize", "Letter"}}));
    EXPECT_EQ(cups.mediaOptions("Ufficio", 3, 0), Options{}) << "a tray the printer lacks";
    EXPECT_EQ(cups.mediaOptions("Magazzino", 1, 0), Options{}) << "no trays at all";
    EXPECT_EQ(cups.mediaOptions("Sparita", 1, 1), Options{});
}

TEST_F(CupsPrinterSystemServer, UserDefaultOverridesTheServersWithoutChangingIt) {
    auto cups = system();
    EXPECT_EQ(cups.defaultPrinter(), "Ufficio");
    EXPECT_EQ(cups.userDefault(), "");

    ASSERT_TRUE(cups.setUserDefault("Magazzino"));
    EXPECT_EQ(cups.defaultPrinter(), "Magazzino");
    std::string out;
    EXPECT_EQ(cups_->run({"lpstat", "-d"}, out), 0);
    EXPECT_EQ(out, "system default destination: Magazzino\n") << "the CUPS clients agree";

    ASSERT_TRUE(cups.setUserDefault(""));
    EXPECT_EQ(cups.defaultPrinter(), "Ufficio") << "the server's default was left alone";
    EXPECT_EQ(cups_->run({"lpstat", "-d"}, out), 0);
    EXPECT_EQ(out, "system default destination: Ufficio\n");

    // A user default naming a removed queue is still the default.
    ASSERT_TRUE(cups.setUserDefault("Sparita"));
    EXPECT_EQ(cups.defaultPrinter(), "Sparita");
    EXPECT_EQ(findPrinter(cups, "Sparita"), nullptr);
    EXPECT_NE(findPrinter(cups, "ufficio"), nullptr);
}

}  // namespace
}  // namespace tolvane

// Tests of the printer system against a real, private CUPS scheduler: queues added with lpadmin
// from PPDs written here and one without.
// Never talks to the machine's own print server and never touches the user's lpoptions.
#include "platform/cups_printer_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/private_cups.h"
#include "support/test_ppd.h"

namespace tolvane {
namespace {

using testing::PrivateCups;

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

TEST_F(CupsPrinterSystemServer, QueuesAreListedWithDeviceUriAndMakeAndModel) {
    auto printers = system().printers();
    ASSERT_EQ(printers.size(), 3u) << cups_->log();
    EXPECT_EQ(printers[0].name, "Grezza");
    EXPECT_EQ(printers[1].name, "Magazzino");
    EXPECT_EQ(printers[2].name, "Ufficio");
    EXPECT_EQ(printers[2].port, "file:///dev/null");
    EXPECT_EQ(printers[2].driver, "Tolvane Ufficio, 1.0");
    EXPECT_EQ(printers[1].driver, "Tolvane Magazzino, 1.0");
}

TEST_F(CupsPrinterSystemServer, TraysAndPaperSizesComeFromTheQueuesPpd) {
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
}

TEST_F(CupsPrinterSystemServer, MediaOptionsNameTheChosenPpdKeywords) {
    auto cups = system();
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
}

TEST_F(CupsPrinterSystemServer, UserDefaultNamingARemovedQueueIsStillTheDefault) {
    auto cups = system();
    ASSERT_TRUE(cups.setUserDefault("Sparita"));
    EXPECT_EQ(cups.defaultPrinter(), "Sparita");
    EXPECT_EQ(findPrinter(cups, "Sparita"), nullptr);
    EXPECT_NE(findPrinter(cups, "ufficio"), nullptr);
}

}  // namespace
}  // namespace tolvane

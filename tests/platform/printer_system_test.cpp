// Tests of the printer system's own rules: trays and paper sizes read from a PPD, the per-user
// default in an lpoptions text, and the current printer that follows the default until chosen.
#include "platform/printer_system.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/cups_printer_system.h"
#include "platform/memory_printer_system.h"
#include "platform/printer_media.h"
#include "support/scratch_folder.h"

namespace tolvane {
namespace {

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
}

TEST(MediaNumbersTest, ChoicesAreNumberedByWhatTheyAreNotWhereTheyStand) {
    struct Case {
        bool trays;
        std::vector<std::string> keywords;
        std::vector<int> expected;
    };
    const std::vector<Case> cases = {
        {true, {"Upper", "Lower", "Middle", "Manual"}, {1, 2, 3, 4}},
        {true, {"ManualFeed", "LOWER", "top", "Tray4"}, {4, 2, 1, 260}},
        {true, {"EnvManual", "Envelope", "AutoSelect", "Tractor", "Cassette"}, {6, 5, 7, 8, 14}},
        {true, {"SmallFormat", "LargeFormat", "LargeCapacity", "FormSource"}, {9, 10, 11, 15}},
        {true, {"auto", "by-pass-tray", "large-capacity", "main", "tray-2"}, {7, 4, 11, 1, 261}},
        {true, {"Upper", "Top"}, {1, 258}},
        {false, {"A4", "Letter", "Legal", "Executive", "A3", "A5"}, {9, 1, 5, 7, 8, 11}},
        {false, {"B5", "B4", "Env10", "EnvDL", "EnvC5", "ISOB5"}, {13, 12, 20, 27, 28, 262}},
        {false,
         {"iso_a4_210x297mm", "na_letter_8.5x11in", "na_number-10_4.125x9.5in", "iso-a5",
          "om_small-photo_100x150mm"},
         {9, 1, 20, 11, 261}},
        {false, {"A4.Transverse", "a4", "iso_a4_210x297mm"}, {257, 9, 259}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.trays ? trayNumbers(c.keywords) : paperNumbers(c.keywords), c.expected)
            << ::testing::PrintToString(c.keywords);
    }
}

TEST(PpdMediaTest, DefaultPaperSizeNamingNoChoiceIsUnknown) {
    struct Case {
        const char* ppd;
        int expected;
    };
    const std::vector<Case> cases = {
        {"*DefaultPageSize: B5\n*PageSize A4/A4: \"\"\n", -1},
        {"*PageSize A4/A4: \"\"\n", -1},
        {"*PageSize A4/A4: \"\"\n*PageSize A5/A5: \"\"\n*DefaultPageSize: A5\n", 11},
        {"", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readPpdMedia(c.ppd).defaultPaperSize, c.expected) << c.ppd;
}

TEST(CupsServerAddressTest, PortComesFromTheTextOnlyWhenItEndsInOne) {
    struct Case {
        std::string server;
        std::string host;
        int port;
    };
    const int ipp = ippPort();
    for (const Case& c : std::vector<Case>{{"/run/cups/cups.sock", "/run/cups/cups.sock", ipp},
                                           {"stampe:8631", "stampe", 8631},
                                           {"stampe", "stampe", ipp},
                                           {"[::1]:632", "[::1]", 632},
                                           {"stampe:", "stampe:", ipp}}) {
        std::string host;
        int port = 0;
        cupsServerAddress(c.server, host, port);
        EXPECT_EQ(host, c.host) << c.server;
        EXPECT_EQ(port, c.port) << c.server;
    }
}

TEST(LpoptionsTest, DefaultIsTheNameOfTheDefaultLine) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"", ""},
        {"Dest Ufficio sides=two-sided-long-edge\n", ""},
        {"Dest Ufficio\nDefault Magazzino media=A4\n", "Magazzino"},
        {"default Magazzino/bozza\n", "Magazzino"},
        {"Default A\r\nDefault B\r\n", "B"},
    };
    for (const auto& c : cases) EXPECT_EQ(lpoptionsDefault(c.text), c.expected) << c.text;
}

TEST(LpoptionsTest, NewDefaultKeepsEveryPrintersOptions) {
    struct Case {
        const char* text;
        const char* name;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"", "Ufficio", "Default Ufficio\n"},
        {"Default Ufficio\n", "Magazzino", "Default Magazzino\n"},
        {"Default Ufficio media=A4\nDest Magazzino sides=one-sided\n", "magazzino",
         "Dest Ufficio media=A4\nDefault Magazzino sides=one-sided\n"},
        {"Dest Magazzino/bozza cpi=12\nDefault Ufficio\n", "Magazzino",
         "Dest Magazzino/bozza cpi=12\nDefault Magazzino\n"},
        {"Default Magazzino/bozza cpi=12\n", "Magazzino",
         "Dest Magazzino/bozza cpi=12\nDefault Magazzino\n"},
        {"Default Ufficio media=A4\nDest Magazzino\n", "",
         "Dest Ufficio media=A4\nDest Magazzino\n"},
        {"Default Ufficio\n", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lpoptionsWithDefault(c.text, c.name), c.expected) << c.text << " -> " << c.name;
    }
}

TEST(CupsPrinterSystemTest, UserDefaultIsStoredInTheLpoptionsFileOnly) {
    testing::ScratchFolder folder;
    const auto file = folder.file("home/.cups/lpoptions");
    CupsPrinterSystem system(folder.file("no-server.sock"), file);

    EXPECT_EQ(system.userDefault(), "");
    EXPECT_TRUE(system.setUserDefault("Ufficio"));
    EXPECT_EQ(testing::ScratchFolder::read(file), "Default Ufficio\n");
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

}  // namespace
}  // namespace tolvane

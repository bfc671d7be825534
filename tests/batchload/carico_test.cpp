// What a folder of cases cannot show: hostile and unusual input files through a whole load (an
// over-long or endless line, UTF-8 and NUL bytes, numbers outside the date range), fixed positions
// counted in characters, the input path completed from the load folder or drive, and the pace at
// which the progress object lets window events through.
#include <sys/resource.h>

#include "batch_fixture.h"
#include "platform/text_file_reader.h"

namespace tolvane::batchtest {
namespace {

class InputLimitsTest : public BatchTest {
  protected:
    void SetUp() override {
        BatchTest::SetUp();
        layout(
            "IN",
            {{"Tabella", "Prova"}, {"Modalita", "1"}, {"InsVaria", "I"}, {"Separatore", "\\059"}});
        field("IN", "Codice", {{"NumCampo", "1"}});
        field("IN", "Descr", {{"NumCampo", "2"}});
        field("IN", "Data", {{"NumCampo", "3"}, {"TipoDest", "Double"}});
    }
    static long peakKb() {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss;
    }
};

TEST_F(InputLimitsTest, OverLongLineIsRejectedWithItsStartAndSkippedInBoundedMemory) {
    constexpr std::size_t kSize = 48u << 20;
    {
        std::ofstream out(folder / "IN.txt", std::ios::binary);
        out << "A;Alfa\r\n";
        const std::string chunk(1 << 20, 'x');
        for (std::size_t i = 0; i < kSize / chunk.size(); ++i) out << chunk;
        out << "\r\nB;Beta\r\n";
    }
    const long before = peakKb();
    EXPECT_EQ(load("IN"), 0);
    EXPECT_LT(peakKb() - before, 24 * 1024) << "peak memory grew with the line";
    EXPECT_EQ(rows("SELECT Codice FROM Prova ORDER BY Codice"), (Rows{{"A"}, {"B"}}));
    EXPECT_EQ(
        rows("SELECT Riga = '" + std::string(TextFileReader::kCutLineKeeps, 'x') +
             "', Errore FROM ErroriCaricamento"),
        (Rows{{"1",
               "Riga troppo lunga (oltre 1 MB): non caricata, qui ne restano solo i primi 1000 "
               "caratteri"}}));
    EXPECT_EQ(errors, 1);
}

// Fault: skipping the rest of an over-long line never looked at the stop button, so a file
// without line ends from an endless source held the window for good.
TEST_F(InputLimitsTest, StopEndsTheSkipOfAnEndlessLine) {
    std::filesystem::create_symlink("/dev/zero", folder / "IN.txt");
    auto now = std::chrono::steady_clock::time_point{};
    progress.setClock([&] { return now += std::chrono::milliseconds(60); });
    int pumps = 0;
    progress.eventPump = [&] {
        if (progress.phaseText() == "Caricamento IN" && ++pumps == 20) giStatoCarica = 2;
    };
    EXPECT_EQ(load("IN"), 0);
    EXPECT_EQ(one("SELECT COUNT(*) FROM ErroriCaricamento WHERE Tabella = 'IN'"), "1");
    EXPECT_EQ(one("SELECT COUNT(*) FROM Prova"), "0");
}

TEST_F(InputLimitsTest, Utf8LinesReadAsUtf8AndNulIsAControlCharacter) {
    const struct {
        const char* rule;
        std::string bytes;
        const char* soloAsci;
        std::string expectedHex;  // of Descr as stored
    } cases[] = {
        {"UTF-8 without a mark", "A;perché\r\n", "", "7065726368C3A9"},
        {"UTF-8 with a mark", "\uFEFFA;perché\r\n", "", "7065726368C3A9"},
        {"Windows-1252 stays", "A;perch\351\r\n", "", "7065726368C3A9"},
        {"NUL kept", std::string("A;x\0y\r\n", 7), "", "780079"},
        {"NUL a blank with SoloAsci", std::string("A;x\0y\r\n", 7), "S", "782079"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        company("DELETE FROM Prova");
        scratch.write("IN.txt", c.bytes);
        gsSoloAsci = c.soloAsci;
        EXPECT_EQ(load("IN"), 0);
        EXPECT_EQ(one("SELECT hex(Descr) FROM Prova"), c.expectedHex);
    }
}

TEST_F(InputLimitsTest, NumbersOutsideTheDateRangeRejectTheLine) {
    scratch.write("IN.txt",
                  "A;a;45000\r\nB;b;2958465\r\nC;c;2958466\r\nD;d;-657435\r\nE;e;-657434\r\n");
    EXPECT_EQ(load("IN"), 0);
    EXPECT_EQ(rows("SELECT Codice, Data FROM Prova ORDER BY Codice"),
              (Rows{{"A", "2023-03-15"}, {"B", "9999-12-31"}, {"E", "0100-01-01"}}));
    EXPECT_EQ(rows("SELECT Errore FROM ErroriCaricamento ORDER BY Id"),
              (Rows{{"Overflow: campo Prova.Data"}, {"Overflow: campo Prova.Data"}}));
}

TEST_F(BatchTest, FixedPositionsCountCharactersNotBytes) {
    layout("FIX", {{"Tabella", "Prova"}, {"Modalita", "1"}, {"InsVaria", "I"}, {"Tipo", "F"}});
    field("FIX", "Descr", {{"Inizio", "3"}, {"Lunghezza", "3"}});
    ASSERT_EQ(loader->LeggiTracciato("FIX"), 0);
    const struct {
        std::string line, expected;
    } cases[] = {
        {"èé123x", "123"}, {"ab€cd", "€cd"}, {"àbc", "c"}, {"àb", ""}, {"ab\377cd", "\377cd"}};
    for (const auto& c : cases) {
        Variant value;
        ASSERT_EQ(loader->LeggiVal(c.line, *loader->campo("Prova.Descr"), value, 1), 0) << c.line;
        EXPECT_EQ(value.text(), c.expected) << c.line;
    }
}

TEST_F(BatchTest, InputPathIsCompletedFromFolderOrDrive) {
    const struct {
        std::string dir, drive, file, expected;
    } cases[] = {
        {"C:\\Dati", "D:", "a.txt", "C:\\Dati\\a.txt"},
        {"C:\\Dati\\", "D:", "a.txt", "C:\\Dati\\a.txt"},
        {"C:\\Dati", "D:", "\\\\srv\\x.txt", "\\\\srv\\x.txt"},
        {"C:\\Dati", "D:", "E:\\x.txt", "E:\\x.txt"},
        {"C:\\Dati", "D:", "\\x.txt", "D:\\x.txt"},
        {"/home/dati", "/", "a.txt", "/home/dati/a.txt"},
        {"/home/dati", "/", "/tmp/a.txt", "/tmp/a.txt"},
    };
    for (const auto& c : cases) {
        gsDirCarica = c.dir;
        gsDriveCarica = c.drive;
        EXPECT_EQ(loader->CaricaPathCompleta(c.file), c.expected) << c.dir << " + " << c.file;
    }
}

// The display is handed over just before the pump, and only with something new to show; what
// changed after the last tick is shown when asked, once.
TEST(ProgressoElabTest, EventsAndDisplayGoThroughAtMostEvery50Ms) {
    ProgressoElab progress;
    long pumped = 0;
    std::vector<long> shown;  // the value at each showing
    progress.eventPump = [&] { ++pumped; };
    progress.showDisplay = [&](const ProgressoElab& p) { shown.push_back(p.value()); };
    auto now = std::chrono::steady_clock::time_point{};
    progress.setClock([&] { return now; });
    const struct {
        int advanceMs;
        bool events;
        long expectedPumps;
        std::vector<long> expectedShown;
    } steps[] = {{0, true, 1, {1}},       {10, true, 1, {1}},      {39, true, 1, {1}},
                 {1, true, 2, {1, 4}},    {100, false, 2, {1, 4}}, {0, true, 3, {1, 4, 6}},
                 {10, true, 3, {1, 4, 6}}};
    long value = 0;
    for (const auto& s : steps) {
        now += std::chrono::milliseconds(s.advanceMs);
        progress.AvanzaElab(++value, std::nullopt, s.events);
        EXPECT_EQ(pumped, s.expectedPumps) << "after +" << s.advanceMs << " ms";
        EXPECT_EQ(shown, s.expectedShown) << "after +" << s.advanceMs << " ms";
    }
    progress.showPending();
    progress.showPending();
    EXPECT_EQ(shown, (std::vector<long>{1, 4, 6, 7}));
    progress.setShareRead(0.5);
    progress.showPending();
    EXPECT_EQ(shown.size(), 5u) << "a new share read is something to show";
}

}  // namespace
}  // namespace tolvane::batchtest

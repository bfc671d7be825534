// What a folder of cases cannot show: a stop between lines, and the completion of the input
// path from the load folder or drive.
#include "batch_fixture.h"

namespace tolvane::batchtest {
namespace {

TEST_F(BatchTest, StopBetweenLinesKeepsWhatRanAndSkipsFinalQueries) {
    layout("STOP", {{"Tabella", "Prova"},
                    {"Separatore", "\\059"},
                    {"Modalita", "0"},
                    {"InsVaria", "I"},
                    {"QueryFin1", "Delete From Prova"}});
    field("STOP", "Codice", {{"NumCampo", "1"}});
    input("STOP.txt", {"A", "B", "C", "D"});
    auto now = std::chrono::steady_clock::time_point{};
    progress.setClock([&] { return now += std::chrono::milliseconds(60); });
    progress.eventPump = [&] {
        if (progress.phaseText() == "Caricamento STOP" && progress.value() == 2) giStatoCarica = 2;
    };
    EXPECT_EQ(load("STOP"), 0);
    EXPECT_EQ(one("SELECT group_concat(Codice) FROM Prova"), "A,B");
    EXPECT_FALSE(sqlite3_get_autocommit(goDbase().connection(companyId).db) == 0)
        << "all committed";
}

// Fault: skipping the rest of an over-long line never looked at the stop button, so a file
// without line ends from an endless source held the window for good.
TEST_F(BatchTest, StopEndsTheSkipOfAnEndlessLine) {
    layout("ZERO", {{"Tabella", "Prova"}, {"Separatore", "\\059"}, {"InsVaria", "I"}});
    field("ZERO", "Codice", {{"NumCampo", "1"}});
    std::filesystem::create_symlink("/dev/zero", folder / "ZERO.txt");
    auto now = std::chrono::steady_clock::time_point{};
    progress.setClock([&] { return now += std::chrono::milliseconds(60); });
    int pumps = 0;
    progress.eventPump = [&] {
        if (progress.phaseText() == "Caricamento ZERO" && ++pumps == 20) giStatoCarica = 2;
    };
    EXPECT_EQ(load("ZERO"), 0);
    EXPECT_EQ(one("SELECT COUNT(*) FROM ErroriCaricamento WHERE Tabella = 'ZERO'"), "1");
    EXPECT_EQ(one("SELECT COUNT(*) FROM Prova"), "0");
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

}  // namespace
}  // namespace tolvane::batchtest

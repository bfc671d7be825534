// A load into two tables killed at a chosen write of the database files, and at seeded random
// ones: the file stays sound, every line is whole or absent, and a rerun completes the load.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <set>
#include <tuple>

#include "batch_fixture.h"
#include "support/scratch_folder.h"

namespace tolvane::batchtest {
namespace {

// Writes of the database files made in this process; at the chosen one it is killed.
long gWrites = 0;
long gKillAt = 0;
sqlite3_syscall_ptr gWrite = nullptr, gPwrite = nullptr, gPwrite64 = nullptr;

// A write through the real call kept in its slot; the pwrite calls add their file offset.
template <sqlite3_syscall_ptr* real, typename... Offset>
ssize_t countedWrite(int fd, const void* p, size_t n, Offset... at) {
    if (++gWrites == gKillAt) raise(SIGKILL);
    using Call = ssize_t (*)(int, const void*, size_t, Offset...);
    return reinterpret_cast<Call>(*real)(fd, p, n, at...);
}

void watchWrites(long killAt) {
    gKillAt = killAt;
    sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    const std::tuple<const char*, sqlite3_syscall_ptr*, sqlite3_syscall_ptr> calls[] = {
        {"write", &gWrite, reinterpret_cast<sqlite3_syscall_ptr>(countedWrite<&gWrite>)},
        {"pwrite", &gPwrite, reinterpret_cast<sqlite3_syscall_ptr>(countedWrite<&gPwrite, off_t>)},
        {"pwrite64", &gPwrite64,
         reinterpret_cast<sqlite3_syscall_ptr>(countedWrite<&gPwrite64, off_t>)},
    };
    for (const auto& [name, real, counted] : calls) {
        *real = vfs->xGetSystemCall(vfs, name);
        if (*real) vfs->xSetSystemCall(vfs, name, counted);
    }
}

// What one line leaves in the database: its rows in Prova and Righe and its error rows.
using Trace = std::array<int, 3>;

class CrashTest : public BatchTest {
  protected:
    static constexpr int kLines = 300;

    void SetUp() override {
        BatchTest::SetUp();
        layout("CR", {{"Tabella", "Prova"},
                      {"Tabella2", "Righe"},
                      {"CodTab2", "R"},
                      {"Modalita", "0"},
                      {"InsVaria", "V"},
                      {"Separatore", "\\059"}});
        field("CR", "Codice", {{"NumCampo", "K1"}});
        field("CR", "Descr", {{"NumCampo", "2"}});
        field("CR", "Num", {{"NumCampo", "3"}, {"TipoDest", "Long"}});
        field("CR", "R Codice", {{"NumCampo", "K1"}});
        field("CR", "R Riga", {{"NumCampo", "K4"}, {"TipoDest", "Long"}});
        field("CR", "R Testo", {{"NumCampo", "5"}});
        // Every 7th line is refused whole; every 11th has no key for Righe and stores Prova only.
        for (int i = 0; i < kLines; ++i) {
            const std::string n = std::to_string(i);
            lines.push_back("C" + n + ";Riga " + n + ";" + (i % 7 == 3 ? "tre" : n) + ";" +
                            (i % 11 == 5 ? "" : "1") + ";Testo " + n);
        }
        input("CR.txt", lines);
        commonFile = scratch.file("comune.db");
        pristine = folder / "ditta.db";
        goDbase().ChiudiConnessione(companyId);
        goDbase().ChiudiConnessione(commonId);
        expected = trial(0);
        ASSERT_EQ(expected.size(), static_cast<std::size_t>(kLines));
        ASSERT_GT(totalWrites, 10);
    }

    // Loads a copy of the company database in a child killed at write killAt (0: never);
    // what the lines left there afterwards.
    std::vector<Trace> trial(long killAt, bool rerun = false) {
        const std::filesystem::path file = folder / "prova.db";
        if (!rerun) {
            for (const char* suffix : {"", "-wal", "-shm"})
                std::filesystem::remove(file.string() + suffix);
            std::filesystem::copy_file(pristine, file);
        }
        const std::filesystem::path count = folder / "writes";
        const pid_t child = fork();
        if (child == 0) {
            watchWrites(killAt);
            gsConnDbMenu = goDbase().ApriConnessione(commonFile);
            gsIdDbase = goDbase().ApriConnessione(file.string(), "", "", {.wal = true});
            ScCarica load;
            load.setCommitEvery(5);
            long errorCount = 0;
            const bool ok = load.LeggiTracciato("CR") == 0 && load.CaricaDati(errorCount) == 0;
            goDbase().ChiudiConnessione(gsIdDbase);
            // Past the last write of the database: nothing below is counted or killed.
            std::ofstream(count) << gWrites;
            _exit(ok ? 0 : 2);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (killAt == 0 || !WIFSIGNALED(status)) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "load failed";
        }
        if (killAt == 0) totalWrites = std::stol(testing::ScratchFolder::read(count.string()));
        return traces(file);
    }

    std::vector<Trace> traces(const std::filesystem::path& file) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        auto keys = [db](const std::string& sql) {
            std::multiset<std::string> out;
            for (const auto& row : dbtest::rowsOf(db, sql)) out.insert(row[0]);
            return out;
        };
        EXPECT_EQ(dbtest::rowsOf(db, "PRAGMA integrity_check"), Rows{{"ok"}});
        const auto prova = keys("SELECT Codice FROM Prova");
        const auto righe = keys("SELECT Codice FROM Righe");
        const auto errori = keys("SELECT Riga FROM ErroriCaricamento");
        sqlite3_close(db);
        std::vector<Trace> out;
        for (int i = 0; i < kLines; ++i) {
            const std::string key = "C" + std::to_string(i);
            out.push_back({static_cast<int>(prova.count(key)), static_cast<int>(righe.count(key)),
                           static_cast<int>(errori.count(lines[static_cast<std::size_t>(i)]))});
        }
        return out;
    }

    // Lines whole up to some point, absent after it; the failure names the first line that is not.
    void expectWholePrefix(const std::vector<Trace>& got, long killAt) {
        std::size_t i = 0;
        while (i < got.size() && got[i] == expected[i]) ++i;
        const std::size_t prefix = i;
        for (; i < got.size(); ++i) {
            if (got[i] == Trace{}) continue;
            ADD_FAILURE() << "killed at write " << killAt << ": line " << i << " holds "
                          << got[i][0] << "/" << got[i][1] << "/" << got[i][2]
                          << " rows, whole it holds " << expected[i][0] << "/" << expected[i][1]
                          << "/" << expected[i][2] << " (lines before " << prefix << " whole)";
            return;
        }
    }

    std::vector<std::string> lines;
    std::string commonFile;
    std::filesystem::path pristine;
    std::vector<Trace> expected;
    long totalWrites = 0;
};

TEST_F(CrashTest, KilledLoadKeepsWholeLinesAndARerunCompletesIt) {
    std::vector<long> killPoints = {1, 2, totalWrites / 2, totalWrites - 1};
    std::mt19937 random(20261207);
    for (int k = 0; k < 16; ++k)
        killPoints.push_back(std::uniform_int_distribution<long>(1, totalWrites - 1)(random));
    for (const long killAt : killPoints) {
        expectWholePrefix(trial(killAt), killAt);
        EXPECT_EQ(trial(0, true), expected) << "rerun after the kill at write " << killAt;
    }
}

}  // namespace
}  // namespace tolvane::batchtest

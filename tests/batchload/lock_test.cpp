// A load beside another program that writes the same company database, on a second connection
// (with a thread of its own where it acts while the load waits): the lock it takes at a line is
// waited for, tried once more, or stops the load there with its message; a writer that commits all
// the time loses no line of the load.
#include <atomic>
#include <thread>

#include "batch_fixture.h"
#include "support/other_process.h"

namespace tolvane::batchtest {
namespace {

// Another program's connection to the company file. Its statements run on the calling thread,
// or, with execLater, on a thread of its own while the load waits on the calling one.
class OtherProgram {
  public:
    explicit OtherProgram(const std::string& file) {
        if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("open " + file);
        sqlite3_busy_timeout(db_, 10000);
    }
    ~OtherProgram() {
        if (later_.joinable()) later_.join();
        sqlite3_close(db_);
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    void exec(const std::string& sql) {
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            ADD_FAILURE() << sqlite3_errmsg(db_) << " in: " << sql;
    }
    void execLater(std::chrono::milliseconds pause, const std::string& sql) {
        later_ = std::thread([this, pause, sql] {
            std::this_thread::sleep_for(pause);
            exec(sql);
        });
    }
    sqlite3* db() const { return db_; }

  private:
    sqlite3* db_ = nullptr;
    std::thread later_;
};

const std::string kWaiting = "In attesa dei dati bloccati da un altro programma";

class LockTest : public BatchTest {
  protected:
    void SetUp() override {
        BatchTest::SetUp();
        savedWait = goDbase().busyWait();
        for (int i = 1; i <= 20; ++i) {
            char code[8];
            std::snprintf(code, sizeof code, "L%02d", i);
            lines.push_back(std::string(code) + ";Riga " + std::to_string(i) + ";" +
                            std::to_string(i));
        }
    }
    void TearDown() override {
        goDbase().setBusyWait(savedWait);
        BatchTest::TearDown();
    }

    void keyedLayout(const std::string& code, const std::string& insVaria) {
        layout(code, {{"Tabella", "Prova"},
                      {"Modalita", "0"},
                      {"InsVaria", insVaria},
                      {"Separatore", "\\059"}});
        field(code, "Codice", {{"NumCampo", "K1"}});
        field(code, "Descr", {{"NumCampo", "2"}});
        field(code, "Num", {{"NumCampo", "3"}, {"TipoDest", "Long"}});
    }
    // A loader of its own for each run, as the batch window makes one per layout.
    ScCarica& newLoader() {
        loader = std::make_unique<ScCarica>();
        loader->ogInElab = &progress;
        return *loader;
    }
    long run(const std::string& code) {
        newLoader().setCommitEvery(1);
        loader->setLockRetryPause(std::chrono::milliseconds(0));
        return load(code);
    }
    // The load said nothing (line 0), or only that another program's lock stopped it at the line.
    void expectStopMessage(int line) const {
        if (line == 0) {
            EXPECT_TRUE(messages.empty()) << messages.front();
            return;
        }
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].rfind("I dati da aggiornare sono bloccati da un altro programma.\n"
                                    "Caricamento fermato alla riga " +
                                        std::to_string(line) + " del file ",
                                    0),
                  0u)
            << messages[0];
    }
    std::vector<std::string> stored() const {
        std::vector<std::string> out;
        for (const auto& r : rows("SELECT Codice FROM Prova ORDER BY Codice")) out.push_back(r[0]);
        return out;
    }

    std::chrono::milliseconds savedWait{};
    std::vector<std::string> lines;
    const std::string companyFile = scratch.file("ditta.db");
};

// The other program takes the write lock as line 5 is about to start (every line is committed
// by itself, so the lock is free there) and lets it go while the load waits in the database's
// busy wait, while it pauses before its second try, or only after the load has ended; or the
// user stops the load during that pause. A load that stopped short is run again once the other
// program has let go, and completes.
TEST_F(LockTest, LockTakenAtALineIsWaitedForOrStopsTheLoadThere) {
    enum class Release { DuringTheWait, BeforeTheSecondTry, AfterTheLoad, UserStops };
    const struct {
        const char* name;
        const char* insVaria;
        Release release;
        long result;
        std::size_t stored;  // when the load returns
        bool message;
    } cases[] = {
        {"keyed, brief lock", "V", Release::DuringTheWait, 0, 20, false},
        {"insert only, brief lock", "I", Release::DuringTheWait, 0, 20, false},
        {"keyed, lock past the first wait", "V", Release::BeforeTheSecondTry, 0, 20, false},
        {"insert only, lock past the first wait", "I", Release::BeforeTheSecondTry, 0, 20, false},
        {"keyed, lock held beyond both waits", "V", Release::AfterTheLoad, errnum::RecordLocked, 4,
         true},
        {"insert only, lock held beyond both waits", "I", Release::AfterTheLoad,
         errnum::RecordLocked, 4, true},
        {"keyed, stop asked while waiting", "V", Release::UserStops, 0, 4, false},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string code = "K" + std::to_string(++n);
        keyedLayout(code, c.insVaria);
        input(code + ".txt", lines);
        company("DELETE FROM Prova");
        messages.clear();
        // A brief lock is let go long before the wait ends; the others outlast a short one.
        goDbase().setBusyWait(
            std::chrono::milliseconds(c.release == Release::DuringTheWait ? 30000 : 50));
        OtherProgram other(companyFile);
        bool taken = false, released = false;
        progress.displayChanged = [&](const ProgressoElab& p) {
            if (!taken && p.phaseText() == "Caricamento " + code && p.value() == 4) {
                taken = true;
                other.exec("BEGIN IMMEDIATE");
                if (c.release == Release::DuringTheWait)
                    other.execLater(std::chrono::milliseconds(20), "ROLLBACK");
            }
            if (p.phaseText() != kWaiting) return;
            if (c.release == Release::UserStops) giStatoCarica = 2;
            if (c.release == Release::BeforeTheSecondTry && !released) {
                released = true;
                other.exec("ROLLBACK");
            }
        };
        const long result = run(code);
        progress.displayChanged = nullptr;
        if (c.release == Release::AfterTheLoad || c.release == Release::UserStops)
            other.exec("ROLLBACK");
        giStatoCarica = 1;
        EXPECT_TRUE(taken);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(stored().size(), c.stored) << "the lines before the stop whole, none after it";
        EXPECT_EQ(loader->linesLoaded(), static_cast<long>(c.stored));
        EXPECT_EQ(loader->stoppedByUser(), c.release == Release::UserStops);
        expectStopMessage(c.message ? 5 : 0);
        if (c.stored < 20) {
            EXPECT_EQ(run(code), 0) << "a rerun goes on";
            EXPECT_EQ(stored().size(), 20u);
        }
        EXPECT_EQ(one("SELECT count(*) FROM ErroriCaricamento"), "0");
        EXPECT_EQ(rows("SELECT Descr, Num FROM Prova WHERE Codice = 'L05'"),
                  (Rows{{"Riga 5", "5"}}));
    }
}

// In a company file in rollback-journal mode a commit needs the file to itself, so another program
// that is reading refuses it. The commit is tried once more after the pause and goes through once
// the reader has finished; refused again (here after the user asked to stop), the lines since the
// last commit are undone, and neither they nor their error rows count as loaded.
TEST_F(LockTest, CommitRefusedByAReaderOfARollbackJournalFileIsTriedOnceMore) {
    const struct {
        const char* name;
        bool userStops;  // after line 8, and the reader stays
        long result;
        std::size_t stored;
        long loaded;
        long errors;
    } cases[] = {
        {"the reader finishes before the second try", false, 0, 19, 20, 1},
        {"the reader stays, the user stops", true, errnum::RecordLocked, 0, 0, 0},
    };
    lines[2] = "L03;Riga 3;x";
    company("PRAGMA journal_mode=DELETE");
    goDbase().setBusyWait(std::chrono::milliseconds(50));
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string code = "J" + std::to_string(++n);
        keyedLayout(code, "V");
        input(code + ".txt", lines);
        company("DELETE FROM Prova");
        messages.clear();
        OtherProgram reader(companyFile);
        bool reading = false;
        progress.displayChanged = [&](const ProgressoElab& p) {
            if (!reading && p.phaseText() == "Caricamento " + code && p.value() == 4) {
                reading = true;
                reader.exec("BEGIN; SELECT count(*) FROM Prova");
            }
            if (c.userStops && p.value() == 8) giStatoCarica = 2;
            if (!c.userStops && reading && p.phaseText() == kWaiting) {
                reading = false;
                reader.exec("COMMIT");
            }
        };
        newLoader().setCommitEvery(1000);
        loader->setLockRetryPause(std::chrono::milliseconds(0));
        const long result = load(code);
        progress.displayChanged = nullptr;
        if (reading) reader.exec("COMMIT");
        giStatoCarica = 1;
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(stored().size(), c.stored);
        EXPECT_EQ(loader->linesLoaded(), c.loaded);
        EXPECT_EQ(errors, c.errors);
        EXPECT_EQ(one("SELECT count(*) FROM ErroriCaricamento WHERE Tabella = '" + code + "'"),
                  std::to_string(c.errors));
        expectStopMessage(c.result != 0 ? 1 : 0);
    }
}

// While the load stores its lines, another program commits a row of its own every millisecond.
TEST_F(LockTest, WriterCommittingAllTheTimeLosesNoLineOfAKeyedLoad) {
    constexpr int kLines = 20000;
    keyedLayout("KW", "V");
    std::vector<std::string> big;
    for (int i = 0; i < kLines; ++i)
        big.push_back("W" + std::to_string(i) + ";Riga;" + (i % 97 == 5 ? "x" : std::to_string(i)));
    input("KW.txt", big);
    OtherProgram other(companyFile);
    std::atomic<bool> done{false};
    std::atomic<long> commits{0};
    std::thread writer([&] {
        for (long i = 0; !done; ++i) {
            const std::string sql =
                "INSERT INTO Libera (Testo, Valore) VALUES ('altro', " + std::to_string(i) + ")";
            if (sqlite3_exec(other.db(), sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK)
                ++commits;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    newLoader().setCommitEvery(100);
    const long result = load("KW");
    done = true;
    writer.join();
    EXPECT_EQ(result, 0);
    expectStopMessage(0);
    const long storedRows = std::stol(one("SELECT count(*) FROM Prova"));
    const long recorded = std::stol(one("SELECT count(DISTINCT Riga) FROM ErroriCaricamento"));
    EXPECT_EQ(storedRows + recorded, kLines)
        << storedRows << " stored, " << recorded << " recorded, " << commits << " other commits";
    EXPECT_EQ(recorded, errors);
}

// Another program commits a row every millisecond with SQLite's own wait, which tries again only
// every 100 ms once it has waited a while, and gives up after 5 s. It is never refused, and it
// gets in while the load is under way, not only before or after it: each of its rows holds how
// many lines of the load were stored when it got in. In a rollback-journal file nothing shows the
// other program, and the load takes turns all the same.
TEST_F(LockTest, AnotherProgramWaitingAsSqliteDoesTakesTurnsWithTheLoad) {
    constexpr int kLines = 20000;
    std::vector<std::string> big;
    for (int i = 0; i < kLines; ++i)
        big.push_back("S" + std::to_string(i) + ";Riga;" + (i % 97 == 5 ? "x" : std::to_string(i)));
    for (const char* mode : {"WAL", "DELETE"}) {
        SCOPED_TRACE(mode);
        const std::string code = std::string("S") + mode;
        keyedLayout(code, "V");
        input(code + ".txt", big);
        company(
            "DELETE FROM Prova; DELETE FROM Libera; DELETE FROM ErroriCaricamento;"
            "PRAGMA journal_mode=" +
            std::string(mode));
        testing::OtherProcess other(
            companyFile, "INSERT INTO Libera (Testo, Valore) SELECT 'altro', count(*) FROM Prova");
        // Several turns within a short load.
        newLoader().setHoldAtMost(std::chrono::milliseconds(200));
        const long result = load(code);
        const testing::OtherProcess::Writes writes = other.stop();
        EXPECT_EQ(result, 0);
        expectStopMessage(0);
        const long storedRows = std::stol(one("SELECT count(*) FROM Prova"));
        const long recorded = std::stol(one("SELECT count(DISTINCT Riga) FROM ErroriCaricamento"));
        EXPECT_EQ(storedRows + recorded, kLines)
            << storedRows << " stored, " << recorded << " recorded";
        EXPECT_EQ(recorded, errors);
        EXPECT_GT(writes.commits, 0);
        EXPECT_EQ(writes.refused, 0);
        EXPECT_NE(one("SELECT count(*) FROM Libera WHERE Valore > 0 AND Valore < " +
                      std::to_string(storedRows)),
                  "0")
            << "the other program got in only before or after the load";
    }
}

}  // namespace
}  // namespace tolvane::batchtest

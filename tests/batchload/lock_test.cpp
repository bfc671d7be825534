// A load beside another program that writes the same company database, on a second connection
// of its own thread: the lock it takes at a line is waited for, tried once more, or stops the
// load there with its message; a writer that commits all the time loses no line of the load.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

#include "batch_fixture.h"

namespace tolvane::batchtest {
namespace {

// Another program's connection, run by a thread of its own: each job runs there in turn and
// `run` returns once it is done; `later` queues it and returns at once.
class OtherProgram {
  public:
    explicit OtherProgram(const std::string& file) {
        if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("open " + file);
        sqlite3_busy_timeout(db_, 10000);
        thread_ = std::thread([this] { work(); });
    }
    ~OtherProgram() {
        later({});
        thread_.join();
        sqlite3_close(db_);
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    void run(const std::string& sql) {
        std::promise<void> done;
        later([&] {
            exec(sql);
            done.set_value();
        });
        done.get_future().get();
    }
    void later(std::function<void()> job) {
        {
            std::lock_guard<std::mutex> hold(mutex_);
            jobs_.push_back(std::move(job));
        }
        wake_.notify_one();
    }
    void exec(const std::string& sql) {
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            ADD_FAILURE() << sqlite3_errmsg(db_) << " in: " << sql;
    }
    sqlite3* db() const { return db_; }

  private:
    void work() {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock<std::mutex> hold(mutex_);
                wake_.wait(hold, [this] { return !jobs_.empty(); });
                job = std::move(jobs_.front());
                jobs_.erase(jobs_.begin());
            }
            if (!job) return;
            job();
        }
    }

    sqlite3* db_ = nullptr;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<std::function<void()>> jobs_;
    std::thread thread_;
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
    long run(const std::string& code) {
        loader = std::make_unique<ScCarica>();
        loader->ogInElab = &progress;
        loader->setCommitEvery(1);
        loader->setLockRetryPause(std::chrono::milliseconds(0));
        return load(code);
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
                other.run("BEGIN IMMEDIATE");
                if (c.release == Release::DuringTheWait)
                    other.later([&other] {
                        std::this_thread::sleep_for(std::chrono::milliseconds(20));
                        other.exec("ROLLBACK");
                    });
            }
            if (p.phaseText() != kWaiting) return;
            if (c.release == Release::UserStops) giStatoCarica = 2;
            if (c.release == Release::BeforeTheSecondTry && !released) {
                released = true;
                other.run("ROLLBACK");
            }
        };
        const long result = run(code);
        progress.displayChanged = nullptr;
        if (c.release == Release::AfterTheLoad || c.release == Release::UserStops)
            other.run("ROLLBACK");
        giStatoCarica = 1;
        EXPECT_TRUE(taken);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(stored().size(), c.stored) << "the lines before the stop whole, none after it";
        EXPECT_EQ(loader->linesLoaded(), static_cast<long>(c.stored));
        EXPECT_EQ(loader->stoppedByUser(), c.release == Release::UserStops);
        if (c.message) {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(
                messages[0].rfind("I dati da aggiornare sono bloccati da un altro programma.\n"
                                  "Caricamento fermato alla riga 5 del file ",
                                  0),
                0u)
                << messages[0];
        } else {
            EXPECT_TRUE(messages.empty()) << messages.front();
        }
        if (c.stored < 20) {
            EXPECT_EQ(run(code), 0) << "a rerun goes on";
            EXPECT_EQ(stored().size(), 20u);
        }
        EXPECT_EQ(one("SELECT count(*) FROM ErroriCaricamento"), "0");
        EXPECT_EQ(rows("SELECT Descr, Num FROM Prova WHERE Codice = 'L05'"),
                  (Rows{{"Riga 5", "5"}}));
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
    other.later([&] {
        for (long i = 0; !done; ++i) {
            if (sqlite3_exec(other.db(),
                             ("INSERT INTO Libera (Testo, Valore) VALUES ('altro', " +
                              std::to_string(i) + ")")
                                 .c_str(),
                             nullptr, nullptr, nullptr) == SQLITE_OK)
                ++commits;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    loader = std::make_unique<ScCarica>();
    loader->ogInElab = &progress;
    loader->setCommitEvery(100);
    const long result = load("KW");
    done = true;
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(messages.empty()) << messages.front();
    const long storedRows = std::stol(one("SELECT count(*) FROM Prova"));
    const long recorded = std::stol(one("SELECT count(DISTINCT Riga) FROM ErroriCaricamento"));
    EXPECT_EQ(storedRows + recorded, kLines)
        << storedRows << " stored, " << recorded << " recorded, " << commits << " other commits";
    EXPECT_EQ(recorded, errors);
}

}  // namespace
}  // namespace tolvane::batchtest

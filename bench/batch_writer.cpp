// A keyed batch load beside another program that writes the same company database with SQLite's
// own busy wait of 5 s: one that commits a row every millisecond, one that keeps its write lock
// 0.2 s at a time. Prints the lines stored, recorded as rejected and lost, the load's result and
// messages, and the other program's commits, refusals and longest wait for a write.
// Never counts a line twice: stored and recorded are read from the file.
#include <poll.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "batchload/batch_messages.h"
#include "batchload/sc_carica.h"
#include "common/db_comune.h"
#include "common/globali.h"
#include "database_file.h"
#include "db/base_database.h"

namespace fs = std::filesystem;
using namespace tolvane;
using tolvane::bench::countOf;
using tolvane::bench::execFile;
using tolvane::bench::freshCopy;

namespace {

struct Writer {
    std::chrono::milliseconds hold;  // how long each of its transactions keeps the lock
    const char* name;
};

struct Counts {
    long commits = 0;
    long refused = 0;
    long longestWaitMs = 0;  // from asking for the lock to the commit, its own hold left out
};

// The other program, in a child process with a connection of its own and the usual 5 s wait:
// writes until the pipe closes, then reports its commits and refusals.
pid_t startWriter(const fs::path& company, const Writer& w, int& stop, int& report) {
    int stopPipe[2], reportPipe[2];
    if (pipe(stopPipe) != 0 || pipe(reportPipe) != 0) throw std::runtime_error("pipe");
    const pid_t pid = fork();
    if (pid == 0) {
        close(stopPipe[1]);
        close(reportPipe[0]);
        sqlite3* db = nullptr;
        sqlite3_open(company.c_str(), &db);
        sqlite3_busy_timeout(db, 5000);
        Counts c;
        pollfd watch{stopPipe[0], POLLIN, 0};
        for (long i = 0; poll(&watch, 1, 0) == 0; ++i) {
            const std::string insert =
                "INSERT INTO Altro (Valore) VALUES (" + std::to_string(i) + ")";
            const auto asked = std::chrono::steady_clock::now();
            bool ok = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
            ok = ok && sqlite3_exec(db, insert.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
            if (ok && w.hold.count() > 0) std::this_thread::sleep_for(w.hold);
            ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
            if (!ok) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            ++(ok ? c.commits : c.refused);
            const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::steady_clock::now() - asked) -
                                (ok ? w.hold : std::chrono::milliseconds(0));
            c.longestWaitMs = std::max<long>(c.longestWaitMs, waited.count());
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        sqlite3_close(db);
        if (write(reportPipe[1], &c, sizeof c) != sizeof c) _exit(3);
        _exit(0);
    }
    close(stopPipe[0]);
    close(reportPipe[1]);
    stop = stopPipe[1];
    report = reportPipe[0];
    return pid;
}

}  // namespace

int main(int argc, char** argv) {
    // Long enough for a load that never let the other program in to outlast its wait.
    const long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
    const fs::path folder =
        fs::temp_directory_path() / ("tolvane-bench-writer-" + std::to_string(getpid()));
    fs::create_directories(folder);
    int failures = 0;
    try {
        const fs::path common = folder / "comune.db", pristine = folder / "ditta.db",
                       input = folder / "righe.txt";
        createDatabaseFromSchema(common, schemaPath("common.sql"));
        execFile(common,
                 "INSERT INTO CaricaFile (Codice, Origine, Tabella, Modalita, InsVaria, "
                 "Separatore) VALUES ('BW', '" +
                     input.string() +
                     "', 'Articoli', '0', 'V', '\\059');"
                     "INSERT INTO CaricaDettaglio (Codice, NomeCampo, OrdCampo, NumCampo, "
                     "TipoDest) VALUES ('BW', 'Codice', '1', 'K1', 'String'),"
                     " ('BW', 'Descr', '2', '2', 'String'), ('BW', 'Qta', '3', '3', 'Long')");
        createDatabaseFromSchema(pristine, schemaPath("company.sql"));
        execFile(pristine,
                 "PRAGMA journal_mode=WAL;"
                 "CREATE TABLE Articoli (Codice VARCHAR(12) COLLATE NOCASE NOT NULL PRIMARY KEY,"
                 " Descr VARCHAR(40) COLLATE NOCASE, Qta INTEGER);"
                 "CREATE TABLE Altro (Valore INTEGER)");
        {
            std::ofstream out(input, std::ios::binary);
            // One line in a hundred has a quantity that is no number: it is recorded, not stored.
            for (long i = 0; i < lines; ++i)
                out << "A" << i << ";Articolo " << i << ";" << (i % 100 == 7 ? "x" : "1") << "\r\n";
        }
        const Writer writers[] = {{std::chrono::milliseconds(0), "commits a row every 1 ms"},
                                  {std::chrono::milliseconds(200), "keeps its lock 0.2 s"}};
        for (const Writer& w : writers) {
            const fs::path company = folder / "run.db";
            freshCopy(pristine, company);
            int stop = -1, report = -1;
            const pid_t pid = startWriter(company, w, stop, report);

            std::vector<std::string> shown;
            batchMessageHook() = [&shown](const BatchMessage& m) {
                shown.push_back(m.text);
                return 1;
            };
            gsConnDbMenu = goDbase().ApriConnessione(common.string());
            gsIdDbase = goDbase().ApriConnessione(company.string(), "", "", {.wal = true});
            giStatoCarica = 1;
            const auto started = std::chrono::steady_clock::now();
            long errors = 0, result = -1;
            {
                ScCarica loader;
                if (loader.LeggiTracciato("BW") == 0) result = loader.CaricaDati(errors);
            }
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            goDbase().ChiudiConnessione(gsIdDbase);
            goDbase().ChiudiConnessione(gsConnDbMenu);
            batchMessageHook() = nullptr;

            close(stop);
            Counts c;
            if (read(report, &c, sizeof c) != sizeof c) throw std::runtime_error("writer report");
            close(report);
            int status = 0;
            waitpid(pid, &status, 0);

            const long stored = countOf(company, "SELECT count(*) FROM Articoli");
            const long recorded =
                countOf(company, "SELECT count(DISTINCT Riga) FROM ErroriCaricamento");
            const long lost = lines - stored - recorded;
            std::printf(
                "%ld lines beside a writer that %s: stored %ld, recorded %ld, lost %ld, result "
                "%ld, %.2f s; the writer committed %ld times, was refused %ld times\n",
                lines, w.name, stored, recorded, lost, result, seconds, c.commits, c.refused);
            std::printf("  other longest-wait-ms=%ld other refused=%ld\n", c.longestWaitMs,
                        c.refused);
            for (const std::string& m : shown) std::printf("  message: %s\n", m.c_str());
            std::fflush(stdout);
            // A load may stop at a line it could not store, but only with a result and a message.
            if (lost != 0 && (result == 0 || shown.empty())) ++failures;
            if (recorded != errors) ++failures;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_batch_writer: %s\n", e.what());
        fs::remove_all(folder);
        return 1;
    }
    fs::remove_all(folder);
    return failures == 0 ? 0 : 2;
}

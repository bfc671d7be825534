// Cost of the record-set layer on a long insert run: 100,000 rows of 12 columns added through
// GestoreRs with grouped commits, against a plain prepared INSERT loop in one transaction.
// Never reports a ratio from runs that stored different rows: both files are counted first.
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "db/db_connection.h"
#include "db/gestore_db.h"
#include "db/gestore_rs.h"
#include "median.h"

using namespace tolvane;

namespace {

constexpr int kRows = 100000;

constexpr const char* kTable =
    "CREATE TABLE Articoli ("
    " Codice VARCHAR(12) COLLATE NOCASE NOT NULL PRIMARY KEY,"
    " Descrizione VARCHAR(40) COLLATE NOCASE, Sigla VARCHAR(5) COLLATE NOCASE,"
    " Riferimento VARCHAR(20) COLLATE NOCASE, Note TEXT COLLATE NOCASE,"
    " Quantita SMALLINT, Progressivo INTEGER, Peso FLOAT, Volume DOUBLE,"
    " Prezzo CURRENCY, DataIns DATETIME, Attivo BIT)";

const char* kColumns[12] = {"Codice", "Descrizione", "Sigla",       "Riferimento",
                            "Note",   "Quantita",    "Progressivo", "Peso",
                            "Volume", "Prezzo",      "DataIns",     "Attivo"};

struct Row {
    std::string codice, descrizione, sigla, riferimento, note;
    int quantita, progressivo;
    double peso, volume, prezzo;
    int anno, mese, giorno;
    bool attivo;
};

std::vector<Row> makeRows() {
    std::vector<Row> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        char code[16];
        std::snprintf(code, sizeof code, "ART%07d", i);
        rows.push_back({code, "Articolo di prova numero " + std::to_string(i),
                        "S" + std::to_string(i % 100), "RIF-" + std::to_string(i * 7),
                        i % 10 ? "" : "nota lunga dell'articolo", i % 30000, i, 0.25 * (i % 400),
                        1.5 * i, 10.0 + (i % 1000) / 100.0, 2020 + i % 5, 1 + i % 12, 1 + i % 28,
                        i % 2 == 0});
    }
    return rows;
}

void check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE) {
        std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
        std::exit(1);
    }
}

double plainLoop(const std::string& file, const std::vector<Row>& rows) {
    sqlite3* db = nullptr;
    check(sqlite3_open(file.c_str(), &db), db, "open");
    check(sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr,
                       nullptr),
          db, "pragma");
    check(sqlite3_exec(db, kTable, nullptr, nullptr, nullptr), db, "create");
    auto start = std::chrono::steady_clock::now();
    sqlite3_stmt* stmt = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO Articoli VALUES (?,?,?,?,?,?,?,?,?,?,?,?)", -1, &stmt,
                             nullptr),
          db, "prepare");
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    char date[16];
    for (const Row& r : rows) {
        sqlite3_bind_text(stmt, 1, r.codice.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 2, r.descrizione.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 3, r.sigla.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 4, r.riferimento.c_str(), -1, SQLITE_TRANSIENT);
        if (r.note.empty()) sqlite3_bind_null(stmt, 5);
        else sqlite3_bind_text(stmt, 5, r.note.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(stmt, 6, r.quantita);
        sqlite3_bind_int(stmt, 7, r.progressivo);
        sqlite3_bind_double(stmt, 8, r.peso);
        sqlite3_bind_double(stmt, 9, r.volume);
        sqlite3_bind_double(stmt, 10, r.prezzo);
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", r.anno, r.mese, r.giorno);
        sqlite3_bind_text(stmt, 11, date, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(stmt, 12, r.attivo ? -1 : 0);
        check(sqlite3_step(stmt), db, "step");
        sqlite3_reset(stmt);
    }
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_finalize(stmt);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    sqlite3_close(db);
    return seconds;
}

double throughGestoreRs(const std::string& file, const std::vector<Row>& rows) {
    GestoreDb db;
    std::string id = db.ApriConnessione(file, "", "", {.wal = true, .create = true});
    if (id.rfind("Err", 0) == 0) {
        std::fprintf(stderr, "%s\n", id.c_str());
        std::exit(1);
    }
    check(sqlite3_exec(db.connection(id).db, kTable, nullptr, nullptr, nullptr),
          db.connection(id).db, "create");
    auto start = std::chrono::steady_clock::now();
    GestoreRs rs;
    {
        GroupedCommit run(db, id, {.statements = 1000});
        std::string h = rs.ApriRs(db, id, "", "Select * from Articoli Where 1 = 0", false, 2);
        for (const Row& r : rows) {
            rs.AddNewRs(h);
            rs.ScriviCampoRs(h, kColumns[0], Variant(r.codice));
            rs.ScriviCampoRs(h, kColumns[1], Variant(r.descrizione));
            rs.ScriviCampoRs(h, kColumns[2], Variant(r.sigla));
            rs.ScriviCampoRs(h, kColumns[3], Variant(r.riferimento));
            rs.ScriviCampoRs(h, kColumns[4], Variant(r.note));
            rs.ScriviCampoRs(h, kColumns[5], Variant(static_cast<std::int16_t>(r.quantita)));
            rs.ScriviCampoRs(h, kColumns[6], Variant(static_cast<std::int32_t>(r.progressivo)));
            rs.ScriviCampoRs(h, kColumns[7], Variant(static_cast<float>(r.peso)));
            rs.ScriviCampoRs(h, kColumns[8], Variant(r.volume));
            rs.ScriviCampoRs(h, kColumns[9], Variant(Currency::fromDouble(r.prezzo)));
            rs.ScriviCampoRs(h, kColumns[10],
                             Variant(DateTime::fromParts(r.anno, r.mese, r.giorno)));
            rs.ScriviCampoRs(h, kColumns[11], Variant(r.attivo));
            rs.UpdateRs(h);
        }
        rs.ChiudiRs(h);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long countRows(const std::string& file) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM Articoli", -1, &stmt, nullptr);
    long n =
        sqlite3_step(stmt) == SQLITE_ROW ? static_cast<long>(sqlite3_column_int64(stmt, 0)) : -1;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return n;
}

}  // namespace

// Each side is timed kRuns times, alternating, on fresh files; the medians are compared, so
// that one slow run on a busy machine does not decide the ratio.
constexpr int kRuns = 5;

int main() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tolvane-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    std::filesystem::path folder = pattern;
    std::vector<Row> rows = makeRows();

    std::vector<double> plainTimes, layerTimes;
    for (int run = 0; run < kRuns; ++run) {
        const std::string plainFile = (folder / ("plain" + std::to_string(run) + ".db")).string();
        const std::string layerFile = (folder / ("layer" + std::to_string(run) + ".db")).string();
        plainTimes.push_back(plainLoop(plainFile, rows));
        layerTimes.push_back(throughGestoreRs(layerFile, rows));
        const long plainCount = countRows(plainFile);
        const long layerCount = countRows(layerFile);
        if (plainCount != kRows || layerCount != kRows) {
            std::filesystem::remove_all(folder);
            std::fprintf(stderr, "righe scritte: %ld e %ld invece di %d\n", plainCount, layerCount,
                         kRows);
            return 1;
        }
    }
    std::filesystem::remove_all(folder);
    const double plain = tolvane::bench::median(plainTimes);
    const double layer = tolvane::bench::median(layerTimes);
    std::printf("rows=%d columns=12 runs=%d (medians)\n", kRows, kRuns);
    std::printf("plain prepared insert, one transaction: %.3f s\n", plain);
    std::printf("GestoreRs AddNew/ScriviCampo/Update, grouped commits: %.3f s\n", layer);
    std::printf("db-insert ratio=%.2f\n", layer / plain);
    return 0;
}

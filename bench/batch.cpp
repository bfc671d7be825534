// Times the batch loader on generated Windows-1252 CRLF files against the sqlite3 shell's
// .import of the same data into the same table, five times each side alternating, by medians;
// reports the peak memory of a load (also of a 200 MB file without a line end).
// Never times anything but the load itself: files and databases are made before the clock runs.
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "batchload/sc_carica.h"
#include "common/db_comune.h"
#include "common/globali.h"
#include "database_file.h"
#include "db/base_database.h"
#include "db/db_connection.h"
#include "median.h"
#include "platform/text.h"

namespace fs = std::filesystem;
using namespace tolvane;
using tolvane::bench::countOf;
using tolvane::bench::execFile;
using tolvane::bench::freshCopy;
using tolvane::bench::median;

namespace {

const char* kTable =
    "CREATE TABLE Articoli (Codice VARCHAR(12) COLLATE NOCASE NOT NULL PRIMARY KEY,"
    " Descr VARCHAR(40) COLLATE NOCASE, Gruppo VARCHAR(4) COLLATE NOCASE, Um VARCHAR(3) COLLATE "
    "NOCASE,"
    " Prezzo CURRENCY, Costo CURRENCY, Qta DOUBLE, Scorta INTEGER, Peso DOUBLE, Data DATETIME,"
    " Note VARCHAR(60) COLLATE NOCASE, Attivo VARCHAR(1) COLLATE NOCASE);"
    "CREATE TABLE Numerati (Numero INTEGER NOT NULL, Codice VARCHAR(12) COLLATE NOCASE,"
    " Descr VARCHAR(40) COLLATE NOCASE, Gruppo VARCHAR(4) COLLATE NOCASE, Um VARCHAR(3) COLLATE "
    "NOCASE,"
    " Prezzo CURRENCY, Costo CURRENCY, Qta DOUBLE, Scorta INTEGER, Peso DOUBLE, Data DATETIME,"
    " Note VARCHAR(60) COLLATE NOCASE);"
    "CREATE INDEX NumeratiNumero ON Numerati (Numero);";

struct Column {
    const char* name;
    const char* type;
    int width;  // in the fixed-position file
};
const Column kColumns[] = {
    {"Codice", "String", 12}, {"Descr", "String", 40},    {"Gruppo", "String", 4},
    {"Um", "String", 3},      {"Prezzo", "Currency", 12}, {"Costo", "Currency", 12},
    {"Qta", "Double", 10},    {"Scorta", "Long", 8},      {"Peso", "Double", 8},
    {"Data", "Date", 10},     {"Note", "String", 60},     {"Attivo", "String", 1},
};

std::vector<std::string> lineFields(long i, bool rejected) {
    std::uint64_t x =
        static_cast<std::uint64_t>(i) * 6364136223846793005ULL + 1442695040888963407ULL;
    auto next = [&x](int mod) {
        x ^= x >> 29;
        x *= 0xbf58476d1ce4e5b9ULL;
        return static_cast<long>((x >> 17) % static_cast<std::uint64_t>(mod));
    };
    char code[32];
    std::snprintf(code, sizeof code, "A%09ld", i);
    char money[2][48];
    std::snprintf(money[0], sizeof money[0], "%ld,%02ld", next(5000), next(100));
    std::snprintf(money[1], sizeof money[1], "%ld,%02ld", next(3000), next(100));
    char date[64];
    std::snprintf(date, sizeof date, "%02ld/%02ld/%04ld", 1 + next(28), 1 + next(12),
                  2000 + next(25));
    static const char* um[] = {"PZ", "KG", "MT"};
    return {code,
            "Articolo n. " + std::to_string(i) + " perch\xC3\xA9 s\xC3\xAC",
            "G" + std::to_string(next(50)),
            um[next(3)],
            money[0],
            money[1],
            std::to_string(next(100)) + "," + std::to_string(next(10)),
            rejected ? std::string("xx") : std::to_string(next(10000)),
            "0," + std::to_string(100 + next(900)),
            date,
            "Nota " + std::to_string(next(100000)),
            next(2) ? "S" : "N"};
}

void writeFiles(long lines, const fs::path& separated, const fs::path& fixed,
                const fs::path& rejected) {
    std::ofstream sep(separated, std::ios::binary), fix(fixed, std::ios::binary),
        rej(rejected, std::ios::binary);
    for (long i = 0; i < lines; ++i) {
        const auto fields = lineFields(i, false);
        std::string s, f;
        for (std::size_t k = 0; k < fields.size(); ++k) {
            s += (k ? ";" : "") + fields[k];
            std::string cell = fields[k];
            while (static_cast<int>(Len(cell)) < kColumns[k].width) cell += ' ';
            f += cell;
        }
        sep << toWindows1252(s) << "\r\n";
        fix << toWindows1252(f) << "\r\n";
        if (i % 10 == 7) {
            const auto bad = lineFields(i, true);
            s.clear();
            for (std::size_t k = 0; k < bad.size(); ++k) s += (k ? ";" : "") + bad[k];
        }
        rej << toWindows1252(s) << "\r\n";
    }
}

std::string quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}

// One layout in the common database: header columns and one row per field.
void storeLayout(const fs::path& common, const std::string& code,
                 const std::map<std::string, std::string>& header,
                 const std::vector<std::map<std::string, std::string>>& fields) {
    std::string names = "Codice", values = quoted(code);
    for (const auto& [k, v] : header) names += ", " + k, values += ", " + quoted(v);
    std::string sql = "INSERT INTO CaricaFile (" + names + ") VALUES (" + values + ");";
    int order = 0;
    for (const auto& f : fields) {
        names = "Codice, OrdCampo";
        values = quoted(code) + ", '" + std::to_string(++order) + "'";
        for (const auto& [k, v] : f) names += ", \"" + k + "\"", values += ", " + quoted(v);
        sql += "INSERT INTO CaricaDettaglio (" + names + ") VALUES (" + values + ");";
    }
    execFile(common, sql);
}

void storeLayouts(const fs::path& common) {
    std::vector<std::map<std::string, std::string>> separated, fixed, update, numbered;
    int start = 1;
    for (int k = 0; k < 12; ++k) {
        const Column& c = kColumns[k];
        separated.push_back(
            {{"NomeCampo", c.name}, {"TipoDest", c.type}, {"NumCampo", std::to_string(k + 1)}});
        fixed.push_back({{"NomeCampo", c.name},
                         {"TipoDest", c.type},
                         {"Inizio", std::to_string(start)},
                         {"Lunghezza", std::to_string(c.width)}});
        start += c.width;
        auto u = separated.back();
        if (k > 0) u["Aggiorna"] = "A";
        update.push_back(u);
        if (k < 11) numbered.push_back(separated.back());
    }
    numbered.insert(numbered.begin(),
                    std::map<std::string, std::string>{
                        {"NomeCampo", "Numero"}, {"TipoDest", "Long"}, {"Default", "^-9"}});
    const std::map<std::string, std::string> insertOnly{
        {"Tabella", "Articoli"}, {"Modalita", "0"}, {"InsVaria", "I"}, {"Separatore", "\\059"}};
    auto header = insertOnly;
    storeLayout(common, "B1", header, separated);
    header["Tipo"] = "F";
    storeLayout(common, "B2", header, fixed);
    header = insertOnly;
    header["InsVaria"] = "V";
    storeLayout(common, "B3", header, update);
    header = insertOnly;
    storeLayout(common, "B5", header, separated);
    header["Tabella"] = "Numerati";
    storeLayout(common, "B6", header, numbered);
}

// Each side is timed this many times, alternating, and reported by its median.
constexpr int kRuns = 5;

struct Measure {
    double seconds = 0;
    long maxRssKb = 0;
    long errors = 0;
};

// Loads one layout in a child process, so that its peak memory is its own.
Measure loadInChild(const fs::path& common, const fs::path& company, const std::string& code,
                    const fs::path& input) {
    int channel[2];
    if (pipe(channel) != 0) throw std::runtime_error("pipe");
    const pid_t pid = fork();
    if (pid == 0) {
        close(channel[0]);
        gsConnDbMenu = goDbase().ApriConnessione(common.string());
        gsIdDbase = goDbase().ApriConnessione(company.string(), "", "", {.wal = true});
        gsDirCarica = input.parent_path().string();
        giStatoCarica = 1;
        ScCarica loader;
        if (loader.LeggiTracciato(code) != 0) _exit(2);
        execFile(common, "UPDATE CaricaFile SET Origine = " + quoted(input.string()));
        const auto started = std::chrono::steady_clock::now();
        long errors = 0;
        ScCarica run;
        if (run.LeggiTracciato(code) != 0) _exit(2);
        const long result = run.CaricaDati(errors);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        goDbase().ChiudiConnessione(gsIdDbase);
        const std::string reply =
            std::to_string(seconds) + " " + std::to_string(errors) + " " + std::to_string(result);
        if (write(channel[1], reply.data(), reply.size()) < 0) _exit(3);
        _exit(result == 0 ? 0 : 4);
    }
    close(channel[1]);
    char buffer[128] = {};
    const auto got = read(channel[0], buffer, sizeof buffer - 1);
    close(channel[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (got <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("load " + code + " failed (" + std::string(buffer) + ")");
    Measure m;
    long result = 0;
    std::sscanf(buffer, "%lf %ld %ld", &m.seconds, &m.errors, &result);
    m.maxRssKb = usage.ru_maxrss;
    return m;
}

double importSeconds(const fs::path& folder, const fs::path& input, const std::string& name) {
    const fs::path db = folder / (name + ".db");
    fs::remove(db);
    execFile(db, std::string("PRAGMA journal_mode=WAL;") + kTable);
    const fs::path script = folder / (name + ".sql");
    std::ofstream(script) << ".mode csv\n.separator \";\"\n.import '" << input.string()
                          << "' Articoli\n";
    const std::string command =
        "/usr/bin/sqlite3 '" + db.string() + "' < '" + script.string() + "' > /dev/null 2>&1";
    const auto started = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) throw std::runtime_error("sqlite3 .import failed");
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<long> sizes{100000, 1000000};
    if (argc > 1) sizes = {std::atol(argv[1])};
    const fs::path folder =
        fs::temp_directory_path() / ("tolvane-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::map<std::string, double> ratios;
    std::map<long, long> peakKb;
    try {
        const fs::path common = folder / "comune.db";
        createDatabaseFromSchema(common, schemaPath("common.sql"));
        storeLayouts(common);
        for (const long lines : sizes) {
            const std::string n = std::to_string(lines);
            const fs::path separated = folder / ("sep" + n + ".txt"),
                           fixed = folder / ("fix" + n + ".txt"),
                           rejected = folder / ("rej" + n + ".txt");
            writeFiles(lines, separated, fixed, rejected);
            const fs::path empty = folder / ("ditta" + n + ".db"),
                           loaded = folder / ("caricata" + n + ".db");
            createDatabaseFromSchema(empty, schemaPath("company.sql"));
            execFile(empty, std::string("PRAGMA journal_mode=WAL;") + kTable);
            fs::copy_file(empty, loaded);
            loadInChild(common, loaded, "B1", separated);

            const struct {
                std::string name;
                fs::path input;
                const fs::path& start;  // the database each run starts from
            } cases[] = {{"B1", separated, empty},
                         {"B2", fixed, empty},
                         {"B3", separated, loaded},
                         {"B5", rejected, empty},
                         {"B6", separated, empty}};
            std::vector<double> allImports;
            std::vector<std::string> report;
            for (const auto& c : cases) {
                std::vector<double> imports, loads;
                Measure m;
                for (int run = 0; run < kRuns; ++run) {
                    imports.push_back(importSeconds(folder, separated, "import" + n));
                    const fs::path company = folder / "run.db";
                    freshCopy(c.start, company);
                    m = loadInChild(common, company, c.name, c.input);
                    loads.push_back(m.seconds);
                    const std::string table = c.name == "B6" ? "Numerati" : "Articoli";
                    const long stored = countOf(company, "SELECT count(*) FROM " + table);
                    if (stored != lines - (c.name == "B5" ? m.errors : 0))
                        throw std::runtime_error(c.name + ": " + std::to_string(stored) +
                                                 " rows stored");
                }
                allImports.insert(allImports.end(), imports.begin(), imports.end());
                const double seconds = median(loads);
                const double ratio = seconds / median(imports);
                char line[160];
                std::snprintf(line, sizeof line,
                              "  %s %.2f s, ratio %.2f, errors %ld, max RSS %.1f MB\n",
                              c.name.c_str(), seconds, ratio, m.errors, m.maxRssKb / 1024.0);
                report.push_back(line);
                ratios[c.name] = ratio;  // the largest size is reported last
                if (c.name == "B1") peakKb[lines] = m.maxRssKb;
            }
            std::printf("%ld lines: sqlite3 .import %.2f s\n", lines, median(allImports));
            for (const auto& line : report) std::fputs(line.c_str(), stdout);
            std::fflush(stdout);
        }
        // A file of 200 MB without a line end: one rejected line, read in bounded memory.
        const fs::path endless = folder / "endless.txt";
        {
            std::ofstream out(endless, std::ios::binary);
            const std::string chunk(1 << 20, 'x');
            for (int i = 0; i < 200; ++i) out << chunk;
        }
        const fs::path company = folder / "ditta-endless.db";
        createDatabaseFromSchema(company, schemaPath("company.sql"));
        execFile(company, std::string("PRAGMA journal_mode=WAL;") + kTable);
        const Measure m = loadInChild(common, company, "B1", endless);
        std::printf("no-line-end-200MB errors=%ld peak-mb=%.1f\n", m.errors, m.maxRssKb / 1024.0);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_batch: %s\n", e.what());
        fs::remove_all(folder);
        return 1;
    }
    fs::remove_all(folder);
    for (const auto& [name, ratio] : ratios) std::printf("%s ratio=%.2f\n", name.c_str(), ratio);
    for (const auto& [lines, kb] : peakKb)
        std::printf("B1-%s peak-mb=%.1f\n",
                    lines >= 1000000 ? (std::to_string(lines / 1000000) + "M").c_str()
                                     : (std::to_string(lines / 1000) + "k").c_str(),
                    kb / 1024.0);
    return 0;
}

// Times a load as the user waits for it: the batch window shown on the screen Qt was given (its
// offscreen platform unless QT_QPA_PLATFORM names another), "&Carica" clicked, until the final
// message; against the same file through the loader alone. Alternating runs, by medians.
// Never times the making of the file and the databases, nor answers a message it did not expect.
#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "batchload/frm_carico_batch.h"
#include "batchload/sc_carica.h"
#include "common/db_comune.h"
#include "common/globali.h"
#include "common/servizi_finestre.h"
#include "companydata/frm_dati_azie.h"
#include "database_file.h"
#include "db/base_database.h"
#include "median.h"
#include "qt/qt_front_end.h"
#include "ui/desktop.h"

namespace fs = std::filesystem;
using namespace tolvane;
using tolvane::bench::countOf;
using tolvane::bench::execFile;
using tolvane::bench::freshCopy;
using tolvane::bench::median;

namespace {

using Clock = std::chrono::steady_clock;

const char* kTable =
    "PRAGMA journal_mode=WAL;"
    "CREATE TABLE Articoli (Codice VARCHAR(12) COLLATE NOCASE NOT NULL PRIMARY KEY,"
    " Descr VARCHAR(40) COLLATE NOCASE, Gruppo VARCHAR(4) COLLATE NOCASE, Prezzo CURRENCY,"
    " Qta DOUBLE, Scorta INTEGER, Data DATETIME, Note VARCHAR(60) COLLATE NOCASE);";

const struct {
    const char* name;
    const char* type;
} kFields[] = {{"Codice", "String"},   {"Descr", "String"}, {"Gruppo", "String"},
               {"Prezzo", "Currency"}, {"Qta", "Double"},   {"Scorta", "Long"},
               {"Data", "Date"},       {"Note", "String"}};

void writeInput(const fs::path& file, long lines) {
    std::ofstream out(file, std::ios::binary);
    char line[256];
    for (long i = 0; i < lines; ++i) {
        std::snprintf(
            line, sizeof line,
            "A%09ld;Articolo n. %ld perch\xE9;G%ld;%ld,%02ld;%ld,%ld;%ld;%02ld/%02ld/%04ld;"
            "Nota %ld\r\n",
            i, i, i % 50, i % 5000, i % 100, i % 100, i % 10, i % 10000, 1 + i % 28, 1 + i % 12,
            2000 + i % 25, i * 7 % 100000);
        out << line;
    }
}

// One batch layout "W1" of the input file into Articoli.
void storeLayout(const fs::path& common, const fs::path& input) {
    std::string sql =
        "INSERT INTO CaricaFile (Codice, Tabella, Modalita, InsVaria, Separatore, "
        "batch, Origine) VALUES ('W1', 'Articoli', '0', 'I', '\\059', 'S', '" +
        input.string() + "');";
    int order = 0;
    for (const auto& f : kFields) {
        ++order;
        sql +=
            "INSERT INTO CaricaDettaglio (Codice, OrdCampo, NomeCampo, TipoDest, NumCampo) "
            "VALUES ('W1', '" +
            std::to_string(order) + "', '" + f.name + "', '" + f.type + "', '" +
            std::to_string(order) + "');";
    }
    execFile(common, sql);
}

// A fresh copy of the empty company database, opened as the program opens it.
std::string freshCompany(const fs::path& empty, const fs::path& run) {
    freshCopy(empty, run);
    return goDbase().ApriConnessione(run.string(), "", "", {.wal = true});
}

double loaderAlone(const std::string& commonId, const fs::path& empty, const fs::path& run) {
    const std::string companyId = freshCompany(empty, run);
    gsConnDbMenu = commonId;
    gsIdDbase = companyId;
    giStatoCarica = 1;
    const auto started = Clock::now();
    long errors = 0;
    ScCarica loader;
    if (loader.LeggiTracciato("W1") != 0 || loader.CaricaDati(errors) != 0 || errors != 0)
        throw std::runtime_error("the loader alone failed");
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    giStatoCarica = 0;
    gsIdDbase = commonId;
    goDbase().ChiudiConnessione(companyId);
    return seconds;
}

double throughWindow(qt::QtFrontEnd& frontEnd, const std::string& commonId, const fs::path& folder,
                     const fs::path& empty, const fs::path& run) {
    const std::string companyId = freshCompany(empty, run);
    gsConnDbMenu = commonId;
    gsIdDbase = commonId;
    ui::desktop().instance<frmDatiAzie>().osIdDbase = companyId;
    frmCaricoBatch& f = ui::desktop().load<frmCaricoBatch>();
    f.DirCarica.setPath(folder.string());
    MostraForm(f);
    QWidget* button = frontEnd.widgetOf(f.comOk);
    if (!button || !QTest::qWaitForWindowExposed(button->window()))
        throw std::runtime_error("the batch window did not come on screen");

    const auto started = Clock::now();
    std::optional<Clock::time_point> ended;
    std::string unexpected;
    frontEnd.setMessageAnswerer([&](const ui::MessageRequest& request) {
        if (request.text == "Elaborazione terminata") ended = Clock::now();
        else unexpected = request.text;
        return 1;
    });
    QTest::mouseClick(button, Qt::LeftButton);
    frontEnd.setMessageAnswerer(nullptr);
    if (!ended || !unexpected.empty())
        throw std::runtime_error("the run ended otherwise: " + unexpected);
    goDbase().ChiudiConnessione(companyId);
    return std::chrono::duration<double>(*ended - started).count();
}

}  // namespace

int main(int argc, char** argv) {
    const long lines = argc > 1 ? std::atol(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const fs::path folder =
        fs::temp_directory_path() / ("tolvane-bench-window-" + std::to_string(getpid()));
    fs::create_directories(folder);
    try {
        const fs::path common = folder / "comune.db", empty = folder / "ditta.db",
                       run = folder / "run.db", input = folder / "articoli.txt";
        createDatabaseFromSchema(common, schemaPath("common.sql"));
        createDatabaseFromSchema(empty, schemaPath("company.sql"));
        execFile(empty, kTable);
        writeInput(input, lines);
        storeLayout(common, input);
        const std::string commonId = goDbase().ApriConnessione(common.string());
        qt::QtFrontEnd frontEnd;
        std::vector<double> alone, window;
        for (int i = 0; i < runs; ++i) {
            alone.push_back(loaderAlone(commonId, empty, run));
            window.push_back(throughWindow(frontEnd, commonId, folder, empty, run));
            if (countOf(run, "SELECT count(*) FROM Articoli") != lines)
                throw std::runtime_error("the window's load did not store every line");
        }
        std::printf("platform %s, %ld lines, %d runs each\n",
                    QGuiApplication::platformName().toStdString().c_str(), lines, runs);
        std::printf("loader alone %.2f s, through the window %.2f s\n", median(alone),
                    median(window));
        std::printf("window ratio=%.2f\n", median(window) / median(alone));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_batch_window: %s\n", e.what());
        fs::remove_all(folder);
        return 1;
    }
    fs::remove_all(folder);
    return 0;
}

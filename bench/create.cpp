// Times "Crea azienda" with 1,000 companies in the register, as a user waits for it: the
// creation window driven headless (fields typed, the button clicked) until the register shows
// the new company, with the Qt front end drawing every window offscreen when the build has it;
// then the creation alone, the register's reload and the opening of the data form, each on its
// own. Never times the making of the register.
#include <unistd.h>

#ifdef TOLVANE_WITH_QT
#include <QApplication>

#include "qt/qt_front_end.h"
#endif

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/db_comune.h"
#include "common/globali.h"
#include "companydata/frm_dati_azie.h"
#include "database_file.h"
#include "median.h"
#include "register/company_creation.h"
#include "register/frm_crea_azi.h"
#include "register/frm_tolvane.h"
#include "startup/demo_environment.h"
#include "suite/decodifiche/servizio_decodifiche.h"
#include "suite/menu/menu_client.h"
#include "ui/desktop.h"
#include "ui/scripted_driver.h"
#include "ui/user_input.h"

using namespace tolvane;
namespace fs = std::filesystem;

namespace {

constexpr int kCompanies = 1000;
constexpr int kRuns = 5;

double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Companies 002 to 1000 beside the demo's 001, each with a database file of its own: the ids
// above 998 are letters, since a register may hold identifiers the creation would refuse.
void fillRegister(const DemoEnvironment& env) {
    std::string sql = "BEGIN;";
    for (int i = 2; i <= kCompanies; ++i) {
        char code[16];
        char id[8];
        std::snprintf(code, sizeof code, "AZ%05d", i);
        if (i <= 900) std::snprintf(id, sizeof id, "%03d", i);
        else std::snprintf(id, sizeof id, "X%02d", i - 900);
        const fs::path file = env.folder / (std::string("ditta_") + code + ".db");
        fs::copy_file(env.baseCompanyDb, file);
        sql +=
            std::string("INSERT INTO Aziende (Codice, IdAzienda, Descrizione, NomeDB) VALUES ('") +
            code + "', '" + id + "', 'Azienda di prova " + code + "', '" + file.string() + "');";
    }
    bench::execFile(env.commonDb, sql + "COMMIT;");
}

bool gridShows(const frmTolvane& grid, const std::string& code) {
    for (const CompanyRow& row : grid.Aziende())
        if (row.Codice == code) return true;
    return false;
}

void closeDataForm() {
    if (auto* dati = ui::desktop().find<frmDatiAzie>(); dati && dati->loaded()) dati->unload();
}

}  // namespace

int main(int argc, char** argv) {
#ifdef TOLVANE_WITH_QT
    // The windows are drawn as on a desktop, on no screen at all.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform says at every window that it cannot raise it.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
        if (!text.contains("does not support") && !text.contains("XDG_RUNTIME_DIR"))
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    auto frontEnd = std::make_unique<qt::QtFrontEnd>();
    const char* display = "Qt offscreen";
#else
    (void)argc;
    (void)argv;
    const char* display = "no display";
#endif
    const fs::path folder =
        fs::temp_directory_path() / ("tolvane-bench-create-" + std::to_string(getpid()));
    int status = 0;
    try {
        const DemoEnvironment env = buildDemoEnvironment(folder);
        fillRegister(env);
        gsFileIni = env.mainIni.string();
        gsIdDbase = goDbase().ApriConnessione(env.commonDb.string());
        std::ofstream(folder / "menu.ini") << "[Parametri]\nLogin=admin\nGruppo=ADMIN\n";
        MenuClientSettings settings;
        settings.menuIni = (folder / "menu.ini").string();
        settings.keyFile = (folder / "menu.key").string();
        goMenuClient = std::make_unique<MenuClient>(settings);
        goMenuClient->setDatabase(&goDbase(), gsIdDbase);
        ui::ScriptedDriver driver;
        driver.setFailureHook([](const std::string& text) {
            throw std::runtime_error("unexpected window: " + text);
        });

        frmTolvane& grid = ui::desktop().load<frmTolvane>();
        grid.show();
        std::vector<double> window;
        for (int run = 0; run < kRuns; ++run) {
            ui::user::pressToolbarButton(grid.Toolbar1, "CreaAzienda");
            frmCreaAzi* crea = ui::desktop().find<frmCreaAzi>();
            if (crea == nullptr || !crea->visible()) throw std::runtime_error("no creation window");
            const std::string code = "NUOVA" + std::to_string(run);
            ui::user::fill(crea->txtCodice, code);
            ui::user::fill(crea->txtDescrizione, "Nuova azienda " + std::to_string(run));
            window.push_back(seconds([&] { ui::user::click(crea->comOk); }));
            if (!gridShows(grid, code)) throw std::runtime_error(code + " not in the register");
            closeDataForm();
        }

        // The parts, each timed alone on the register as it now stands.
        const CompanyFiles files = companyFilesFromIni(gsIdDbase);
        std::vector<double> engine;
        std::vector<double> reload;
        std::vector<double> dataForm;
        for (int run = 0; run < kRuns; ++run) {
            const std::string code = "PARTI" + std::to_string(run);
            fs::path file;
            engine.push_back(seconds([&] {
                const std::string id = nextCompanyId(readCompanies(gsIdDbase));
                file = createCompany({code, id, "Parti " + code, "parti_" + id + ".db"}, files,
                                     gsIdDbase);
            }));
            reload.push_back(seconds([&] { grid.DatRefresh(); }));
            dataForm.push_back(seconds([&] { ApriDatiAzienda(file, "", "", ""); }));
            closeDataForm();
        }
        std::printf("create-%d s=%.4f (median of %d, %s)\n", kCompanies, bench::median(window),
                    kRuns, display);
        std::printf("  creation engine s=%.4f\n", bench::median(engine));
        std::printf("  register reload s=%.4f\n", bench::median(reload));
        std::printf("  data form opened s=%.4f\n", bench::median(dataForm));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench create: %s\n", e.what());
        status = 1;
    }
#ifdef TOLVANE_WITH_QT
    frontEnd.reset();
#endif
    ui::desktop().reset();
    goDecodifiche.reset();
    goMenuClient.reset();
    if (!gsIdDbase.empty()) goDbase().ChiudiConnessione(gsIdDbase);
    std::error_code ec;
    fs::remove_all(folder, ec);
    return status;
}

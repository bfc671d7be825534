// The register's windows on a demo installation in a scratch folder: the common database open
// and current, the main INI chosen, a menu client with the working values of the test, a
// scripted user. Leaves no window, connection or program-wide value behind.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "common/db_comune.h"
#include "common/globali.h"
#include "companydata/frm_dati_azie.h"
#include "db/db_test_folder.h"
#include "platform/ini_file.h"
#include "register/frm_personal.h"
#include "startup/demo_environment.h"
#include "suite/decodifiche/servizio_decodifiche.h"
#include "suite/menu/menu_client.h"
#include "support/scratch_folder.h"
#include "ui/desktop.h"
#include "ui/user_input.h"
#include "ui/window_test.h"

namespace tolvane::testing {

class RegisterTest : public ui::WindowTest {
  protected:
    RegisterTest() {
        env = buildDemoEnvironment(scratch.path() / "demo");
        gsFileIni = env.mainIni.string();
        gsFileIniComune.clear();
        gsIdDbase = goDbase().ApriConnessione(env.commonDb.string());
        std::ofstream(scratch.file("menu.ini"))
            << "[Parametri]\nLogin=admin\nGruppo=ADMIN\nTerminale=DEMO\n";
        MenuClientSettings settings;
        settings.menuIni = scratch.file("menu.ini");
        settings.keyFile = scratch.file("menu.key");
        goMenuClient = std::make_unique<MenuClient>(settings);
        goMenuClient->setDatabase(&goDbase(), gsIdDbase);
    }

    ~RegisterTest() override {
        EXPECT_EQ(driver.pendingDescription(), "") << "script steps never used";
        if (auto* dati = ui::desktop().find<frmDatiAzie>(); dati && dati->loaded()) dati->unload();
        if (auto* pers = ui::desktop().find<frmPersonal>(); pers && pers->loaded()) pers->unload();
        ui::desktop().reset();
        goDecodifiche.reset();
        goMenuClient.reset();
        goDbase().ChiudiConnessione(gsIdDbase);
        gsIdDbase.clear();
        gsConnDbMenu.clear();
        gsFileIni.clear();
        giStaAtt = 0;
        gdRisVidStampa = 0;
    }

    // The working values the menu hands over for this user.
    void user(const std::string& login, const std::string& group, const std::string& terminal) {
        goMenuClient->SetParametro("Login", "", Variant(login));
        goMenuClient->SetParametro("Gruppo", "", Variant(group));
        goMenuClient->SetParametro("Terminale", "", Variant(terminal));
    }

    template <class Window>
    Window& open() {
        Window& window = ui::desktop().load<Window>();
        window.show();
        return window;
    }

    void sql(const std::string& statement) { goDbase().EseguiSql(gsIdDbase, statement); }

    std::string common(const std::string& query) {
        return dbtest::queryOne(env.commonDb.string(), query);
    }

    // A company row whose file is a copy of the base file.
    std::filesystem::path addCompany(const std::string& code, const std::string& id,
                                     const std::string& logins = "", const std::string& groups = "",
                                     const std::string& terminals = "") {
        std::filesystem::path file = env.folder / ("ditta_" + id + ".db");
        std::filesystem::copy_file(env.baseCompanyDb, file);
        sql("Insert Into Aziende (Codice, IdAzienda, Descrizione, NomeDB, ListaLogin, ListaGruppi, "
            "ListaTerminali) Values ('" +
            code + "', '" + id + "', 'Azienda " + code + "', '" + file.string() + "', '" + logins +
            "', '" + groups + "', '" + terminals + "')");
        return file;
    }

    static bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
        std::error_code ec;
        return std::filesystem::equivalent(a, b, ec);
    }

    ScratchFolder scratch;
    DemoEnvironment env;
};

}  // namespace tolvane::testing

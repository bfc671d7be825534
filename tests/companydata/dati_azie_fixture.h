// A company database built from the shipped schema in a temporary folder, the company-data
// form opened on it through the scripted driver, and a menu client that records requests.
// Never shares a database between tests.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <memory>
#include <string>

#include "common/db_comune.h"
#include "companydata/frm_dati_azie.h"
#include "suite/base_database.h"
#include "suite/db_connection.h"
#include "suite/db_test_folder.h"
#include "suite/menu_client.h"
#include "suite/servizio_decodifiche.h"
#include "ui/user_input.h"
#include "ui/window_test.h"

namespace tolvane::testing {

class DatiAzieTest : public ui::WindowTest {
  protected:
    DatiAzieTest() {
        file = folder.file("ditta_001.db");
        createDatabaseFromSchema(file, schemaPath("company.sql"));
        std::ofstream(folder.file("menu.ini")) << "[Parametri]\nLogin=admin\n";
        MenuClientSettings settings;
        settings.menuIni = folder.file("menu.ini");
        settings.keyFile = folder.file("menu.key");
        goMenuClient = std::make_unique<MenuClient>(settings);
    }

    ~DatiAzieTest() override {
        EXPECT_EQ(driver.pendingDescription(), "") << "script steps never used";
        if (form != nullptr && form->loaded()) form->unload();
        goMenuClient.reset();
    }

    // Loads and shows the form and opens the company database.
    frmDatiAzie& apri() {
        form = &ui::desktop().load<frmDatiAzie>();
        form->show();
        EXPECT_TRUE(form->ApriDBAzie(file));
        return *form;
    }

    void sql(const std::string& statement) { goDbase().EseguiSql(form->osIdDbase, statement); }
    // Schema changes, which the program's SQL dialect does not take.
    void ddl(const std::string& statement) {
        char* error = nullptr;
        int rc = sqlite3_exec(goDbase().connection(form->osIdDbase).db, statement.c_str(), nullptr,
                              nullptr, &error);
        ASSERT_EQ(rc, SQLITE_OK) << (error ? error : "");
    }

    // The tab of a page is its number plus one.
    void vaiPagina(int pagina) { ui::user::chooseTab(*form->TasPagine, pagina + 1); }

    void conferma(int pagina) {
        driver.answerMessage("I valori sono stati memorizzati", 1);
        ui::user::click(form->comOk(pagina));
    }

    std::string salvato(const std::string& colonna, const std::string& tabella = "TabRiba") {
        return dbtest::queryOne(file, "SELECT IFNULL(" + colonna + ", '') FROM " + tabella);
    }

    int righe(const std::string& tabella = "TabRiba") {
        return std::stoi(dbtest::queryOne(file, "SELECT COUNT(*) FROM " + tabella));
    }

    dbtest::TempFolder folder;
    std::string file;
    frmDatiAzie* form = nullptr;
};

}  // namespace tolvane::testing

// A common database built from the shipped schema in a temporary folder, opened as the primary
// connection, a menu client that records requests, and frmDaStudio driven by the scripted
// driver. Never shares a database between tests.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <memory>
#include <string>

#include "common/db_comune.h"
#include "common/globali.h"
#include "db/base_database.h"
#include "db/db_connection.h"
#include "db/db_test_folder.h"
#include "intermediary/frm_da_studio.h"
#include "suite/menu_client.h"
#include "ui/user_input.h"
#include "ui/window_test.h"

namespace tolvane::testing {

class StudioTest : public ui::WindowTest {
  protected:
    StudioTest() {
        file = folder.file("comune.db");
        createDatabaseFromSchema(file, schemaPath("common.sql"));
        gsIdDbase = goDbase().ApriConnessione(file);
        std::ofstream(folder.file("menu.ini")) << "[Parametri]\nLogin=admin\n";
        MenuClientSettings settings;
        settings.menuIni = folder.file("menu.ini");
        settings.keyFile = folder.file("menu.key");
        goMenuClient = std::make_unique<MenuClient>(settings);
        gbInChiusura = false;
    }

    ~StudioTest() override {
        EXPECT_EQ(driver.pendingDescription(), "") << "script steps never used";
        if (form != nullptr && form->loaded()) form->unload();
        goDbase().ChiudiConnessione(gsIdDbase);
        gsIdDbase.clear();
        goMenuClient.reset();
        gbInChiusura = false;
    }

    frmDaStudio& apri() {
        form = &ui::desktop().load<frmDaStudio>();
        form->show();
        return *form;
    }

    void sql(const std::string& statement) { goDbase().EseguiSql(gsIdDbase, statement); }
    // Schema changes, which the program's SQL dialect does not take.
    void ddl(const std::string& statement) {
        char* error = nullptr;
        int rc = sqlite3_exec(goDbase().connection(gsIdDbase).db, statement.c_str(), nullptr,
                              nullptr, &error);
        ASSERT_EQ(rc, SQLITE_OK) << (error ? error : "");
        sqlite3_free(error);
    }

    void vaiPagina(int pagina) { ui::user::chooseTab(*form->TasPagine, pagina); }

    void conferma() {
        driver.answerMessage("I valori sono stati memorizzati", 1);
        ui::user::click(form->comOk(3));
    }

    // A column of the first row as stored, "NULL" for Null.
    std::string salvato(const std::string& colonna) {
        return dbtest::queryOne(file, "SELECT IFNULL(" + colonna + ", 'NULL') FROM TabStudio");
    }

    int righe() { return std::stoi(dbtest::queryOne(file, "SELECT COUNT(*) FROM TabStudio")); }

    dbtest::TempFolder folder;
    std::string file;
    frmDaStudio* form = nullptr;
};

}  // namespace tolvane::testing

// A company database built from the shipped schema in a temporary folder (or a deliberately
// older one), the company-data form opened on it through the scripted driver, a menu client
// that records requests, and the user's typing. Never shares a database between tests.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "common/db_comune.h"
#include "companydata/frm_dati_azie.h"
#include "db/base_database.h"
#include "db/db_connection.h"
#include "db/db_test_folder.h"
#include "suite/decodifiche/servizio_decodifiche.h"
#include "suite/menu/menu_client.h"
#include "ui/ui_constants.h"
#include "ui/user_input.h"
#include "ui/window_test.h"

namespace tolvane::testing {

class DatiAzieTest : public ui::WindowTest {
  protected:
    DatiAzieTest() {
        file = folder.file("ditta_001.db");
        createDatabaseFromSchema(file, schemaPath("company.sql"));
        menuClient("");
    }

    ~DatiAzieTest() override {
        EXPECT_EQ(driver.pendingDescription(), "") << "script steps never used";
        if (form != nullptr && form->loaded()) form->unload();
        goMenuClient.reset();
    }

    // A menu client whose INI holds the given extra lines.
    void menuClient(const std::string& righe) {
        std::ofstream(folder.file("menu.ini")) << "[Parametri]\nLogin=admin\n" << righe;
        MenuClientSettings settings;
        settings.menuIni = folder.file("menu.ini");
        settings.keyFile = folder.file("menu.key");
        goMenuClient = std::make_unique<MenuClient>(settings);
    }

    // Opens the form again on a company database that lacks the given "Table.Column"s.
    void databaseVecchio(const std::vector<std::string>& omesse) {
        form->unload();
        file = folder.file("ditta_vecchia.db");
        createDatabaseFromSchema(file, schemaPath("company.sql"), omesse);
        apri();
    }

    // Loads and shows the form and opens the company database.
    frmDatiAzie& apri() {
        form = &ui::desktop().load<frmDatiAzie>();
        form->show();
        EXPECT_TRUE(form->ApriDBAzie(file));
        return *form;
    }

    // A new opening, so that the page is loaded again from the database.
    void riapri(int pagina) {
        form->unload();
        apri();
        vaiPagina(pagina);
    }

    void sql(const std::string& statement) { goDbase().EseguiSql(form->osIdDbase, statement); }
    void riga(const std::string& tabella, const std::string& colonne, const std::string& valori) {
        sql("INSERT INTO " + tabella + " (" + colonne + ") VALUES (" + valori + ")");
    }
    void conto(const std::string& g, const std::string& m, const std::string& c,
               const std::string& descrizione) {
        riga("PianoConti", "Gruppo, Mastro, Conto, Descrizione",
             "'" + g + "', '" + m + "', '" + c + "', '" + descrizione + "'");
    }
    // Schema changes, which the program's SQL dialect does not take.
    void ddl(const std::string& statement) {
        char* error = nullptr;
        int rc = sqlite3_exec(goDbase().connection(form->osIdDbase).db, statement.c_str(), nullptr,
                              nullptr, &error);
        ASSERT_EQ(rc, SQLITE_OK) << (error ? error : "");
    }

    // The tab of a page is its number plus one; the transit accounts' page has the last tab.
    void vaiPagina(int pagina) {
        ui::user::chooseTab(*form->TasPagine,
                            pagina == frmDatiAzie::kPaginaContiTrans ? 14 : pagina + 1);
    }

    // What a user does: types into the field, then leaves it for another one.
    void digita(int campo, const std::string& testo, int poi) {
        ui::user::fill(form->txt(campo), testo);
        if (testo.empty()) form->txt(campo).setSelText("");
        ui::user::focus(form->txt(poi));
    }

    void conferma(int pagina) {
        driver.answerMessage("I valori sono stati memorizzati", 1);
        ui::user::click(form->comOk(pagina));
    }

    // A confirmation that must be refused with the message; the save is not reported.
    void rifiutata(int pagina, const std::string& messaggio) {
        driver.answerMessage(messaggio, 1);
        ui::user::click(form->comOk(pagina));
    }

    // The table holds only this row, and the page is loaded again from it.
    void soloRiga(int pagina, const std::string& tabella, const std::string& colonne,
                  const std::string& valori) {
        sql("DELETE FROM " + tabella);
        riga(tabella, colonne, valori);
        riapri(pagina);
    }

    using Campo = std::pair<int, const char*>;
    // Each field shows its text.
    void mostrano(std::span<const Campo> campi) {
        for (const auto& [n, testo] : campi) EXPECT_EQ(form->txt(n).text(), testo) << n;
    }
    // Each field's description shows its caption.
    void descrivono(std::span<const Campo> campi) {
        for (const auto& [n, testo] : campi) EXPECT_EQ(form->Lab(n).caption(), testo) << n;
    }
    // Each code, typed and left for the field poi, shows its description and no error mark.
    struct Digitato {
        int campo;
        const char* codice;
        const char* descrizione;
    };
    void decodificano(std::span<const Digitato> casi, int poi) {
        for (const Digitato& c : casi) {
            digita(c.campo, c.codice, poi);
            EXPECT_EQ(form->Lab(c.campo).caption(), c.descrizione) << c.campo << " " << c.codice;
            EXPECT_FALSE(form->InErrore(c.campo)) << c.campo << " " << c.codice;
        }
    }

    std::string salvato(const std::string& colonna, const std::string& tabella = "TabRiba") {
        return dbtest::queryOne(file, "SELECT IFNULL(" + colonna + ", '') FROM " + tabella);
    }

    // TabCauCon holds the common accounts, the common causals and the transit accounts.
    std::string cauCon(const std::string& colonna) { return salvato(colonna, "TabCauCon"); }

    int righe(const std::string& tabella = "TabRiba") {
        return std::stoi(dbtest::queryOne(file, "SELECT COUNT(*) FROM " + tabella));
    }

    bool haFocus(const ui::Control& control) const { return form->activeControl() == &control; }

    dbtest::TempFolder folder;
    std::string file;
    frmDatiAzie* form = nullptr;
};

}  // namespace tolvane::testing

// The intermediary window on a real common database through the scripted driver: its record
// loaded and saved, its pages, field checks and save errors, and its life under the menu
// (opened by name, a failed load that never saves, close). Never shares a database.
#include "intermediary/frm_da_studio.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "common/db_comune.h"
#include "common/globali.h"
#include "db/base_database.h"
#include "db/db_connection.h"
#include "db/db_test_folder.h"
#include "startup/comandi_menu.h"
#include "startup/form_registry.h"
#include "suite/decodifiche/servizio_decodifiche.h"
#include "suite/menu/menu_client.h"
#include "ui/ui_constants.h"
#include "ui/user_input.h"
#include "ui/window_test.h"

namespace tolvane::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

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
        registraFrmDaStudio();
    }

    ~StudioTest() override {
        EXPECT_EQ(driver.pendingDescription(), "") << "script steps never used";
        if (form != nullptr && form->loaded()) form->unload();
        goDbase().ChiudiConnessione(gsIdDbase);
        gsIdDbase.clear();
        goMenuClient.reset();
        gbInChiusura = false;
        cancellaRegistroForm();
    }

    frmDaStudio& apri() {
        form = &ui::desktop().load<frmDaStudio>();
        form->show();
        return *form;
    }

    // As the menu opens it, by name with its launch keys.
    void apriDalMenu(const std::string& chiave) {
        const FormOpener* opener = formRegistrata(" FrmDaStudio ");
        ASSERT_NE(opener, nullptr);
        (*opener)({.osKeySec = chiave,
                   .osKeyLancia = "M1",
                   .osKeySecLancia = "Sec",
                   .osParamLancia = "Par",
                   .osParam = "ignorato"});
        form = ui::desktop().find<frmDaStudio>();
    }
    static bool richiesto(const std::string& richiesta) {
        const auto& richieste = goMenuClient->requests();
        return std::find(richieste.begin(), richieste.end(), richiesta) != richieste.end();
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

    // The columns of every row as stored, in the order of the rows; "NULL" for Null.
    Rows salvati(const std::string& colonne) {
        return dbtest::queryFile(file, "SELECT " + colonne + " FROM TabStudio ORDER BY rowid");
    }

    int righe() { return std::stoi(dbtest::queryOne(file, "SELECT COUNT(*) FROM TabStudio")); }

    dbtest::TempFolder folder;
    std::string file;
    frmDaStudio* form = nullptr;
};

TEST_F(StudioTest, StoredRowFillsEveryFieldFromItsColumn) {
    sql("INSERT INTO TabStudio (CodFiscIntermediario, NumIscrAlboCaf, TabStuCampo0, TabStuCampo1, "
        "TabStuCampo2, TipoFor, CodFiscFor, CognomeFor, NomeFor, ComuneNascitaFor, CapResidFor, "
        "DenominazioneFor, CapFiscFor, ComuneCaf, CodFiscRespCafProf, UltimoProt, NumCopieDichPer, "
        "NumRigheModulo, NumRigheTesta, TabStuData1, DataNascitaFor) VALUES ('12345678903', "
        "'A123', 'Mario Rossi', '02 1234', 'studio@example.it', '10', 'RSSMRA80A01H501U', "
        "'Rossi', 'Mario', 'Milano', '20100', 'Studio Srl', '00100', 'Roma', 'RSSMRA80A01H501U', "
        "'123456', '2', '66', '3', '2024-03-15', '1980-01-01')");
    sql("INSERT INTO TabStudio (CognomeFor) VALUES ('Secondo')");
    apri();
    // The fields in the order of the columns above.
    std::string mostrati;
    for (int campo : {30,   40,   35,   57,   58, 32, 2040, 3010, 3020, 3050, 3100,
                      4010, 4090, 5010, 5050, 20, 60, 70,   80,   46,   3040})
        mostrati += form->txt(campo).text() + "|";
    EXPECT_EQ(mostrati,
              "12345678903|A123|Mario Rossi|02 1234|studio@example.it|10|RSSMRA80A01H501U|Rossi|"
              "Mario|Milano|20100|Studio Srl|00100|Roma|RSSMRA80A01H501U|123456|2|66|3|15/03/2024|"
              "01/01/1980|");
    EXPECT_EQ(form->oiLoadOk(), 1);
    // Hidden columns go back as loaded; only the first row is loaded and edited.
    vaiPagina(3);
    ui::user::fill(form->txt(3010), "Bianchi");
    conferma();
    EXPECT_EQ(
        salvati("CognomeFor, UltimoProt, NumCopieDichPer, NumRigheModulo, NumRigheTesta"),
        (Rows{{"Bianchi", "123456", "2", "66", "3"}, {"Secondo", "NULL", "NULL", "NULL", "NULL"}}));
}

// What the user ticks, chooses and leaves alone on an empty table goes into one new row, which
// the next save edits.
TEST_F(StudioTest, EmptyTableShowsTheDefaultsThenSaveAddsOneRowAndEditsIt) {
    apri();
    for (int campo : {30, 20, 46, 3040}) EXPECT_EQ(form->txt(campo).text(), "") << campo;
    EXPECT_EQ(form->txt(60).text(), "1");
    EXPECT_EQ(form->txt(3030).text(), "F");
    for (int casella : {10, 55, 2020, 42, 44}) EXPECT_EQ(form->Che(casella).value(), 0) << casella;
    EXPECT_TRUE(form->OptSessoFor(1).value());
    EXPECT_FALSE(form->OptSessoFor(0).value());

    // A signature ticks its presence box; blanks untick it.
    ui::user::fill(form->txt(35), "Mario Rossi");
    ui::user::focus(form->txt(57));
    EXPECT_EQ(form->Che(55).value(), ui::check::Checked);
    EXPECT_EQ(form->txt(55).text(), "S");
    ui::user::fill(form->txt(35), "   ");
    ui::user::focus(form->txt(57));
    EXPECT_EQ(form->Che(55).value(), ui::check::Unchecked);
    EXPECT_EQ(form->txt(55).text(), "N");
    vaiPagina(3);
    ui::user::click(form->OptSessoFor(0));
    EXPECT_EQ(form->txt(3030).text(), "M");
    ui::user::click(form->OptSessoFor(1));
    EXPECT_EQ(form->txt(3030).text(), "F");
    vaiPagina(1);
    ui::user::click(form->Che(42));
    EXPECT_EQ(form->txt(42).text(), "S");
    form->Che(44).setValue(ui::check::Grayed);
    EXPECT_EQ(righe(), 0);
    conferma();
    EXPECT_EQ(salvati("TabStuCampo3, TabStuCampo4, FirmaInRicPres, TabStuCampo0, StampoPagRic,"
                      " FirmaRespCafProf, NumCopieDichPer, SessoFor, CodFiscIntermediario,"
                      " TabStuData1, CognomeFor, CapCaf"),
              (Rows{{"S", "N", "N", "   ", "N", "N", "1", "F", "NULL", "NULL", "NULL", "NULL"}}));

    vaiPagina(4);
    ui::user::fill(form->txt(4010), "Studio Beta");
    conferma();
    EXPECT_EQ(salvati("DenominazioneFor"), (Rows{{"Studio Beta"}}));
    EXPECT_EQ(form->txt(4010).text(), "Studio Beta");
    // The save sends nothing to the menu.
    for (const std::string& r : goMenuClient->requests()) EXPECT_NE(r, "Tutti.Refresh");
}

// A date column holding the no-date text shows nothing and is saved back as Null.
TEST_F(StudioTest, FlagsSexAndNoDateFollowTheirStoredTextAndAreSavedNormalised) {
    struct Caso {
        const char* colonna;
        int campo;
        const char* memorizzato;
        int casella;  // box value after the load, -1: the sex options, -2: no box
        const char* dopoCarico;
        const char* salvatoCome;
    };
    const Caso casi[] = {
        {"TabStuCampo3", 42, "s", 1, "S", "S"},
        {"TabStuCampo4", 44, "X", 0, "X", "N"},
        {"FirmaInRicPres", 55, "S", 1, "S", "S"},
        {"StampoPagRic", 10, "x", 0, "x", "N"},
        {"FirmaRespCafProf", 2020, "s", 1, "S", "S"},
        {"SessoFor", 3030, "m", -1, "M", "M"},
        {"SessoFor", 3030, "F", -1, "F", "F"},
        {"SessoFor", 3030, "X", -1, "F", "F"},
        {"SessoFor", 3030, "", -1, "F", "F"},
        {"TabStuData1", 46, "01/01/100", -2, "", "NULL"},
        {"DataNascitaFor", 3040, "0100-01-01", -2, "", "NULL"},
        {"DataNascitaFor", 3040, "01/01/0100", -2, "", "NULL"},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.colonna);
        sql("DELETE FROM TabStudio");
        sql(std::string("INSERT INTO TabStudio (") + caso.colonna + ") VALUES ('" +
            caso.memorizzato + "')");
        apri();
        if (caso.casella >= 0) {
            EXPECT_EQ(form->Che(caso.campo).value(), caso.casella);
        } else if (caso.casella == -1) {
            EXPECT_EQ(form->OptSessoFor(0).value(), std::string(caso.dopoCarico) == "M");
        }
        EXPECT_EQ(form->txt(caso.campo).text(), caso.dopoCarico);
        conferma();
        EXPECT_EQ(salvati(caso.colonna), (Rows{{caso.salvatoCome}}));
        form->unload();
    }
}

TEST_F(StudioTest, MaximumLengthsFollowTheColumnSizesAlsoOnAnEmptyTable) {
    // The shipped table with three sizes changed, and no row.
    std::string schema = dbtest::queryOne(
        file, "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = 'TabStudio'");
    for (const auto& [prima, dopo] :
         {std::pair<std::string, std::string>{"CodFiscIntermediario VARCHAR(16)",
                                              "CodFiscIntermediario VARCHAR(11)"},
          {"CodFiscRespCafProf VARCHAR(16)", "CodFiscRespCafProf TEXT"},
          {"CognomeFor VARCHAR(24)", "CognomeFor VARCHAR(30)"}}) {
        ASSERT_NE(schema.find(prima), std::string::npos) << prima;
        schema.replace(schema.find(prima), prima.size(), dopo);
    }
    ddl("DROP TABLE TabStudio");
    ddl(schema);
    apri();
    const std::pair<int, int> lunghezze[] = {
        {30, 11}, {3010, 30}, {4010, 60}, {5050, 0}, {32, 2}, {2040, 16}, {40, 5},
        {35, 40}, {57, 12},   {58, 100},  {60, 1},   {20, 1}, {46, 0},
    };
    for (const auto& [campo, lunghezza] : lunghezze) {
        EXPECT_EQ(form->txt(campo).maxLength(), lunghezza) << campo;
    }
}

bool inErrore(const ui::TextBox& campo) { return campo.backColor() == glColErrore; }

TEST_F(StudioTest, LoadShowsPageOneAndEachTabSetsUpItsPage) {
    auto soloPagina = [this](int corrente) {
        EXPECT_EQ(form->PaginaCorrente(), corrente);
        for (int pagina = 1; pagina <= 5; ++pagina) {
            EXPECT_EQ(form->PicPagine(pagina).enabled(), pagina == corrente) << pagina;
            EXPECT_EQ(form->PicPagine(pagina).visible(), pagina == corrente) << pagina;
        }
    };
    apri();
    soloPagina(1);
    // Page 1's start field is hidden: the focus goes to the page's first field.
    for (const auto& [pagina, campoConFocus] :
         {std::pair{3, 3010}, {4, 4010}, {2, 2040}, {5, 5010}, {1, 30}}) {
        SCOPED_TRACE(pagina);
        vaiPagina(pagina);
        soloPagina(pagina);
        EXPECT_EQ(form->activeControl(), &form->txt(campoConFocus));
    }
    // The tab already shown does nothing: the focus stays where the user put it.
    ui::user::focus(form->txt(57));
    form->TasPagine_Click();
    EXPECT_EQ(form->activeControl(), &form->txt(57));
    // Its keys go through the common filter: F1 shows this window's help.
    ui::user::key(*form, ui::key::F1);
    ASSERT_EQ(driver.helpShown().size(), 1u);
    EXPECT_EQ(driver.helpShown()[0].contextID, 44550);
}

TEST_F(StudioTest, FiscalCodeFieldsAreCapitalisedCheckedAndConfirmed) {
    struct Caso {
        int pagina;
        int campo;
        const char* digitato;
        int risposta;  // 0: no question expected
        const char* testo;
        bool errore;
    };
    // Eleven characters are checked as a VAT number, any other text as a fiscal code.
    const Caso casi[] = {
        {1, 30, "rssmra80a01h501u", 0, "RSSMRA80A01H501U", false},
        {1, 30, "12345678903", 0, "12345678903", false},
        {1, 30, "12345678901", 2, "12345678901", true},
        {2, 2040, "rssmra80a01h501x", 2, "RSSMRA80A01H501X", true},
        {2, 2040, "rssmra80a01h501x", 1, "RSSMRA80A01H501X", false},
        {5, 5050, "12345678903", 0, "12345678903", false},
        {5, 5050, "RSSMRA80A01H501", 2, "RSSMRA80A01H501", true},
        {5, 5050, "   ", 0, "   ", false},
    };
    apri();
    for (const Caso& caso : casi) {
        SCOPED_TRACE(std::to_string(caso.campo) + " " + caso.digitato);
        vaiPagina(caso.pagina);
        ui::user::fill(form->txt(caso.campo), caso.digitato);
        if (caso.risposta != 0) {
            driver.answerMessage("Codice Fiscale Errato.  Lo vuoi confermare?", caso.risposta);
        }
        ui::user::focus(form->comOk(3));
        EXPECT_EQ(form->txt(caso.campo).text(), caso.testo);
        EXPECT_EQ(inErrore(form->txt(caso.campo)), caso.errore);
        EXPECT_EQ(driver.pendingDescription(), "");
    }
}

TEST_F(StudioTest, HiddenNumberFieldsTakeTheErrorColourForText) {
    apri();
    const std::pair<const char*, bool> casi[] = {
        {"12", false}, {"", false}, {"  ", false}, {"1a", true}, {"x", true}};
    for (int campo : {20, 60, 70, 80}) {
        for (const auto& [testo, errore] : casi) {
            form->txt(campo).setText(testo);
            form->txt_LostFocus(campo);
            EXPECT_EQ(inErrore(form->txt(campo)), errore) << campo << " '" << testo << "'";
        }
    }
}

TEST_F(StudioTest, FieldInErrorOnAnotherPageIsShownWithItsPageAndBlocksTheSaveUntilCorrected) {
    apri();
    vaiPagina(3);
    ui::user::fill(form->txt(3040), "99/99/1980");
    vaiPagina(5);
    ui::user::fill(form->txt(5010), "Roma");
    driver.answerMessage("Ci sono dei dati errati", 1);
    ui::user::click(form->comOk(3));
    EXPECT_EQ(form->TasPagine->selectedIndex(), 3);
    EXPECT_EQ(form->PaginaCorrente(), 3);
    EXPECT_TRUE(form->PicPagine(3).enabled());
    EXPECT_FALSE(form->PicPagine(5).enabled());
    EXPECT_EQ(form->activeControl(), &form->txt(3040));
    EXPECT_EQ(driver.shown().back().title, "Dati generali");
    EXPECT_EQ(righe(), 0);

    ui::user::fill(form->txt(3040), "1/3/80");
    conferma();
    EXPECT_EQ(form->txt(3040).text(), "01/03/1980");
    EXPECT_EQ(salvati("DataNascitaFor"), (Rows{{"1980-03-01"}}));
}

TEST_F(StudioTest, DatabaseErrorShowsItsMessageAndKeepsTheTypedValues) {
    struct Caso {
        const char* nome;
        const char* preparazione;  // a change of the schema, or ""
        const char* altri;         // what another connection holds while the user saves, or ""
        const char* messaggio;
    };
    const Caso casi[] = {
        {"duplicate key", "CREATE UNIQUE INDEX TipoUnico ON TabStudio (TipoFor)", "",
         "Chiave Duplicata\r\nCambiare i valori chiave"},
        {"row written by another program", "", "BEGIN IMMEDIATE", "Dati in uso da altri"},
        {"file held by another program", "", "BEGIN EXCLUSIVE", "Archivio in uso da altri"},
    };
    const std::chrono::milliseconds attesa = goDbase().busyWait();
    goDbase().setBusyWait(std::chrono::milliseconds(10));
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        sql("INSERT INTO TabStudio (TipoFor, CognomeFor) VALUES ('01', 'Rossi')");
        sql("INSERT INTO TabStudio (TipoFor) VALUES ('10')");
        if (*caso.preparazione) ddl(caso.preparazione);
        apri();
        ui::user::fill(form->txt(32), "10");
        vaiPagina(4);
        ui::user::fill(form->txt(4010), "Studio Gamma");
        std::optional<dbtest::OtherConnection> altri;
        if (*caso.altri) altri.emplace(file, caso.altri);
        driver.answerMessage(caso.messaggio, 1);
        ui::user::click(form->comOk(3));
        altri.reset();
        // The error is the last thing shown: no success message follows it.
        EXPECT_EQ(driver.shown().back().text, caso.messaggio);
        EXPECT_EQ(form->txt(32).text(), "10");
        EXPECT_EQ(form->txt(4010).text(), "Studio Gamma");
        EXPECT_EQ(form->Rs().StatoEditRs(form->RsStudio()), editstate::None);
        EXPECT_EQ(salvati("TipoFor, DenominazioneFor"), (Rows{{"01", "NULL"}, {"10", "NULL"}}));
        // With the obstacle gone, the same typed values are stored at the next confirmation.
        ddl("DROP INDEX IF EXISTS TipoUnico");
        conferma();
        EXPECT_EQ(salvati("TipoFor, DenominazioneFor"),
                  (Rows{{"10", "Studio Gamma"}, {"10", "NULL"}}));
        form->unload();
        sql("DELETE FROM TabStudio");
    }
    goDbase().setBusyWait(attesa);
}

TEST_F(StudioTest, RowDeletedByOthersIsStoredAgainAndThenEdited) {
    sql("INSERT INTO TabStudio (CognomeFor) VALUES ('Rossi')");
    apri();
    sql("DELETE FROM TabStudio");
    vaiPagina(3);
    ui::user::fill(form->txt(3020), "Mario");
    driver.answerMessage("I dati sono stati cancellati", 1);
    conferma();
    EXPECT_EQ(salvati("CognomeFor, NomeFor"), (Rows{{"Rossi", "Mario"}}));
    ui::user::fill(form->txt(3020), "Luigi");
    conferma();
    EXPECT_EQ(salvati("CognomeFor, NomeFor"), (Rows{{"Rossi", "Luigi"}}));
}

TEST_F(StudioTest, MenuOpensTheWindowByNameShowsTheSameOneAgainAndPrepPassaAReportsIt) {
    sql("INSERT INTO TabStudio (CognomeFor) VALUES ('Rossi')");
    apriDalMenu("Studio");
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->visible());
    EXPECT_EQ(form->osKeySec + "|" + form->osKeyLancia + "|" + form->osKeySecLancia + "|" +
                  form->osParamLancia + "|" + form->osParam,
              "Studio|M1|Sec|Par|")
        << "the launch keys kept, the parameter not";
    EXPECT_EQ(form->txt(3010).text(), "Rossi");

    frmDaStudio* prima = form;
    vaiPagina(3);
    ui::user::fill(form->txt(3010), "Bianchi");
    apriDalMenu("Altra");
    EXPECT_EQ(form, prima);
    EXPECT_EQ(form->txt(3010).text(), "Bianchi");

    goMenuClient->setEseguiComando(EseguiComando);
    goMenuClient->EseguiComando("", "PrepPassaA");
    EXPECT_TRUE(richiesto("PassaAProgramma Dati per comunicazione annuale IVA|frmDaStudio|Studio"));
}

// Opened from the menu, a window whose load failed is not left to the user; opened otherwise,
// it never saves.
TEST_F(StudioTest, WindowWhoseLoadFailedIsReportedAndNeverSaves) {
    // The load fails before its record set opens (no table), or after (a column missing).
    for (bool tabellaPresente : {false, true}) {
        SCOPED_TRACE(tabellaPresente);
        ddl("DROP TABLE IF EXISTS TabStudio");
        if (tabellaPresente) ddl("CREATE TABLE TabStudio (CognomeFor VARCHAR(24))");
        driver.answerMessage("Errore(", 1);
        apri();
        EXPECT_EQ(form->oiLoadOk(), -1);
        EXPECT_TRUE(gbInChiusura);
        if (!tabellaPresente) ddl("CREATE TABLE TabStudio (CognomeFor VARCHAR(24))");
        driver.answerMessage("I valori NON sono stati memorizzati", 1);
        ui::user::click(form->comOk(3));
        EXPECT_EQ(righe(), 0);
        // A failed load does not run the close steps.
        gbInChiusura = false;
        form->unload();
        EXPECT_FALSE(richiesto("MostraMenu Tutti"));
    }
    ddl("DROP TABLE TabStudio");
    driver.answerMessage("Dati per comunicazione annuale IVA\r\nErrore(3146): ", 1);
    apriDalMenu("Studio");
    EXPECT_EQ(form, nullptr);
    EXPECT_TRUE(gbInChiusura);
}

// The decoding service belongs to the company form: this window's close leaves it alone.
TEST_F(StudioTest, CloseBringsTheMenuForwardUnlessTheProgramIsClosing) {
    goDecodifiche = std::make_unique<ServizioDecodifiche>(goDbase(), gsIdDbase);
    const ServizioDecodifiche* diAltri = goDecodifiche.get();
    for (bool inChiusura : {false, true}) {
        SCOPED_TRACE(inChiusura);
        apri();
        ui::user::fill(form->txt(57), "Non salvato");
        std::size_t prima = goMenuClient->requests().size();
        gbInChiusura = inChiusura;
        ui::user::click(*form->ComAnnulla);
        EXPECT_FALSE(form->loaded());
        EXPECT_FALSE(gbInChiusura);
        const auto& richieste = goMenuClient->requests();
        bool menu = std::find(richieste.begin() + static_cast<long>(prima), richieste.end(),
                              "MostraMenu Tutti") != richieste.end();
        EXPECT_EQ(menu, !inChiusura);
        EXPECT_EQ(righe(), 0);
        EXPECT_EQ(goDecodifiche.get(), diAltri);
    }
    goDecodifiche.reset();
}

}  // namespace
}  // namespace tolvane::testing

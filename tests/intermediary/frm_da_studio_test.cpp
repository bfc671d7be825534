// The intermediary window through the scripted driver: tabs and pages, field checks with their
// questions and colours, the check before saving, the save cycle and its database errors.
#include "intermediary/frm_da_studio.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "intermediary/studio_fixture.h"
#include "ui/ui_constants.h"

namespace tolvane::testing {
namespace {

const char* const kCodiceFiscale = "RSSMRA80A01H501U";
const char* const kPartitaIva = "12345678903";

bool inErrore(const ui::TextBox& campo) { return campo.backColor() == glColErrore; }

TEST_F(StudioTest, LoadShowsPageOneAndEachTabSetsUpItsPage) {
    apri();
    EXPECT_EQ(form->PaginaCorrente(), 1);
    EXPECT_TRUE(form->PicPagine(1).visible());
    EXPECT_TRUE(form->PicPagine(1).enabled());
    for (int altra = 2; altra <= 5; ++altra) EXPECT_FALSE(form->PicPagine(altra).enabled());

    struct Caso {
        int pagina;
        int campoConFocus;
    };
    // Page 1's start field is hidden: the focus goes to the page's first field.
    const Caso casi[] = {{3, 3010}, {4, 4010}, {2, 2040}, {5, 5010}, {1, 30}};
    for (const Caso& caso : casi) {
        vaiPagina(caso.pagina);
        EXPECT_EQ(form->PaginaCorrente(), caso.pagina);
        for (int pagina = 1; pagina <= 5; ++pagina) {
            EXPECT_EQ(form->PicPagine(pagina).enabled(), pagina == caso.pagina) << pagina;
            EXPECT_EQ(form->PicPagine(pagina).visible(), pagina == caso.pagina) << pagina;
        }
        EXPECT_EQ(form->activeControl(), &form->txt(caso.campoConFocus)) << caso.pagina;
    }
    // The tab already shown does nothing: the focus stays where the user put it.
    ui::user::focus(form->txt(57));
    form->TasPagine_Click();
    EXPECT_EQ(form->activeControl(), &form->txt(57));
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
        {1, 30, "rssmra80a01h501u", 0, kCodiceFiscale, false},
        {1, 30, kPartitaIva, 0, kPartitaIva, false},
        {1, 30, "12345678901", 2, "12345678901", true},
        {2, 2040, "rssmra80a01h501x", 2, "RSSMRA80A01H501X", true},
        {2, 2040, "rssmra80a01h501x", 1, "RSSMRA80A01H501X", false},
        {5, 5050, kPartitaIva, 0, kPartitaIva, false},
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
    const ui::ScriptedDriver::Shown& domanda = driver.shown().back();
    EXPECT_EQ(domanda.buttons, (std::vector<std::string>{"Sì", "No"}));
    EXPECT_EQ(domanda.title, "");
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
    EXPECT_EQ(salvato("DataNascitaFor"), "1980-03-01");
}

TEST_F(StudioTest, SignatureTicksItsPresenceBoxAndSexOptionsWriteTheirCode) {
    apri();
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
    conferma();
    EXPECT_EQ(salvato("TabStuCampo3"), "S");
    EXPECT_EQ(salvato("TabStuCampo4"), "N");
    EXPECT_EQ(salvato("FirmaInRicPres"), "N");
    EXPECT_EQ(salvato("TabStuCampo0"), "   ");
}

TEST_F(StudioTest, DatabaseErrorShowsItsMessageAndKeepsTheTypedValues) {
    struct Caso {
        const char* nome;
        const char* preparazione;  // a change of the schema, or ""
        const char* altri;         // what another connection holds while the user saves, or ""
        const char* messaggio;
        const char* titolo;
    };
    const Caso casi[] = {
        {"duplicate key", "CREATE UNIQUE INDEX TipoUnico ON TabStudio (TipoFor)", "",
         "Chiave Duplicata\r\nCambiare i valori chiave", ""},
        {"row written by another program", "", "BEGIN IMMEDIATE", "Dati in uso da altri",
         "Errore durante salvataggio"},
        {"file held by another program", "", "BEGIN EXCLUSIVE", "Archivio in uso da altri",
         "Errore durante salvataggio"},
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
        EXPECT_EQ(driver.shown().back().title, caso.titolo);
        EXPECT_EQ(form->txt(32).text(), "10");
        EXPECT_EQ(form->txt(4010).text(), "Studio Gamma");
        EXPECT_EQ(form->Rs().StatoEditRs(form->RsStudio()), editstate::None);
        EXPECT_EQ(salvato("TipoFor"), "01");
        EXPECT_EQ(salvato("DenominazioneFor"), "NULL");
        // With the obstacle gone, the same typed values are stored at the next confirmation.
        ddl("DROP INDEX IF EXISTS TipoUnico");
        conferma();
        EXPECT_EQ(salvato("TipoFor"), "10");
        EXPECT_EQ(salvato("DenominazioneFor"), "Studio Gamma");
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
    EXPECT_EQ(righe(), 1);
    EXPECT_EQ(salvato("CognomeFor"), "Rossi");
    EXPECT_EQ(salvato("NomeFor"), "Mario");
    ui::user::fill(form->txt(3020), "Luigi");
    conferma();
    EXPECT_EQ(righe(), 1);
    EXPECT_EQ(salvato("NomeFor"), "Luigi");
}

}  // namespace
}  // namespace tolvane::testing

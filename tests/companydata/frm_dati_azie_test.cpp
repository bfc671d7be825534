// The frame of frmDatiAzie and its RiBa/RID page through the scripted driver on a real company
// database: tabs and pages, first-visit loading, the save cycle, the error-colour check,
// look-ups, save errors; the RiBa file-name option, trimming and stored payment types.
#include "companydata/frm_dati_azie.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "common/globali.h"
#include "companydata/dati_azie_fixture.h"
#include "startup/form_registry.h"
#include "suite/decodifiche/lista_ricerca.h"
#include "support/error_number.h"

namespace tolvane::testing {
namespace {

class FrameTest : public DatiAzieTest {
  protected:
    FrameTest() {
        apri();
        sql("INSERT INTO PagTipi VALUES ('B', 'Ricevuta bancaria', 'S')");
        sql("INSERT INTO PagTipi VALUES ('C', 'Contanti', 'N')");
        sql("INSERT INTO PagTipi VALUES ('R', 'Rid', 'S')");
    }
    ui::OptionButton& opzione(int i) { return form->Opzioni("OptFileRiBa")(i); }
};

TEST_F(FrameTest, HeadingsStandOnTheirOwnRowsAndControlsStayInsideTheirPage) {
    struct Caso {
        int pagina;
        const char* testo;
        int campo;     // the field the label goes with
        bool accanto;  // beside the field rather than above it
    };
    const Caso casi[] = {
        {5, "IMPORTI DI RIFERIMENTO PER COMUNICAZIONE OPERAZIONI RILEVANTI AI FINI IVA:", 5077,
         false},
        {5, "PER REGISTRAZIONE VELOCE CORRISPETTIVI:", 5075, false},
        {5, "(3.000,00)", 5077, true},
        {14, "Conti di Transito:", 11000, false},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.testo);
        const ui::PictureBox& pic = form->PicPagine(c.pagina);
        const ui::Label* trovata = nullptr;
        for (const ui::Control* control : form->controls()) {
            const auto* label = dynamic_cast<const ui::Label*>(control);
            if (label != nullptr && label->caption() == c.testo) trovata = label;
        }
        ASSERT_NE(trovata, nullptr);
        EXPECT_EQ(trovata->container(), &pic);
        const ui::TextBox& campo = form->txt(c.campo);
        if (c.accanto) {
            EXPECT_EQ(trovata->top(), campo.top());
            EXPECT_GE(trovata->left(), campo.left() + campo.width());
            continue;
        }
        EXPECT_LE(trovata->top() + trovata->height(), campo.top());
        // No other field of the page shares the heading's row.
        for (const auto& [numero, altro] : form->txt) {
            if (altro->container() != &pic || !altro->visible()) continue;
            EXPECT_NE(altro->top(), trovata->top()) << numero;
        }
    }
    // Every control of these pages lies inside its picture, above the confirm button.
    for (int pagina : {5, 8, 14}) {
        const ui::PictureBox& pic = form->PicPagine(pagina);
        const ui::Control& ok = form->comOk(pagina);
        for (const ui::Control* c : form->controls()) {
            if (c == &pic || c == &ok || !c->isInside(pic) || !c->visible()) continue;
            EXPECT_GE(c->left(), 0) << c->displayName();
            EXPECT_LE(c->left() + c->width(), pic.width()) << c->displayName();
            EXPECT_LE(c->top() + c->height(), ok.top()) << c->displayName();
        }
    }
}

// Tabs show pages 0 to 12, the last one page 14; other pages raise Subscript.
TEST_F(FrameTest, EachTabShowsItsPageLoadedOnceOnTheFirstVisit) {
    sql("INSERT INTO TabRiba (RagSocDitta) VALUES ('Rossi')");
    vaiPagina(6);
    EXPECT_TRUE(form->PicPagine(6).visible());
    EXPECT_FALSE(form->PicPagine(0).visible());
    EXPECT_TRUE(haFocus(form->txt(8000)));
    EXPECT_EQ(form->txt(8000).text(), "Rossi");

    sql("UPDATE TabRiba SET RagSocDitta = 'Bianchi'");
    ui::user::fill(form->txt(8010), "Via Roma");
    vaiPagina(3);
    vaiPagina(6);
    EXPECT_EQ(form->txt(8000).text(), "Rossi");
    EXPECT_EQ(form->txt(8010).text(), "Via Roma");
    vaiPagina(frmDatiAzie::kPaginaContiTrans);
    EXPECT_TRUE(form->PicPagine(14).visible());
    for (int pagina : {-1, 13, 15}) {
        EXPECT_EQ(errorOf([&] { form->visPagina(pagina); }), errnum::Subscript) << pagina;
    }
}

// A row another page added after this one was loaded is edited, not doubled; one deleted by
// others is stored again.
TEST_F(FrameTest, SaveEditsTheOneRowAndRefreshesTheMenu) {
    vaiPagina(6);
    sql("INSERT INTO TabRiba (ProvDitta) VALUES ('MI')");
    for (const char* nome : {"Rossi", "Verdi"}) {
        ui::user::fill(form->txt(8000), nome);
        conferma(6);
        EXPECT_EQ(righe(), 1);
        EXPECT_EQ(salvato("RagSocDitta"), nome);
    }
    int refresh = 0;
    for (const std::string& r : goMenuClient->requests()) refresh += r == "Tutti.Refresh";
    EXPECT_EQ(refresh, 2);
    sql("DELETE FROM TabRiba");
    driver.answerMessage("I dati sono stati cancellati", 1);
    conferma(6);
    EXPECT_EQ(righe(), 1);
    EXPECT_EQ(salvato("RagSocDitta"), "Verdi");
    conferma(6);
    EXPECT_EQ(righe(), 1);
}

TEST_F(FrameTest, PaymentTypeThatIssuesNoBillsOrIsUnknownIsMarkedAndTheLookUpOffersNone) {
    vaiPagina(6);
    driver.answerMessage("Non è prevista l'emissione degli effetti per questo tipo di pagamento.",
                         1);
    digita(8070, "C", 8080);
    EXPECT_EQ(form->Lab(8070).caption(), "Contanti");
    EXPECT_TRUE(form->InErrore(8070));

    rifiutata(6, "CAMPO ERRATO **  I valori NON sono stati memorizzati");
    EXPECT_EQ(righe(), 0);
    EXPECT_TRUE(haFocus(form->txt(8070)));

    digita(8070, "b", 8080);
    EXPECT_FALSE(form->InErrore(8070));
    EXPECT_EQ(form->Lab(8070).caption(), "Ricevuta bancaria");
    digita(8080, "Z", 8070);
    EXPECT_EQ(form->Lab(8080).caption(), "** INESISTENTE **");
    EXPECT_TRUE(form->InErrore(8080));
    // Checked from another page, the field in error is shown with its page.
    vaiPagina(3);
    EXPECT_FALSE(form->PicPagine(6).visible());
    driver.answerMessage("CAMPO ERRATO", 1);
    EXPECT_FALSE(form->VerDati(3));
    EXPECT_EQ(form->TasPagine->selectedIndex(), 7);
    EXPECT_TRUE(form->PicPagine(6).visible());
    EXPECT_FALSE(form->PicPagine(3).visible());
    EXPECT_TRUE(haFocus(form->txt(8080)));
    digita(8080, "", 8070);
    EXPECT_FALSE(form->InErrore(8080));
    EXPECT_EQ(form->Lab(8080).caption(), "");
    conferma(6);
    EXPECT_EQ(salvato("PagTipoCli"), "b");
    // The look-up, from the button or the key, lists only the types that issue bills.
    auto sceltaPrimaRiga = [](ui::Form& f) {
        auto& lista = static_cast<frmListaRicerca&>(f);
        EXPECT_EQ(lista.NumeroRighe(), 2);
        ui::user::click(*lista.comOk);
    };
    driver.onForm("frmListaRicerca", sceltaPrimaRiga);
    ui::user::click(form->ComHlp(8070));
    EXPECT_EQ(form->txt(8070).text(), "B");
    EXPECT_EQ(form->Lab(8070).caption(), "Ricevuta bancaria");
    EXPECT_TRUE(haFocus(form->txt(8070)));

    driver.onForm("frmListaRicerca", sceltaPrimaRiga);
    ui::user::focus(form->txt(8080));
    ui::user::key(*form, ui::key::F3);
    EXPECT_EQ(form->txt(8080).text(), "B");
    // Shift+F2 and other fields open nothing.
    ui::user::key(*form, ui::key::F2, ui::shift::Shift);
    ui::user::focus(form->txt(8000));
    ui::user::key(*form, ui::key::F2);
}

// The columns of a look-up list are the user's personal setting (section "HelpRic", key the
// kind), else the kind's own.
TEST_F(FrameTest, LookUpListShowsTheColumnsThePersonalSettingNames) {
    conto("05", "01", "0003", "Cassa");
    const std::string comune = folder.file("comune.db");
    createDatabaseFromSchema(comune, schemaPath("common.sql"));
    const std::string idComune = goDbase().ApriConnessione(comune);
    goMenuClient->setDatabase(&goDbase(), idComune);
    std::vector<std::string> intestazione;
    auto primaRiga = [&](ui::Form& f) {
        auto& lista = static_cast<frmListaRicerca&>(f);
        intestazione.clear();
        for (int c = 0; c < lista.ListaRicerca->cols(); ++c)
            intestazione.push_back(lista.ListaRicerca->textMatrix(0, c));
        ui::user::click(*lista.comOk);
    };
    vaiPagina(5);
    driver.onForm("frmListaRicerca", primaRiga);
    ui::user::click(form->ComHlp(5075));
    EXPECT_EQ(intestazione, (std::vector<std::string>{"Gruppo", "Mastro", "Conto", "Descrizione"}));

    goDbase().EseguiSql(idComune,
                        "INSERT INTO Personalizzazioni (Sezione, Chiave, Login, Valore) VALUES "
                        "('HelpRic', 'Conto', '', 'Descrizione,Conto')");
    driver.onForm("frmListaRicerca", primaRiga);
    ui::user::focus(form->txt(5075));
    ui::user::key(*form, ui::key::F2);
    EXPECT_EQ(intestazione, (std::vector<std::string>{"Descrizione", "Conto"}));
    EXPECT_EQ(form->txt(5075).text(), "05010003");
    EXPECT_EQ(form->Lab(5075).caption(), "Cassa");
    goMenuClient->setDatabase(nullptr, "");
    goDbase().ChiudiConnessione(idComune);
}

TEST_F(FrameTest, EachPageLeavesItsAccountFieldsByItsOwnRule) {
    conto("05", "01", "0003", "Cassa");
    struct Caso {
        int pagina;
        int campo;
        int poi;
        const char* senzaTrattini;  // what "05010003" shows once left
        bool trattinoInErrore;      // whether "05-01-0003" is marked wrong
    };
    const Caso casi[] = {
        {3, 3180, 3190, "05010003", false},     {3, 3040, 3050, "05010003", false},
        {5, 5075, 5000, "05-01-0003", true},    {7, 93, 94, "05-01-0003", false},
        {10, 10600, 10650, "05-01-0003", true}, {10, 10650, 10600, "05-01-0003", true},
        {14, 11000, 11005, "05-01-0003", true}, {14, 11025, 11020, "05-01-0003", true},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.campo);
        vaiPagina(c.pagina);
        for (const char* digitato : {"05-01-0003", "05010003"}) {
            digita(c.campo, digitato, c.poi);
            const bool conTrattini = digitato[2] == '-';
            EXPECT_EQ(form->txt(c.campo).text(), conTrattini ? "05-01-0003" : c.senzaTrattini);
            EXPECT_EQ(form->InErrore(c.campo), conTrattini && c.trattinoInErrore) << digitato;
            EXPECT_EQ(form->Lab(c.campo).caption(), "Cassa") << digitato;
        }
    }
}

TEST_F(FrameTest, SaveErrorShowsItsMessageAndKeepsTheTypedValues) {
    struct Caso {
        const char* nome;
        const char* indice;  // a unique index on the page's table, or ""
        const char* altri;   // what another connection holds while the user saves, or ""
        const char* messaggio;
        const char* titolo;
    };
    const Caso casi[] = {
        {"duplicate key", "CREATE UNIQUE INDEX RagSocUnica ON TabRiba (RagSocDitta)", "",
         "Chiave Duplicata\r\nCambiare i valori chiave", ""},
        {"row written by another program", "", "BEGIN IMMEDIATE", "Dati in uso da altri",
         "Errore durante salvataggio"},
    };
    const std::chrono::milliseconds attesa = goDbase().busyWait();
    goDbase().setBusyWait(std::chrono::milliseconds(10));
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        if (*caso.indice) ddl(caso.indice);
        sql("INSERT INTO TabRiba (RagSocDitta) VALUES ('Alfa')");
        sql("INSERT INTO TabRiba (RagSocDitta) VALUES ('Beta')");
        vaiPagina(6);
        ui::user::fill(form->txt(8000), "Beta");
        ui::user::fill(form->txt(8010), "Via Roma");
        std::optional<dbtest::OtherConnection> altri;
        if (*caso.altri) altri.emplace(file, caso.altri);
        driver.answerMessage(caso.messaggio, 1);
        ui::user::click(form->comOk(6));
        altri.reset();
        EXPECT_EQ(driver.shown().back().title, caso.titolo);
        EXPECT_EQ(form->txt(8000).text(), "Beta");
        EXPECT_EQ(form->txt(8010).text(), "Via Roma");
        EXPECT_EQ(dbtest::queryOne(file, "SELECT COUNT(*) FROM TabRiba WHERE ViaDitta IS NULL"),
                  "2");
        EXPECT_EQ(form->Rs().StatoEditRs(form->msRsRiBa), editstate::None);
        EXPECT_EQ(ui::desktop().mousePointer(), ui::pointer::Default);

        ui::user::fill(form->txt(8000), "Gamma");
        conferma(6);
        EXPECT_EQ(
            dbtest::queryOne(file, "SELECT ViaDitta FROM TabRiba WHERE RagSocDitta = 'Gamma'"),
            "Via Roma");
        EXPECT_EQ(righe(), 2);
        ddl("DROP INDEX IF EXISTS RagSocUnica");
        sql("DELETE FROM TabRiba");
        form->unload();
        apri();
    }
    goDbase().setBusyWait(attesa);
}

TEST_F(FrameTest, FailedLoaderIsReportedOnceAndItsPageIsNeverSaved) {
    ddl("DROP TABLE TabRiba");
    driver.answerMessage("Errore(", 1);
    vaiPagina(6);
    EXPECT_TRUE(form->PaginaGuasta(6));
    EXPECT_TRUE(form->loaded());
    ddl("CREATE TABLE TabRiba (RagSocDitta VARCHAR(24), ViaDitta VARCHAR(24))");
    rifiutata(6, "I valori NON sono stati memorizzati");
    EXPECT_EQ(righe(), 0);
    vaiPagina(3);
    vaiPagina(6);
}

TEST_F(DatiAzieTest, MenuOpensTheFormByNameOnItsCompanyDatabaseAndUnloadClosesIt) {
    registraFrmDatiAzie();
    goMenuClient->SetParametro("NomeDBAzie", "", Variant(file));
    const FormOpener* opener = formRegistrata(" FrmDatiAzie ");
    ASSERT_NE(opener, nullptr);
    ApriFormArgs args;
    args.osKeySec = "DatiAzie";
    (*opener)(args);
    form = ui::desktop().find<frmDatiAzie>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->visible());
    EXPECT_EQ(form->osKeySec, "DatiAzie");
    EXPECT_EQ(goDbase().PercorsoDb(form->osIdDbase), file);
    EXPECT_TRUE(form->PaginaCaricata(0));
    cancellaRegistroForm();
    const std::string id = form->osIdDbase;
    ASSERT_TRUE(goDecodifiche);
    form->unload();
    EXPECT_FALSE(goDecodifiche);
    EXPECT_FALSE(goDbase().EsisteConnessione(id));
}

// A stored NomeRiba selects its option and is written back in capitals. Stored payment types are
// decoded without any mark, a blank one leaving its label as it was; an empty table empties both.
TEST_F(FrameTest, StoredRiBaRowSelectsItsOptionAndDecodesItsPaymentTypes) {
    struct Caso {
        const char* nomeRiba;  // nullptr: an empty table
        bool primaOpzione;
        const char* scritto;
        const char* cliente;
        const char* fornitore;
        const char* descrCliente;
        const char* descrFornitore;
    };
    const Caso casi[] = {
        {nullptr, false, "R", "", "", "", ""},
        {"d", true, "D", "Q", "r", "** INESISTENTE **", "Rid"},
        {"D", true, "D", " ", "B", "di prima", "Ricevuta bancaria"},
        {"R", false, "R", "", "", "di prima", "di prima"},
        {"", false, "R", "", "", "di prima", "di prima"},
        {"x", false, "R", "", "", "di prima", "di prima"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nomeRiba ? c.nomeRiba : "no row");
        sql("DELETE FROM TabRiba");
        if (c.nomeRiba) {
            riga("TabRiba", "RagSocDitta, NomeRiba, PagTipoCli, PagTipoFor",
                 std::string("'Rossi', '") + c.nomeRiba + "', '" + c.cliente + "', '" +
                     c.fornitore + "'");
        }
        riapri(0);
        for (int n : {8070, 8080}) form->Lab(n).setCaption("di prima");
        vaiPagina(6);
        EXPECT_EQ(opzione(0).value(), c.primaOpzione);
        EXPECT_EQ(opzione(1).value(), !c.primaOpzione);
        EXPECT_EQ(form->txt(8070).text(), c.cliente);
        EXPECT_EQ(form->Lab(8070).caption(), c.descrCliente);
        EXPECT_FALSE(form->InErrore(8070));
        EXPECT_EQ(form->Lab(8080).caption(), c.descrFornitore);
        conferma(6);
        EXPECT_EQ(righe(), 1);
        EXPECT_EQ(salvato("NomeRiba"), c.scritto);
    }
    // The last option clicked is written.
    ui::user::click(opzione(0));
    EXPECT_EQ(form->txt(8060).text(), "D");
    ui::user::click(opzione(1));
    ui::user::click(opzione(0));
    conferma(6);
    EXPECT_EQ(salvato("NomeRiba"), "D");
}

TEST_F(FrameTest, RiBaFieldsAreSavedTrimmedAndBlankFieldsEmpty) {
    vaiPagina(6);
    const Campo digitati[] = {
        {8000, "  Rossi Srl  "}, {8010, "   "}, {8050, " Firma"}, {8082, " 01234567890 "}};
    for (const auto& [n, testo] : digitati) form->txt(n).setText(testo);
    conferma(6);
    const Campo scritti[] = {
        {8000, "Rossi Srl"}, {8010, ""}, {8050, "Firma"}, {8082, "01234567890"}};
    mostrano(scritti);
    EXPECT_EQ(salvato("RagSocDitta || '|' || IFNULL(ViaDitta, '') || '|' || FirmaMitt || '|' || "
                      "CFiscPIva"),
              "Rossi Srl||Firma|01234567890");
}

}  // namespace
}  // namespace tolvane::testing

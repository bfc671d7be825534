// The general accounting page on a real company database: what a stored row shows, the first
// save of an empty table, the closing days, the leave rules of years, dates and amounts, the
// checks before a save with their messages and focus, and older databases.
#include "companydata/pagina_coge.h"

#include <gtest/gtest.h>

#include "companydata/dati_azie_fixture.h"

namespace tolvane::testing {
namespace {

class CogeTest : public DatiAzieTest {
  protected:
    void SetUp() override { apri(); }
    std::string coge(const std::string& colonna) { return salvato(colonna, "TabCoge"); }

    // A stored row that passes every check, on its page.
    void rigaValida() {
        riga("TabCoge", "AnnoCorr, DataInizCont, DataFineCont, Azzera, IvaCassaAttiva",
             "2025, #01/01/2025#, #12/31/2025#, 'N', 'N'");
        vaiPagina(5);
    }

    std::vector<int> giorniSpuntati() {
        std::vector<int> giorni;
        for (int g = 1; g <= 7; ++g) {
            if (form->CheChiu(g).value() == ui::check::Checked) giorni.push_back(g);
        }
        return giorni;
    }
};

TEST_F(CogeTest, StoredRowShowsFormattedValuesAndIsWrittenBackCleaned) {
    conto("01", "02", "003", "Corrispettivi sospesi");
    riga("TabCoge",
         "AnnoCorr, DataInizCont, DataFineCont, ApertoPrec, Azzera, AnagrInRegIva, "
         "MultiAttivita, AnnoAzzera, OpRilIvaImpConIva, OpRilIvaImpSenzaIva, GruppoSospesi, "
         "MastroSospesi, ContoSospesi, GiorniChiu, IvaCassaAttiva, IvaPerCassaDa, IvaPerCassaA",
         "2025, #01/01/2025#, #12/31/2025#, 's', 'N', 'S', 'N', 2019, 3000, 3600.5, '01', '02', "
         "'003', '1, 7', 'S', #01/01/2025#, #12/31/9999#");
    vaiPagina(5);
    const Campo campi[] = {{5000, "2025"},     {5010, "01/01/2025"}, {5020, "31/12/2025"},
                           {5030, "S"},        {5040, "N"},          {5070, "2019"},
                           {5077, "3.000,00"}, {5078, "3.600,50"},   {5075, "01-02-003"},
                           {5080, "S"},        {5085, "01/01/2025"}, {5088, "31/12/9999"}};
    mostrano(campi);
    EXPECT_EQ(form->Lab(5075).caption(), "Corrispettivi sospesi");
    EXPECT_EQ(form->Che(5030).value(), 1);
    EXPECT_EQ(form->Che(5050).value(), 1);
    EXPECT_EQ(form->Che(5060).value(), 0);
    conferma(5);
    EXPECT_EQ(righe("TabCoge"), 1);
    EXPECT_EQ(coge("ApertoPrec || GiorniChiu || '|' || AnnoAzzera || '|' || OpRilIvaImpSenzaIva"),
              "S17|2019|3600.5");
    EXPECT_EQ(coge("GruppoSospesi || '|' || MastroSospesi || '|' || ContoSospesi"), "01|02|003");
    EXPECT_EQ(coge("IvaPerCassaA"), "9999-12-31");
    // A yearly reset empties a stored numbering year and keeps it empty.
    soloRiga(5, "TabCoge", "AnnoCorr, DataInizCont, DataFineCont, Azzera, AnnoAzzera",
             "2025, #01/01/2025#, #12/31/2025#, 'S', 2020");
    EXPECT_EQ(form->Che(5040).value(), 1);
    EXPECT_EQ(form->txt(5070).text(), "");
    EXPECT_FALSE(form->txt(5070).enabled());
    conferma(5);
    EXPECT_EQ(coge("IFNULL(AnnoAzzera, 'vuoto') || Azzera"), "vuotoS");

    ui::user::click(form->Che(5040));
    EXPECT_TRUE(form->txt(5070).enabled());
    digita(5070, "2021", 5000);
    ui::user::click(form->Che(5040));
    EXPECT_EQ(form->txt(5070).text(), "");
    EXPECT_FALSE(form->txt(5070).enabled());
}

// Clicked closing days are stored in ascending order.
TEST_F(CogeTest, StoredClosingDaysAndCashVatCodeSetTheirControls) {
    struct Caso {
        const char* giorni;
        std::vector<int> spuntati;
        const char* scritto;
        const char* cassa;
        int posizione;
    };
    const Caso casi[] = {{"1, 7", {1, 7}, "17", "s", 1},
                         {"08", {}, "08", "N", 0},
                         {"9x3", {3}, "9x3", "a", 2},
                         {"", {}, "", "", -1},
                         {"7,1", {1, 7}, "71", "x", -1}};
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.giorni);
        soloRiga(5, "TabCoge",
                 "AnnoCorr, DataInizCont, DataFineCont, GiorniChiu, IvaCassaAttiva, IvaPerCassaDa, "
                 "IvaPerCassaA",
                 std::string("2025, #01/01/2025#, #12/31/2025#, '") + c.giorni + "', '" + c.cassa +
                     "', #01/01/2025#, #12/31/9999#");
        EXPECT_EQ(giorniSpuntati(), c.spuntati);
        EXPECT_EQ(form->Combo(5080).listIndex(), c.posizione);
        EXPECT_EQ(form->txt(5080).text(), c.cassa);
        conferma(5);
        EXPECT_EQ(coge("GiorniChiu"), c.scritto);
    }
    for (int giorno : {1, 7, 5, 2}) ui::user::click(form->CheChiu(giorno));
    conferma(5);
    EXPECT_EQ(coge("GiorniChiu"), "25");
}

// An empty table takes the typed year's dates; then leaving years, dates and amounts rewrites
// or marks them.
TEST_F(CogeTest, FirstSaveTakesTheYearsDatesAndLeavingFieldsRewritesOrMarksThem) {
    struct Caso {
        int campo;
        const char* digitato;
        const char* mostrato;
        bool errore;
        const char* fine;  // the end date shown after it
    };
    const char* kFine = "31/12/2025";
    const Caso casi[] = {
        {5070, "2019", "2019", false, kFine},
        {5070, "29", "2029", false, kFine},
        {5070, "30", "1930", false, kFine},
        {5070, "abc", "abc", true, kFine},
        {5070, "-5", "-0005", true, kFine},
        {5070, "0", "2000", false, kFine},
        {5070, "", "", false, kFine},
        {5077, "1234,5", "1.234,50", false, kFine},
        {5010, "01/07/2024", "01/07/2024", true, kFine},  // not the current year
        {5010, "31/02/2025", "31/02/2025", true, kFine},
        {5010, "1/7/25", "01/07/2025", false, "30/06/2026"},
    };
    vaiPagina(5);
    digita(5000, "2025", 5070);
    EXPECT_EQ(form->txt(5010).text(), "01/01/2025");
    EXPECT_EQ(form->txt(5020).text(), "31/12/2025");
    driver.answerMessage("E' stata modificata la data di fine anno contabile", 1);
    conferma(5);
    EXPECT_EQ(righe("TabCoge"), 1);
    EXPECT_EQ(coge("AnnoCorr || '|' || DataInizCont || '|' || DataFineCont || '|' || Azzera"),
              "2025|2025-01-01|2025-12-31|N");
    for (const Caso& c : casi) {
        SCOPED_TRACE(std::to_string(c.campo) + " " + c.digitato);
        digita(c.campo, c.digitato, 5000);
        EXPECT_EQ(form->txt(c.campo).text(), c.mostrato);
        EXPECT_EQ(form->InErrore(c.campo), c.errore);
        EXPECT_EQ(form->txt(5020).text(), c.fine);
    }
    digita(5075, "0102004", 5000);
    EXPECT_EQ(form->Lab(5075).caption(), "** INESISTENTE **");
    digita(5075, "", 5000);
    EXPECT_EQ(form->Lab(5075).caption(), "");
    // The end date was renewed with the start date: no warning on saving.
    conferma(5);
    EXPECT_EQ(coge("DataFineCont || '|' || OpRilIvaImpConIva || '|' || IFNULL(GruppoSospesi, '') "
                   "|| '|' || IFNULL(ContoSospesi, '')"),
              "2026-06-30|1234.5||");
}

TEST_F(CogeTest, ChecksRefuseWithTheirMessageAndFocusAVisibleControl) {
    struct Caso {
        std::vector<std::pair<int, const char*>> campi;
        const char* messaggio;  // nullptr: the boundary values pass; "": refused unsaid
        int focus;              // field; the combo when it is 5080, the box when 5040
    };
    const Caso casi[] = {
        {{{5000, ""}}, "L'anno corrente è obbligatorio", 5000},
        {{{5010, ""}}, "(Coge) La data inizio è obbligatoria", 5010},
        {{{5020, ""}}, "(Coge) La data fine è obbligatoria", 5020},
        {{{5000, "2024"}},
         "(Coge) L'anno corrente e l'anno della data di inizio periodo devono essere uguali",
         5010},
        {{{5080, "S"}}, "(Coge) La data inizio IVA per CASSA è obbligatoria", 5080},
        {{{5085, "15/01/2025"}, {5088, "31/12/2025"}},
         "(Coge) La data inizio IVA per CASSA deve essere il primo del mese",
         5080},
        {{{5085, "01/01/2025"}, {5088, "15/11/2025"}},
         "(Coge) La data fine IVA per CASSA deve essere l'ultimo giono del mese",
         5080},
        {{{5085, "01/01/2025"}},
         "(Coge) La data fine IVA per CASSA è obbligatoria (es. 31/12/9999)",
         5088},
        {{{5088, "31/12/2025"}},
         "(Coge) NON ha senso impostare La data fine IVA per CASSA se non è impostata quella di "
         "inizio",
         5088},
        {{{5095, "31/12/2025"}},
         "(Coge) NON ha senso impostare La data fine Proced.Concorsuale se non è impostata quella "
         "di inizio",
         5095},
        {{{5085, "01/12/2025"}, {5088, "30/11/2025"}},
         "(Coge) La data fine IVA per CASSA deve essere maggiore di quella di inizio",
         5088},
        {{{5090, "02/12/2025"}, {5095, "01/12/2025"}},
         "(Coge) La data fine Proced.Concorsuale deve essere maggiore di quella di inizio",
         5095},
        {{{5070, "abc"}}, "", 5070},
        {{{5040, "S"}, {5070, "2020"}}, "", 5070},
        {{{5080, "S"}, {5085, "01/01/2025"}, {5088, "31/12/9999"}}, nullptr, 0},
        {{{5085, "01/11/2025"}, {5088, "30/11/2025"}}, nullptr, 0},
        {{{5085, "01/02/2024"}, {5088, "29/02/2024"}}, nullptr, 0},
        {{{5090, "15/03/2025"}, {5095, "15/03/2025"}}, nullptr, 0},
        {{{5090, "15/03/2025"}}, nullptr, 0},
    };
    rigaValida();
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.messaggio ? c.messaggio : ::testing::PrintToString(c.campi));
        for (const auto& [campo, testo] : c.campi) form->txt(campo).setText(testo);
        if (c.messaggio == nullptr) {
            EXPECT_TRUE(form->VerDati(5));
            riapri(5);
            continue;
        }
        if (*c.messaggio) driver.answerMessage(c.messaggio, 1);
        ASSERT_FALSE(form->VerDati(5));
        if (!*c.messaggio) {
            EXPECT_TRUE(form->InErrore(5070));
        }
        const ui::Control& atteso = c.focus == 5080   ? static_cast<ui::Control&>(form->Combo(5080))
                                    : c.focus == 5040 ? static_cast<ui::Control&>(form->Che(5040))
                                                      : form->txt(c.focus);
        EXPECT_TRUE(haFocus(atteso))
            << (form->activeControl() ? form->activeControl()->displayName() : std::string("none"));
        riapri(5);
    }
}

// Any number is a start-of-numbering year the page keeps; a stored text that is no number is
// refused in the error colour, with no message, until the user types a year.
TEST_F(CogeTest, StoredNumberingYearIsSavedUnlessItIsNoNumber) {
    struct Caso {
        const char* salvato;
        const char* mostrato;
        bool rifiutato;
    };
    const Caso casi[] = {{"12", "12", false}, {"'2019'", "2019", false}, {"'abc'", "abc", true}};
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.salvato);
        soloRiga(5, "TabCoge", "AnnoCorr, DataInizCont, DataFineCont, Azzera, AnnoAzzera",
                 std::string("2025, #01/01/2025#, #12/31/2025#, 'N', ") + c.salvato);
        EXPECT_EQ(form->txt(5070).text(), c.mostrato);
        if (!c.rifiutato) {
            conferma(5);
            EXPECT_EQ(coge("AnnoAzzera"), c.mostrato);
            EXPECT_FALSE(form->InErrore(5070));
            continue;
        }
        ui::user::click(form->comOk(5));
        EXPECT_TRUE(form->InErrore(5070));
        EXPECT_TRUE(haFocus(form->txt(5070)));
        EXPECT_EQ(coge("AnnoAzzera"), c.mostrato);
        digita(5070, "2020", 5000);
        EXPECT_FALSE(form->InErrore(5070));
        conferma(5);
        EXPECT_EQ(coge("AnnoAzzera"), "2020");
    }
}

TEST_F(CogeTest, FailedLoadPutsTheLoadingFlagBack) {
    ddl("DROP TABLE PianoConti");
    driver.answerMessage("", 1);
    vaiPagina(5);
    EXPECT_TRUE(form->PaginaGuasta(5));
    EXPECT_FALSE(form->mbCaricaCoge);
    ui::user::click(form->CheChiu(3));
    EXPECT_EQ(form->msGiorniChiu, "3");
}

TEST_F(CogeTest, OlderDatabaseDisablesTheFieldsWithoutColumnsAndSavesTheRest) {
    databaseVecchio({"TabCoge.IvaCassaAttiva", "TabCoge.IvaPerCassaDa", "TabCoge.IvaPerCassaA",
                     "TabCoge.DataProcConcDa", "TabCoge.DataProcConcA", "TabCoge.GiorniChiu",
                     "TabCoge.GruppoSospesi", "TabCoge.MastroSospesi", "TabCoge.ContoSospesi"});
    riga("TabCoge", "AnnoCorr, DataInizCont, DataFineCont", "2025, #01/01/2025#, #12/31/2025#");
    vaiPagina(5);
    EXPECT_FALSE(form->PaginaGuasta(5));
    for (int n : {5085, 5088, 5090, 5095, 5075}) EXPECT_FALSE(form->txt(n).enabled()) << n;
    EXPECT_FALSE(form->Combo(5080).enabled());
    EXPECT_FALSE(form->ComHlp(5075).enabled());
    EXPECT_FALSE(form->CheChiu(1).enabled());
    EXPECT_TRUE(form->txt(5070).enabled());
    ui::user::click(form->Che(5050));
    conferma(5);
    EXPECT_EQ(coge("AnagrInRegIva"), "S");
}

}  // namespace
}  // namespace tolvane::testing

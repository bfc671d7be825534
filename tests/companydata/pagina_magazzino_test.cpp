// The warehouse and barcode page on a real company database: the first save of an empty table
// with the leave rules of year and dates, a stored row with its mirrors and barcode type, the
// supplier-for-production account with and without its columns, and the checks before a save.
#include "companydata/pagina_magazzino.h"

#include <gtest/gtest.h>

#include "companydata/dati_azie_fixture.h"

namespace tolvane::testing {
namespace {

const char kDomanda[] = "Cambiare la data di inizio validità";

class MagazzinoTest : public DatiAzieTest {
  protected:
    void SetUp() override {
        apri();
        codici();
    }

    // An empty TabMagazzino with one warehouse and one price list.
    void codici() {
        sql("DELETE FROM TabMagazzino");
        sql("DELETE FROM Magazzini");
        sql("DELETE FROM Listini");
        sql("INSERT INTO Magazzini VALUES ('M1', 'Sede')");
        sql("INSERT INTO Listini (Listino, Descrizione) VALUES ('L1', 'Base')");
    }

    // The page loaded again from the only row, which passes every check.
    void rigaValida(const std::string& colonne = "", const std::string& valori = "") {
        soloRiga(7, "TabMagazzino",
                 "AnnoCorr, DataInizio, DataFine, MagPrincipale, ListinoPrincipale, UsoDateLis, "
                 "QualeDataLis, DataListino" +
                     colonne,
                 "2025, #01/01/2025#, #12/31/2025#, 'M1', 'L1', 'S', 'D', #01/01/2025#" + valori);
    }

    std::string mag(const std::string& colonna) { return salvato(colonna, "TabMagazzino"); }
    ui::ComboBox& barre() { return *form->cobTipoCodBarre; }
};

TEST_F(MagazzinoTest, EmptyTableTakesTheTypedYearAndDatesAndTheFirstSaveAddsOneRow) {
    vaiPagina(7);
    EXPECT_TRUE(form->txt(92).enabled());
    digita(45, "2024", 46);
    digita(46, "01/03/2023", 48);
    EXPECT_TRUE(form->InErrore(46));
    EXPECT_EQ(form->txt(92).text(), "31/12/2024");
    // A year on from the last day of February.
    digita(46, "29/02/2024", 48);
    EXPECT_FALSE(form->InErrore(46));
    EXPECT_EQ(form->txt(92).text(), "27/02/2025");
    digita(51, "M1", 52);
    digita(52, "L1", 65);
    digita(65, "01/02/2025", 66);
    EXPECT_EQ(form->Lab(51).caption(), "Sede");
    conferma(7);
    EXPECT_EQ(righe("TabMagazzino"), 1);
    EXPECT_EQ(mag("AnnoCorr || '|' || DataInizio || '|' || DataFine || '|' || Segnalazione || '|' "
                  "|| NumEtic || '|' || QualeDataLis || '|' || PercRicListClie"),
              "2024|2024-02-29|2025-02-27|S|1|D|0.0");
    EXPECT_EQ(mag("GruppoProd || MastroProd || ContoProd"), "");
}

TEST_F(MagazzinoTest, StoredRowFillsFieldsMirrorsAndDescriptionsAndItsCodesSelectTheirItems) {
    conto("04", "01", "000007", "Fornitore interno");
    rigaValida(
        ", UsoCodBarre, GenAutCodBarre, KeyRicDDT, NumDecQta, GruppoProd, MastroProd, ContoProd, "
        "PercRicListClie, UltStampaGio",
        ", 's', 'N', '1', 3, '04', '01', '000007', 12.5, #03/31/2025#");
    const Campo campi[] = {{45, "2025"}, {46, "01/01/2025"},  {92, "31/12/2025"},
                           {47, "S"},    {74, "N"},           {55, "1"},
                           {57, "3"},    {94, "12,5"},        {63, "31/03/2025"},
                           {73, ""},     {93, "04-01-000007"}};
    const Campo descrizioni[] = {{51, "Sede"}, {52, "Base"}, {93, "Fornitore interno"}};
    mostrano(campi);
    descrivono(descrizioni);
    EXPECT_EQ(form->Che(47).value(), ui::check::Checked);
    EXPECT_EQ(form->Che(74).value(), ui::check::Unchecked);
    EXPECT_EQ(form->Combo(55).listIndex(), 1);
    EXPECT_FALSE(form->txt(92).enabled());
    conferma(7);
    EXPECT_EQ(mag("UsoCodBarre || GruppoProd || MastroProd || ContoProd"), "S0401000007");
    EXPECT_EQ(mag("PercRicListClie"), "12.5");
    // The barcode type is written as its item's code; a low-stock value outside the items is
    // kept.
    struct Caso {
        const char* tipo;
        int voce;
        const char* tipoScritto;
        const char* segnalazione;
        int voceSegnalazione;
    };
    const Caso casi[] = {{"e8", 1, "E8", "F", 3},
                         {"1", 0, "13", "X", -1},
                         {"", -1, "", "F", 3},
                         {"ZZ", -1, "ZZ", "X", -1}};
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.tipo);
        rigaValida(", TipoCodBarre, Segnalazione",
                   std::string(", '") + c.tipo + "', '" + c.segnalazione + "'");
        EXPECT_EQ(barre().listIndex(), c.voce);
        EXPECT_EQ(form->txt(49).text(), c.tipoScritto);
        EXPECT_EQ(form->Combo(58).listIndex(), c.voceSegnalazione);
        conferma(7);
        EXPECT_EQ(mag("TipoCodBarre"), c.tipoScritto);
        EXPECT_EQ(mag("Segnalazione"), c.segnalazione);
    }
    // Delete empties the barcode type, unless shifted.
    rigaValida(", TipoCodBarre", ", '39'");
    ui::user::focus(barre());
    ui::user::key(*form, ui::key::Delete, ui::shift::Shift);
    EXPECT_EQ(form->txt(49).text(), "39");
    EXPECT_EQ(barre().listIndex(), 3);
    ui::user::key(*form, ui::key::Delete);
    EXPECT_EQ(form->txt(49).text(), "");
    EXPECT_EQ(barre().listIndex(), -1);
    ui::user::choose(barre(), 4);
    EXPECT_EQ(form->txt(49).text(), "UA");
}

TEST_F(MagazzinoTest, WithoutTheProductionAccountColumnsTheFieldIsHiddenAndNotWritten) {
    databaseVecchio(
        {"TabMagazzino.GruppoProd", "TabMagazzino.MastroProd", "TabMagazzino.ContoProd"});
    codici();
    rigaValida();
    EXPECT_FALSE(form->bEsisteContoProd);
    EXPECT_FALSE(form->txt(93).visible());
    EXPECT_FALSE(form->Lab(93).visible());
    EXPECT_FALSE(form->ComHlp(93).visible());
    EXPECT_FALSE(form->findControl("LabFornProd")->visible());
    EXPECT_EQ(form->Lab(51).caption(), "Sede");
    form->txt(94).setText("3");
    conferma(7);
    EXPECT_EQ(mag("PercRicListClie"), "3.0");
}

TEST_F(MagazzinoTest, ChecksRefuseWithTheirMessageAndFocus) {
    struct Caso {
        std::vector<std::pair<int, const char*>> campi;
        const char* messaggio;
        int focus;  // field; the combo when it is 64, the box when 82
    };
    const Caso casi[] = {
        {{{45, ""}}, "L' anno corrente è obbligatorio", 45},
        {{{46, ""}}, "La data inizio è obbligatoria", 46},
        {{{46, "01/01/2024"}},
         "L'anno corrente e l'anno della data di inizio periodo devono essere uguali",
         46},
        {{{73, "129"}},
         "La lunghezza del codice a barre non può essere maggiore di 128 caratteri",
         73},
        {{{51, ""}}, "Il magazzino principale è obbligatorio", 51},
        {{{52, " "}}, "Il listino principale è obbligatorio", 52},
        {{{82, "N"}, {64, "G"}},
         "Se 'Utilizzo data inizio validità listino' = NO, \r\n'Quale data per inizio listino' = "
         "D Predefinita",
         64},
        {{{82, "n"}, {65, ""}},
         "Se 'Utilizzo data inizio validità listino' = NO, \r\nva impostata e lasciata FISSA la "
         "data inizio listino",
         65},
        {{{65, ""}}, "La data predefinita di inizio validità del listino è obbligatoria", 82},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.messaggio);
        rigaValida(", LungCodBarre", ", 128");
        ui::user::focus(form->txt(66));  // no leave rule mends what the case breaks
        for (const auto& [campo, testo] : c.campi) form->txt(campo).setText(testo);
        rifiutata(7, c.messaggio);
        const ui::Control& atteso = c.focus == 64   ? static_cast<ui::Control&>(form->Combo(64))
                                    : c.focus == 82 ? static_cast<ui::Control&>(form->Che(82))
                                                    : form->txt(c.focus);
        EXPECT_TRUE(haFocus(atteso));
        EXPECT_EQ(driver.messageTexts().back(), c.messaggio);
        EXPECT_EQ(mag("LungCodBarre || AnnoCorr"), "1282025");
    }
}

// A fixed price-list date asks before it changes, unless none was stored; No keeps the row.
TEST_F(MagazzinoTest, FixedPriceListDateChangeAsksAndNoKeepsTheRow) {
    for (const char* memorizzata : {"NULL", "#01/01/0100#"}) {
        SCOPED_TRACE(memorizzata);
        soloRiga(7, "TabMagazzino",
                 "AnnoCorr, DataInizio, MagPrincipale, ListinoPrincipale, UsoDateLis, "
                 "QualeDataLis, DataListino",
                 std::string("2025, #01/01/2025#, 'M1', 'L1', 'N', 'D', ") + memorizzata);
        form->txt(65).setText("01/06/2025");
        conferma(7);
        EXPECT_EQ(mag("DataListino"), "2025-06-01");
    }
    form->txt(65).setText("01/07/2025");
    driver.answerMessage(kDomanda, "&No");
    ui::user::click(form->comOk(7));
    EXPECT_TRUE(haFocus(form->Che(82)));
    EXPECT_EQ(mag("DataListino"), "2025-06-01");

    driver.answerMessage(kDomanda, "&Sì");
    conferma(7);
    EXPECT_EQ(mag("DataListino"), "2025-07-01");
    // The row now holds the new date: saving it again asks nothing.
    conferma(7);
}

}  // namespace
}  // namespace tolvane::testing

// The orders and quotations page on a real company database: the TabFatt and TabAcq rows with
// their descriptions, the copies never stored as 0, the two passes of one confirmation, and the
// one TabFatt row that this page shares with the invoicing page.
#include "companydata/pagina_ord_prev.h"

#include <gtest/gtest.h>

#include <string>

#include "companydata/dati_azie_fixture.h"

namespace tolvane::testing {
namespace {

class OrdPrevTest : public DatiAzieTest {
  protected:
    void SetUp() override {
        apri();
        sql("INSERT INTO FattDocumenti VALUES ('OV', 'Ordine vendita', 'O', 'N', 'N')");
        sql("INSERT INTO FattDocumenti VALUES ('OI', 'Ordine interno', 'O', 'S', 'N')");
        sql("INSERT INTO FattDocumenti VALUES ('OA', 'Ordine fornitore', 'A', 'N', 'N')");
        sql("INSERT INTO FattDocumenti VALUES ('PR', 'Preventivo', 'P', 'N', 'N')");
        sql("INSERT INTO Listini VALUES ('L1', 'Listino acquisti', 'EUR')");
        sql("INSERT INTO Vettori (Vettore, RagSoc) VALUES ('V01', 'Trasporti Rossi')");
    }

    std::string fatt(const std::string& colonna) { return salvato(colonna, "TabFatt"); }
    std::string acq(const std::string& colonna) { return salvato(colonna, "TabAcq"); }
    void salva(int pagina) {
        vaiPagina(pagina);
        conferma(pagina);
    }
    bool spuntata() { return form->Che(9060).value() == ui::check::Checked; }
    using DatiAzieTest::digita;
    void digita(int campo, const std::string& testo) { digita(campo, testo, 9070); }
};

TEST_F(OrdPrevTest, EmptyTablesShowNothingAndTheFirstSaveAddsBothRowsWithOneCopy) {
    form->Lab(9040).setCaption("di prima");
    vaiPagina(9);
    for (int n : {9000, 9020, 9080, 9110}) EXPECT_EQ(form->txt(n).text(), "") << n;
    EXPECT_EQ(form->Lab(9040).caption(), "");
    conferma(9);
    EXPECT_EQ(righe("TabFatt"), 1);
    EXPECT_EQ(righe("TabAcq"), 1);
    for (const char* c : {"NumCopieOrd", "NumCopiePrev"}) EXPECT_EQ(fatt(c), "1") << c;
    EXPECT_EQ(acq("NrCopie"), "1");
    EXPECT_EQ(acq("StArtFor"), "N");
    conferma(9);
    EXPECT_EQ(righe("TabFatt"), 1);
    EXPECT_EQ(righe("TabAcq"), 1);
}

TEST_F(OrdPrevTest, StoredRowsShowTheirColumnsAndDescriptions) {
    sql("INSERT INTO TabFatt (DocOrd, DocOrdInt, NumCopieOrd, DocPrev, NumCopiePrev, "
        "NomeFiltroOrd) VALUES ('OV', 'ZZ', 2, 'PR', 3, 'filtro')");
    sql("INSERT INTO TabAcq VALUES ('OA', 'L1', 'V01', 's', 'Fornitura', 4)");
    vaiPagina(9);
    const Mostrato campi[] = {{9000, "OV"}, {9010, "ZZ"},  {9020, "2"},         {9030, "OA"},
                              {9040, "L1"}, {9050, "V01"}, {9070, "Fornitura"}, {9080, "4"},
                              {9100, "PR"}, {9110, "3"}};
    mostrano(campi);
    // Stored codes are decoded as typed ones are; an unknown one shows no description.
    EXPECT_EQ(form->Lab(9000).caption(), "Ordine vendita");
    EXPECT_EQ(form->Lab(9010).caption(), "");
    EXPECT_TRUE(spuntata());
    conferma(9);
    EXPECT_EQ(acq("StArtFor"), "S");
    EXPECT_EQ(fatt("NomeFiltroOrd"), "filtro");
    ui::user::click(form->Che(9060));
    EXPECT_EQ(form->txt(9060).text(), "N");
    conferma(9);
    EXPECT_EQ(acq("StArtFor"), "N");
}

TEST_F(OrdPrevTest, CopiesOfZeroBecomeOneOnLeavingPurchaseCopiesAndOnSavingAll) {
    vaiPagina(9);
    struct Caso {
        int campo;
        const char* digitato;
        const char* dopoUscita;
        const char* colonna;
        const char* tabella;
        const char* scritto;
    };
    const Caso casi[] = {
        {9020, "0", "0", "NumCopieOrd", "TabFatt", "1"},
        {9080, "0", "1", "NrCopie", "TabAcq", "1"},
        {9110, "", "", "NumCopiePrev", "TabFatt", "1"},
        {9110, "5", "5", "NumCopiePrev", "TabFatt", "5"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.campo);
        digita(c.campo, c.digitato);
        EXPECT_EQ(form->txt(c.campo).text(), c.dopoUscita);
        conferma(9);
        EXPECT_EQ(salvato(c.colonna, c.tabella), c.scritto);
    }
}

TEST_F(OrdPrevTest, TypedCodesAreDecodedWithinTheirKindAndNotMarkedInError) {
    vaiPagina(9);
    const Mostrato casi[] = {
        {9000, "OV", "Ordine vendita"},    {9000, "OI", "** INESISTENTE **"},
        {9010, "OI", "Ordine interno"},    {9030, "OA", "Ordine fornitore"},
        {9030, "OV", "** INESISTENTE **"}, {9040, "L1", "Listino acquisti"},
        {9050, "V01", "Trasporti Rossi"},  {9100, "PR", "Preventivo"},
    };
    decodificano(casi, 9070);
}

TEST_F(OrdPrevTest, AFailedSalesPassStoresNeitherRowAFailedPurchasePassKeepsTheSalesRow) {
    vaiPagina(9);
    form->txt(9000).setText("OV");
    form->txt(9020).setText("99999");
    form->txt(9030).setText("OA");
    driver.answerMessage("Errore(6)", 1);
    ui::user::click(form->comOk(9));
    EXPECT_EQ(righe("TabFatt"), 0);
    EXPECT_EQ(righe("TabAcq"), 0);

    form->txt(9020).setText("2");
    form->txt(9070).setText(std::string(101, 'x'));
    driver.answerMessage("Qualche dato non è accettabile", 1);
    ui::user::click(form->comOk(9));
    EXPECT_EQ(righe("TabFatt"), 1);
    EXPECT_EQ(fatt("NumCopieOrd"), "2");
    EXPECT_EQ(righe("TabAcq"), 0);

    form->txt(9070).setText("Fornitura");
    conferma(9);
    EXPECT_EQ(righe("TabFatt"), 1);
    EXPECT_EQ(acq("Oggetto"), "Fornitura");
}

// Pages 8 and 9 keep their own record sets on the one row of TabFatt: whichever saves second
// edits the row the first one added, and neither clears the other's columns.
TEST_F(OrdPrevTest, InvoicingAndOrderPagesShareTheOneRowOfTabFatt) {
    for (bool fatturaPrima : {true, false}) {
        SCOPED_TRACE(fatturaPrima ? "page 8 first" : "page 9 first");
        sql("DELETE FROM TabFatt");
        riapri(8);
        form->txt(7010).setText("AB");
        form->txt(7040).setText("2");
        vaiPagina(9);
        form->txt(9000).setText("OV");
        form->txt(9020).setText("3");
        if (fatturaPrima) salva(8);
        salva(9);
        if (!fatturaPrima) salva(8);
        EXPECT_EQ(righe("TabFatt"), 1);
        EXPECT_EQ(fatt("ElePrefDdt"), "AB");
        EXPECT_EQ(fatt("NumCopieBolle"), "2");
        EXPECT_EQ(fatt("RagDdt"), "S");
        EXPECT_EQ(fatt("DocOrd"), "OV");
        EXPECT_EQ(fatt("NumCopieOrd"), "3");
        EXPECT_EQ(fatt("NumCopiePrev"), "1");

        // Later saves edit the same row again, each page its own columns.
        form->txt(9110).setText("4");
        salva(9);
        form->txt(7040).setText("5");
        salva(8);
        EXPECT_EQ(righe("TabFatt"), 1);
        EXPECT_EQ(fatt("NumCopiePrev"), "4");
        EXPECT_EQ(fatt("NumCopieBolle"), "5");
    }
}

}  // namespace
}  // namespace tolvane::testing

// The invoicing page and the orders and quotations page, which share the one row of TabFatt,
// on a real company database: stored rows with their descriptions, the mirrors of flags and
// coded choices, the prefix check, the copies never stored as 0, the hub password enciphered by
// the menu program, the two passes of one confirmation of the orders page.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "companydata/dati_azie_fixture.h"
#include "companydata/pagina_fatt.h"
#include "companydata/pagina_ord_prev.h"

namespace tolvane::testing {
namespace {

// A cipher whose texts a test can write down: "cifra(" + plain + ")".
class CifraLeggibile : public Cipher {
  public:
    std::string encipher(const std::string& plain) override { return "cifra(" + plain + ")"; }
    std::string decipher(const std::string& text) override {
        if (text.rfind("cifra(", 0) != 0 || text.back() != ')') throw std::runtime_error(text);
        return text.substr(6, text.size() - 7);
    }
};

class TabFattTest : public DatiAzieTest {
  protected:
    void SetUp() override {
        apri();
        sql("INSERT INTO FattDocumenti VALUES ('B1', 'Ddt clienti', 'B', 'N', 'N')");
        sql("INSERT INTO FattDocumenti VALUES ('BI', 'Ddt interni', 'B', 'S', 'N')");
        sql("INSERT INTO FattDocumenti VALUES ('F1', 'Fattura', 'F', 'N', 'N')");
        sql("INSERT INTO FattDocumenti VALUES ('FA', 'Fattura accompagnatoria', 'F', 'N', 'S')");
        sql("INSERT INTO FattDocumenti VALUES ('D1', 'Fattura dettaglio', 'D', 'N', 'N')");
        sql("INSERT INTO FattDocumenti VALUES ('OV', 'Ordine vendita', 'O', 'N', 'N')");
        sql("INSERT INTO FattDocumenti VALUES ('OI', 'Ordine interno', 'O', 'S', 'N')");
        sql("INSERT INTO FattDocumenti VALUES ('OA', 'Ordine fornitore', 'A', 'N', 'N')");
        sql("INSERT INTO FattDocumenti VALUES ('PR', 'Preventivo', 'P', 'N', 'N')");
        sql("INSERT INTO CauTrasporti VALUES ('V', 'Vendita')");
        sql("INSERT INTO AspettoBeni VALUES ('SC', 'Scatole')");
        sql("INSERT INTO Trasporti VALUES ('M', 'Mittente')");
        sql("INSERT INTO CodiciIva VALUES ('22', 'Iva 22%', 22, 0)");
        sql("INSERT INTO Listini VALUES ('L1', 'Listino acquisti', 'EUR')");
        sql("INSERT INTO Vettori (Vettore, RagSoc) VALUES ('V01', 'Trasporti Rossi')");
    }

    // The menu program holds this plain hub password for the company; call before a visit.
    void passwordDelMenu(const std::string& password) {
        menuClient("FEHubPwd_Fat=" + password + "\n");
        goMenuClient->setCipher(std::make_unique<CifraLeggibile>());
    }

    std::string fatt(const std::string& colonna) { return salvato(colonna, "TabFatt"); }
    std::string acq(const std::string& colonna) { return salvato(colonna, "TabAcq"); }
    void salva(int pagina) {
        vaiPagina(pagina);
        conferma(pagina);
    }
    using DatiAzieTest::digita;
    // Left for a field of the same page that has no leave rule.
    void digita(int campo, const std::string& testo) {
        digita(campo, testo, campo < 9000 ? 7210 : 9070);
    }
    bool spuntata(int n) { return form->Che(n).value() == ui::check::Checked; }
};

TEST_F(TabFattTest, StoredRowShowsItsColumnsFlagsAndCodesAndClicksWriteThemBack) {
    sql("INSERT INTO TabFatt (DocDdt, DocBolInt, DocFatt, DocFattAcc, CauTrasporto, AspettoBene,"
        " Trasporto, CodIvaFattDett, ElePrefDdt, PrefDdt, NumCopieBolle, TestoOnlus, FEHubLogin1,"
        " ScontoQta, Onlus, RigaDaEva2, StRifCli) VALUES ('B1', 'BI', 'F1', 'XX', 'V', 'SC', 'M',"
        " '22', 'AB', 'A', 2, 'Onlus srl', 'io', 's', 'X', 'S', 'N')");
    vaiPagina(8);
    const Campo campi[] = {{7002, "B1"},        {7005, "BI"}, {7045, "F1"}, {7050, "XX"},
                           {7060, "V"},         {7065, "SC"}, {7070, "M"},  {7190, "22"},
                           {7010, "AB"},        {7015, "A"},  {7040, "2"},  {7055, ""},
                           {7080, "Onlus srl"}, {7210, "io"}};
    const Campo descrizioni[] = {
        {7002, "Ddt clienti"}, {7005, "Ddt interni"}, {7045, "Fattura"},  {7050, ""},
        {7060, "Vendita"},     {7065, "Scatole"},     {7070, "Mittente"}, {7190, ""}};
    mostrano(campi);
    descrivono(descrizioni);
    EXPECT_TRUE(spuntata(7000));
    EXPECT_FALSE(spuntata(7075));
    EXPECT_TRUE(spuntata(7130));
    EXPECT_FALSE(spuntata(7180));
    ui::user::click(form->Che(7180));
    ui::user::click(form->Che(7130));
    conferma(8);
    const std::pair<const char*, const char*> attesi[] = {
        {"ScontoQta", "S"}, {"Onlus", "X"}, {"RigaDaEva2", "N"}, {"StRifCli", "S"}};
    for (const auto& [colonna, valore] : attesi) EXPECT_EQ(fatt(colonna), valore) << colonna;
    // Stored codes set the combos; only leaving a combo rewrites its code.
    struct Caso {
        const char* colonna;
        int combo;
        const char* memorizzato;
        int posizione;
    };
    const Caso casi[] = {
        {"RagDdt", 7020, "a", 2},     {"RagDdt", 7020, "Z", 0},    {"DoveEleDdt", 7025, "f", 1},
        {"DoveEleDdt", 7025, "X", 0}, {"ContFatt", 7042, "d", 1},  {"ContFatt", 7042, "Q", 0},
        {"ComeEva", 7155, "s", 1},    {"ComeEva", 7155, "", 0},    {"StRifOrd", 7185, "p", 2},
        {"StRifOrd", 7185, "", -1},   {"StRifOrd", 7185, "Z", -1},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(std::string(c.colonna) + "=" + c.memorizzato);
        soloRiga(8, "TabFatt", std::string("ElePrefDdt, ") + c.colonna,
                 std::string("'A', '") + c.memorizzato + "'");
        EXPECT_EQ(form->Combo(c.combo).listIndex(), c.posizione);
        EXPECT_EQ(form->txt(c.combo).text(), c.memorizzato);
    }
    ui::user::choose(form->Combo(7185), 3);
    ui::user::focus(form->txt(7210));
    EXPECT_EQ(form->txt(7185).text(), "O");
    ui::user::focus(form->Combo(7020));
    ui::user::focus(form->txt(7210));
    EXPECT_EQ(form->txt(7020).text(), "S");
}

// Left, empty prefixes and copies are corrected; saved, the main prefix must be in the list.
TEST_F(TabFattTest, PrefixesAndCopiesAreCorrectedAndTheMainPrefixMustBeInTheList) {
    vaiPagina(8);
    struct Uscita {
        int campo;
        const char* digitato;
        const char* dopo;
    };
    const Uscita uscite[] = {
        {7010, "", "."},  {7010, "AB", "AB"},  {7015, "", "A"},
        {7015, "B", "B"}, {7040, "0", "1"},    {7040, "", "1"},
        {7040, "3", "3"}, {7055, "zero", "1"}, {7040, "99999", "99999"},
    };
    // Too many copies are left as typed: the save refuses them, as on the orders page.
    for (const Uscita& c : uscite) {
        digita(c.campo, c.digitato);
        EXPECT_EQ(form->txt(c.campo).text(), c.dopo) << c.campo << " " << c.digitato;
    }
    struct Caso {
        const char* elenco;
        const char* principale;
        bool accettato;
        const char* elencoScritto;
        const char* principaleScritto;
    };
    const Caso casi[] = {
        {"ABC", "b", true, "ABC", "b"}, {"ABC", "X", false, "", ""}, {"", "", true, ".", "."},
        {"   ", " ", true, ".", "."},   {"XY", "", true, "XY", "X"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(std::string(c.elenco) + "/" + c.principale);
        sql("DELETE FROM TabFatt");
        riapri(8);
        form->txt(7010).setText(c.elenco);
        form->txt(7015).setText(c.principale);
        if (c.accettato) {
            conferma(8);
            EXPECT_EQ(fatt("ElePrefDdt"), c.elencoScritto);
            EXPECT_EQ(fatt("PrefDdt"), c.principaleScritto);
        } else {
            driver.answerMessage(
                "Il Prefisso DDT principale DEVE essere compreso nell'elenco dei prefissi", 1);
            ui::user::click(form->comOk(8));
            EXPECT_EQ(righe("TabFatt"), 0);
            EXPECT_EQ(form->activeControl(), &form->txt(7015));
        }
    }
}

TEST_F(TabFattTest, HubPasswordIsShownFromTheMenuAndStoredEnciphered) {
    struct Caso {
        const char* delMenu;
        const char* memorizzata;  // FEHubPwd1 before the visit
        const char* digitata;     // nullptr: the field is left as shown
        const char* attesa;       // FEHubPwd1 after the save
    };
    const Caso casi[] = {
        {"segreta", "cifra(segreta)", nullptr, "cifra(segreta)"},
        {"segreta", "cifra(segreta)", "", ""},
        {"segreta", "cifra(segreta)", "nuova", "cifra(nuova)"},
        {"", "", nullptr, ""},
        {"", "", "prima", "cifra(prima)"},
        // The menu program does not know the stored password: saving keeps it until the user
        // types another one.
        {"", "cifra(vecchia)", nullptr, "cifra(vecchia)"},
        {"", "cifra(vecchia)", "nuova", "cifra(nuova)"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(std::string(c.delMenu) + "/" + c.memorizzata + "/" +
                     (c.digitata ? c.digitata : "-"));
        passwordDelMenu(c.delMenu);
        soloRiga(8, "TabFatt", "ElePrefDdt, FEHubPwd1",
                 std::string("'A', '") + c.memorizzata + "'");
        EXPECT_EQ(form->txt(7225).text(), c.delMenu);
        EXPECT_EQ(form->txt(7220).text(), c.memorizzata);
        EXPECT_EQ(form->txt(7225).passwordChar(), "*");
        EXPECT_FALSE(form->txt(7220).visible());
        if (c.digitata != nullptr) digita(7225, c.digitata);
        conferma(8);
        EXPECT_EQ(fatt("FEHubPwd1"), c.attesa);
    }
    // A typed password emptied again is stored as none.
    digita(7225, "");
    conferma(8);
    EXPECT_EQ(fatt("FEHubPwd1"), "");
}

// Copies are never stored as 0: purchase copies become one on leaving, all of them on saving.
TEST_F(TabFattTest, OrdersRowsAreLoadedEmptyOrStoredAndCopiesOfZeroBecomeOne) {
    form->Lab(9040).setCaption("di prima");
    vaiPagina(9);
    for (int n : {9000, 9020, 9080, 9110}) EXPECT_EQ(form->txt(n).text(), "") << n;
    EXPECT_EQ(form->Lab(9040).caption(), "");
    conferma(9);
    EXPECT_EQ(fatt("NumCopieOrd || NumCopiePrev"), "11");
    EXPECT_EQ(acq("NrCopie || StArtFor"), "1N");
    digita(9020, "0");
    digita(9080, "0");
    digita(9110, "5");
    const Campo lasciati[] = {{9020, "0"}, {9080, "1"}, {9110, "5"}};
    mostrano(lasciati);
    conferma(9);
    EXPECT_EQ(fatt("NumCopieOrd || NumCopiePrev") + acq("NrCopie"), "151");
    EXPECT_EQ(righe("TabFatt"), 1);
    EXPECT_EQ(righe("TabAcq"), 1);
    // Stored rows show their columns.
    sql("DELETE FROM TabFatt");
    sql("DELETE FROM TabAcq");
    sql("INSERT INTO TabFatt (DocOrd, DocOrdInt, NumCopieOrd, DocPrev, NumCopiePrev, "
        "NomeFiltroOrd) VALUES ('OV', 'ZZ', 2, 'PR', 3, 'filtro')");
    sql("INSERT INTO TabAcq VALUES ('OA', 'L1', 'V01', 's', 'Fornitura', 4)");
    riapri(9);
    const Campo campi[] = {{9000, "OV"}, {9010, "ZZ"},  {9020, "2"},         {9030, "OA"},
                           {9040, "L1"}, {9050, "V01"}, {9070, "Fornitura"}, {9080, "4"},
                           {9100, "PR"}, {9110, "3"}};
    mostrano(campi);
    // Stored codes are decoded as typed ones are; an unknown one shows no description.
    EXPECT_EQ(form->Lab(9000).caption(), "Ordine vendita");
    EXPECT_EQ(form->Lab(9010).caption(), "");
    EXPECT_TRUE(spuntata(9060));
    conferma(9);
    EXPECT_EQ(acq("StArtFor"), "S");
    EXPECT_EQ(fatt("NomeFiltroOrd"), "filtro");
    ui::user::click(form->Che(9060));
    EXPECT_EQ(form->txt(9060).text(), "N");
    conferma(9);
    EXPECT_EQ(acq("StArtFor"), "N");
}

TEST_F(TabFattTest, TypedDocumentTypesAreDecodedWithinTheirKindAndNotMarkedInError) {
    vaiPagina(8);
    const Digitato fatture[] = {
        {7002, "B1", "Ddt clienti"},       {7002, "BI", "** INESISTENTE **"},
        {7005, "BI", "Ddt interni"},       {7045, "D1", "Fattura dettaglio"},
        {7045, "FA", "** INESISTENTE **"}, {7050, "FA", "Fattura accompagnatoria"},
        {7190, "22", "Iva 22%"},
    };
    decodificano(fatture, 7210);
    vaiPagina(9);
    const Digitato ordini[] = {
        {9000, "OV", "Ordine vendita"},    {9000, "OI", "** INESISTENTE **"},
        {9010, "OI", "Ordine interno"},    {9030, "OA", "Ordine fornitore"},
        {9030, "OV", "** INESISTENTE **"}, {9040, "L1", "Listino acquisti"},
        {9050, "V01", "Trasporti Rossi"},  {9100, "PR", "Preventivo"},
    };
    decodificano(ordini, 9070);
}

TEST_F(TabFattTest, OrdersAFailedSalesPassStoresNeitherRowAFailedPurchasePassKeepsTheSalesRow) {
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
TEST_F(TabFattTest, InvoicingAndOrderPagesShareTheOneRowOfTabFatt) {
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
        EXPECT_EQ(fatt("ElePrefDdt || NumCopieBolle || RagDdt || '|' || DocOrd || NumCopieOrd || "
                       "NumCopiePrev"),
                  "AB2S|OV31");

        // Later saves edit the same row again, each page its own columns.
        form->txt(9110).setText("4");
        salva(9);
        form->txt(7040).setText("5");
        salva(8);
        EXPECT_EQ(righe("TabFatt"), 1);
        EXPECT_EQ(fatt("NumCopiePrev || NumCopieBolle"), "45");
    }
}

}  // namespace
}  // namespace tolvane::testing

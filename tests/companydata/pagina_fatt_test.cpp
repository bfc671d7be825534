// The invoicing page on a real company database: the defaults an empty table saves, a stored row
// with its descriptions, the mirrors of flags and coded choices, the prefix check, the copies
// and the hub password enciphered by the menu program.
#include "companydata/pagina_fatt.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "companydata/dati_azie_fixture.h"

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

class FattTest : public DatiAzieTest {
  protected:
    void SetUp() override {
        apri();
        sql("INSERT INTO FattDocumenti VALUES ('B1', 'Ddt clienti', 'B', 'N', 'N')");
        sql("INSERT INTO FattDocumenti VALUES ('BI', 'Ddt interni', 'B', 'S', 'N')");
        sql("INSERT INTO FattDocumenti VALUES ('F1', 'Fattura', 'F', 'N', 'N')");
        sql("INSERT INTO FattDocumenti VALUES ('FA', 'Fattura accompagnatoria', 'F', 'N', 'S')");
        sql("INSERT INTO FattDocumenti VALUES ('D1', 'Fattura dettaglio', 'D', 'N', 'N')");
        sql("INSERT INTO CauTrasporti VALUES ('V', 'Vendita')");
        sql("INSERT INTO AspettoBeni VALUES ('SC', 'Scatole')");
        sql("INSERT INTO Trasporti VALUES ('M', 'Mittente')");
        sql("INSERT INTO CodiciIva VALUES ('22', 'Iva 22%', 22, 0)");
    }

    // The menu program holds this plain hub password for the company; call before a visit.
    void passwordDelMenu(const std::string& password) {
        menuClient("FEHubPwd_Fat=" + password + "\n");
        goMenuClient->setCipher(std::make_unique<CifraLeggibile>());
    }

    std::string fatt(const std::string& colonna) { return salvato(colonna, "TabFatt"); }
    using DatiAzieTest::digita;
    void digita(int campo, const std::string& testo) { digita(campo, testo, 7210); }
    bool spuntata(int n) { return form->Che(n).value() == ui::check::Checked; }
};

TEST_F(FattTest, EmptyTableGivesTheFirstSaveOneRowOfDefaults) {
    vaiPagina(8);
    conferma(8);
    EXPECT_EQ(righe("TabFatt"), 1);
    const std::pair<const char*, const char*> attesi[] = {
        {"ScontoQta", "N"},    {"RagDdt", "S"},          {"DoveEleDdt", "I"},
        {"ContFatt", "D"},     {"StScontoPagDett", "S"}, {"StRifCli", "S"},
        {"StRifOrd", "S"},     {"ComeEva", "U"},         {"Onlus", ""},
        {"ElePrefDdt", "."},   {"PrefDdt", "."},         {"NumCopieBolle", "1"},
        {"NumCopieFatt", "1"}, {"FEHubPwd1", ""},        {"DocDdt", ""},
    };
    for (const auto& [colonna, valore] : attesi) EXPECT_EQ(fatt(colonna), valore) << colonna;
}

TEST_F(FattTest, StoredRowShowsItsColumnsDescriptionsAndFlagsAndClicksWriteThemBack) {
    sql("INSERT INTO TabFatt (DocDdt, DocBolInt, DocFatt, DocFattAcc, CauTrasporto, AspettoBene,"
        " Trasporto, CodIvaFattDett, ElePrefDdt, PrefDdt, NumCopieBolle, TestoOnlus, FEHubLogin1,"
        " ScontoQta, Onlus, RigaDaEva2, StRifCli) VALUES ('B1', 'BI', 'F1', 'XX', 'V', 'SC', 'M',"
        " '22', 'AB', 'A', 2, 'Onlus srl', 'io', 's', 'X', 'S', 'N')");
    vaiPagina(8);
    const Mostrato campi[] = {{7002, "B1", "Ddt clienti"},  {7005, "BI", "Ddt interni"},
                              {7045, "F1", "Fattura"},      {7050, "XX", ""},
                              {7060, "V", "Vendita"},       {7065, "SC", "Scatole"},
                              {7070, "M", "Mittente"},      {7190, "22", ""},
                              {7010, "AB", nullptr},        {7015, "A", nullptr},
                              {7040, "2", nullptr},         {7055, "", nullptr},
                              {7080, "Onlus srl", nullptr}, {7210, "io", nullptr}};
    mostrano(campi);
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
}

TEST_F(FattTest, StoredCodesSetTheCombosAndOnlyLeavingTheComboRewritesThem) {
    struct Caso {
        const char* colonna;
        int combo;
        const char* memorizzato;
        int posizione;
    };
    const Caso casi[] = {
        {"RagDdt", 7020, "a", 2},     {"RagDdt", 7020, "C", 5},     {"RagDdt", 7020, "Z", 0},
        {"DoveEleDdt", 7025, "f", 1}, {"DoveEleDdt", 7025, "X", 0}, {"ContFatt", 7042, "N", 2},
        {"ContFatt", 7042, "d", 1},   {"ContFatt", 7042, "Q", 0},   {"ComeEva", 7155, "s", 1},
        {"ComeEva", 7155, "N", 2},    {"ComeEva", 7155, "", 0},     {"StRifOrd", 7185, "p", 2},
        {"StRifOrd", 7185, "O", 3},   {"StRifOrd", 7185, "N", 0},   {"StRifOrd", 7185, "", -1},
        {"StRifOrd", 7185, "Z", -1},
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

TEST_F(FattTest, MainPrefixMustBeInTheListOfPrefixes) {
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

TEST_F(FattTest, LeavingPrefixesAndCopiesCorrectsThem) {
    vaiPagina(8);
    struct Caso {
        int campo;
        const char* digitato;
        const char* dopo;
    };
    const Caso casi[] = {
        {7010, "", "."},  {7010, "AB", "AB"},  {7015, "", "A"},
        {7015, "B", "B"}, {7040, "0", "1"},    {7040, "", "1"},
        {7040, "3", "3"}, {7055, "zero", "1"}, {7040, "99999", "99999"},
    };
    // Too many copies are left as typed: the save refuses them, as on the orders page.
    for (const Caso& c : casi) {
        digita(c.campo, c.digitato);
        EXPECT_EQ(form->txt(c.campo).text(), c.dopo) << c.campo << " " << c.digitato;
    }
}

TEST_F(FattTest, TypedDocumentTypesAreDecodedWithinTheirKind) {
    vaiPagina(8);
    const Mostrato casi[] = {
        {7002, "B1", "Ddt clienti"},       {7002, "BI", "** INESISTENTE **"},
        {7005, "BI", "Ddt interni"},       {7045, "D1", "Fattura dettaglio"},
        {7045, "FA", "** INESISTENTE **"}, {7050, "FA", "Fattura accompagnatoria"},
        {7190, "22", "Iva 22%"},
    };
    decodificano(casi, 7210);
}

TEST_F(FattTest, HubPasswordIsShownFromTheMenuAndStoredEnciphered) {
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

}  // namespace
}  // namespace tolvane::testing

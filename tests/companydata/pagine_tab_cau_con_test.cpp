// The three pages stored in TabCauCon on a real company database: common accounts, common
// causals and professional transit accounts; codes and accounts shown with their descriptions,
// split back into their columns, the required and wrong-type checks, and older databases.
#include <gtest/gtest.h>

#include "companydata/dati_azie_fixture.h"
#include "companydata/pagina_causa_com.h"
#include "companydata/pagina_conti_com.h"
#include "companydata/pagina_conti_trans.h"

namespace tolvane::testing {
namespace {

struct Colonna {
    int campo;
    const char* colonna;
};
const Colonna kColonne[] = {
    {4000, "CausFatt"},          {4010, "CausNC"},       {4020, "CausFattSosp"},
    {4030, "CausNCSosp"},        {4040, "CausAnticipi"}, {4050, "CausArr"},
    {4060, "CausOmaggi"},        {4070, "CausIncasso"},  {4080, "SaldaCauIncassi"},
    {4090, "SaldaCauPagamenti"}, {4100, "CauChiuEco"},   {4110, "CauChiuPatr"},
    {4120, "CauApertura"},       {4130, "CausRit"},      {4132, "CauGirIva"},
    {4134, "SpesaCassaPrev"},
};

class TabCauConTest : public DatiAzieTest {
  protected:
    void SetUp() override {
        apri();
        sql("INSERT INTO Causali VALUES ('FE', 'Fattura emessa', '')");
        sql("INSERT INTO Causali VALUES ('CE', 'Chiusura economici', 'ch')");
        sql("INSERT INTO Causali VALUES ('AP', 'Apertura conti', 'AP')");
        sql("INSERT INTO Spese VALUES ('CP', 'Cassa previdenza', 'S')");
        sql("INSERT INTO Spese VALUES ('BO', 'Bolli', 'N')");
    }

    void riempiObbligatori() {
        form->txt(3000).setText("01");
        form->txt(3010).setText("02");
        form->txt(3020).setText("03");
        form->txt(3030).setText("04");
    }
};

// Typed and left, they are decoded the same way; a mastro goes with its group.
TEST_F(TabCauConTest, StoredAccountsShowAsGroupMastroAccountWithTheirDescriptions) {
    conto("01", "02", "003", "Merci vendute");
    conto("09", "09", "009", "Split payment");
    sql("INSERT INTO Gruppi VALUES ('05', 'Clienti')");
    sql("INSERT INTO Mastri VALUES ('05', '01', 'Clienti Italia')");
    sql("INSERT INTO Mastri VALUES ('06', '01', 'Fornitori Italia')");
    sql("INSERT INTO TabCauCon (GruppoClienti, MastroClienti, GruppoFornitori, MastroFornitori, "
        "GruppoVen, MastroVen, ContoVen, GruppoAcq, GruppoIvaVen, MastroIvaVen, "
        "GruppoIvaAcq, MastroIvaAcq, ContoIvaAcq, GruppoIvaSplit, MastroIvaSplit, ContoIvaSplit, "
        "GruppoRitAccVen, MastroRitAccVen, ContoRitAccVen) VALUES ('05', '01', '77', '01', "
        "'01', '02', '003', '01', '01', '02', '', '', '', '09', '09', '009', "
        "'01', '02', '003')");
    form->Lab(3050).setCaption("di prima");
    vaiPagina(3);
    const Campo campi[] = {{3000, "05"},        {3010, "01"},        {3020, "77"},
                           {3030, "01"},        {3040, "01-02-003"}, {3050, "01--"},
                           {3060, "01-02-"},    {3070, ""},          {3080, ""},
                           {3315, "09-09-009"}, {3290, "01-02-003"}};
    const Campo descrizioni[] = {{3000, "Clienti"},
                                 {3010, "Clienti Italia"},
                                 {3040, "Merci vendute"},
                                 {3315, "Split payment"},
                                 {3290, "Merci vendute"}};
    mostrano(campi);
    descrivono(descrizioni);
    for (int n : {3020, 3030, 3050, 3060, 3070, 3080}) EXPECT_EQ(form->Lab(n).caption(), "") << n;
    const Digitato casi[] = {{3180, "0102999", "** INESISTENTE **"},
                             {3180, "", ""},
                             {3000, "05", "Clienti"},
                             {3010, "01", "Clienti Italia"}};
    decodificano(casi, 3190);
    digita(3000, "06", 3020);
    EXPECT_EQ(form->Lab(3010).caption(), "Fornitori Italia");
}

TEST_F(TabCauConTest, FirstSaveNeedsGroupsAndMastriAndSplitsAccountsWithAndWithoutDashes) {
    struct Vuoti {
        std::vector<int> campi;
        int focus;
        const char* messaggio;
    };
    const Vuoti vuoti[] = {
        {{3000, 3030}, 3000, "Il gruppo clienti è obbligatorio"},
        {{3010, 3020}, 3010, "Il mastro clienti è obbligatorio"},
        {{3020}, 3020, "Il gruppo fornitori è obbligatorio"},
        {{3030}, 3030, "Il mastro fornitori è obbligatorio"},
    };
    vaiPagina(3);
    EXPECT_TRUE(haFocus(form->txt(3000)));
    for (const Vuoti& v : vuoti) {
        SCOPED_TRACE(v.messaggio);
        riempiObbligatori();
        for (int n : v.campi) form->txt(n).setText("");
        rifiutata(3, v.messaggio);
        EXPECT_TRUE(haFocus(form->txt(v.focus)));
        EXPECT_EQ(righe("TabCauCon"), 0);
    }
    riempiObbligatori();
    struct Caso {
        int campo;
        const char* testo;
        const char* suffisso;
        const char* salvato;  // group|mastro|account, Null as empty
    };
    const Caso casi[] = {
        {3040, "01-02-0003", "Ven", "01|02|0003"},
        {3050, "01020003", "Acq", "01|02|0003"},
        {3060, "01", "IvaVen", "01||"},
        {3070, "01-02", "IvaAcq", "01|02|"},
        {3080, "", "IvaSosC", "||"},
        {3290, "0708000009", "RitAccVen", "07|08|000009"},
        {3300, "07-08-9", "RitAcc", "07|08|9"},
        {3315, "1112", "IvaSplit", "11|12|"},
    };
    for (const Caso& c : casi) digita(c.campo, c.testo, 3000);
    conferma(3);
    EXPECT_EQ(righe("TabCauCon"), 1);
    EXPECT_EQ(cauCon("GruppoClienti || MastroClienti || GruppoFornitori || MastroFornitori"),
              "01020304");
    for (const Caso& c : casi) {
        const std::string s = c.suffisso;
        EXPECT_EQ(cauCon("IFNULL(Gruppo" + s + ",'') || '|' || IFNULL(Mastro" + s +
                         ",'') || '|' || IFNULL(Conto" + s + ",'')"),
                  c.salvato)
            << c.campo;
    }
}

TEST_F(TabCauConTest, OlderDatabaseWithoutSalesWithholdingLoadsAndSavesTheRest) {
    databaseVecchio(
        {"TabCauCon.GruppoRitAccVen", "TabCauCon.MastroRitAccVen", "TabCauCon.ContoRitAccVen"});
    sql("INSERT INTO TabCauCon (GruppoClienti, MastroClienti, GruppoFornitori, MastroFornitori, "
        "GruppoRitAcc, MastroRitAcc, ContoRitAcc, GruppoPerdCambio, MastroPerdCambio, "
        "ContoPerdCambio) VALUES ('01', '02', '03', '04', '05', '06', '007', '08', '09', '010')");
    vaiPagina(3);
    EXPECT_FALSE(form->PaginaGuasta(3));
    EXPECT_EQ(form->txt(3300).text(), "05-06-007");
    EXPECT_EQ(form->txt(3280).text(), "08-09-010");
    EXPECT_FALSE(form->txt(3290).enabled());
    EXPECT_FALSE(form->ComHlp(3290).enabled());
    form->txt(3300).setText("15-16-017");
    conferma(3);
    EXPECT_EQ(cauCon("GruppoRitAcc || MastroRitAcc || ContoRitAcc"), "1516017");
    EXPECT_EQ(righe("TabCauCon"), 1);
}

TEST_F(TabCauConTest, TransitAccountsShowWithDescriptionsAndTypedOnesAreSplitOnSave) {
    conto("05", "10", "002", "Onorari");
    conto("05", "10", "003", "Altri ricavi");
    sql("INSERT INTO TabCauCon (GruTrOnorario, MasTrOnorario, ConTrOnorario, GruTrAltriRic, "
        "MasTrAltriRic, ConTrAltriRic, GruTransCosti, GruTrCassaRit, MasTrCassaRit, "
        "ConTrCassaRit, CausFatt) "
        "VALUES ('05', '10', '002', '05', '10', '003', '07', '05', '10', '999', 'FE')");
    vaiPagina(frmDatiAzie::kPaginaContiTrans);
    // The first field has the focus, so it shows its editing form.
    const Campo campi[] = {{11000, "0510002"}, {11005, "05-10-003"}, {11010, ""},
                           {11015, "07--"},    {11020, "05-10-999"}, {11025, ""}};
    mostrano(campi);
    EXPECT_EQ(form->Lab(11000).caption(), "Onorari");
    EXPECT_EQ(form->Lab(11005).caption(), "Altri ricavi");
    for (int n : {11010, 11015, 11020, 11025}) EXPECT_EQ(form->Lab(n).caption(), "") << n;
    digita(11005, "", 11010);
    digita(11010, "0510", 11015);
    digita(11025, "9998000001", 11000);
    conferma(frmDatiAzie::kPaginaContiTrans);
    EXPECT_EQ(righe("TabCauCon"), 1);
    const std::pair<const char*, const char*> salvati[] = {
        {"TrOnorario", "05|10|002"}, {"TrAltriRic", "||"},        {"TrRitAcconto", "05|10|"},
        {"TransCosti", "07||"},      {"TrCassaRit", "05|10|999"}, {"TransAntic", "99|98|000001"}};
    for (const auto& [suffisso, atteso] : salvati) {
        const std::string s = suffisso;
        EXPECT_EQ(cauCon("IFNULL(Gru" + s + ",'') || '|' || IFNULL(Mas" + s +
                         ",'') || '|' || IFNULL(Con" + s + ",'')"),
                  atteso)
            << s;
    }
    EXPECT_EQ(cauCon("CausFatt"), "FE");
}

// The common accounts, loaded before, then save the same row.
TEST_F(TabCauConTest, CausalsEmptyTableShowsEmptyCodesAndTheFirstSaveAddsTheRow) {
    form->Lab(4000).setCaption("di prima");
    vaiPagina(3);
    vaiPagina(4);
    for (const Colonna& c : kColonne) EXPECT_EQ(form->txt(c.campo).text(), "") << c.campo;
    EXPECT_EQ(form->Lab(4000).caption(), "di prima");
    EXPECT_TRUE(haFocus(form->txt(4000)));
    // The focused field is left, and decoded, by the click on the confirm button.
    auto codice = [](int campo) {
        return campo == 4000 ? std::string("FE") : std::to_string(campo % 1000);
    };
    for (const Colonna& c : kColonne) form->txt(c.campo).setText(codice(c.campo));
    conferma(4);
    EXPECT_EQ(righe("TabCauCon"), 1);
    for (const Colonna& c : kColonne) EXPECT_EQ(cauCon(c.colonna), codice(c.campo));
    vaiPagina(3);
    riempiObbligatori();
    conferma(3);
    EXPECT_EQ(righe("TabCauCon"), 1);
    EXPECT_EQ(cauCon("CausFatt || GruppoClienti"), "FE01");
}

// Left, a code is marked when unknown or of the wrong type for its field.
TEST_F(TabCauConTest, CausalsShowStoredCodesWriteEmptiedOnesAndCheckTheLeftOnes) {
    sql("INSERT INTO TabCauCon (CausFatt, CausNCSosp, CauChiuEco, CauApertura, CausRit, "
        "SpesaCassaPrev, CauGirIva) VALUES ('FE', 'fe', 'CE', 'ZZ', NULL, 'CP', 'BO')");
    vaiPagina(4);
    const Campo campi[] = {{4000, "FE"}, {4030, "fe"}, {4100, "CE"}, {4120, "ZZ"},
                           {4130, ""},   {4134, "CP"}, {4132, "BO"}};
    const Campo descrizioni[] = {{4000, "Fattura emessa"},
                                 {4030, "Fattura emessa"},
                                 {4100, "Chiusura economici"},
                                 {4134, "Cassa previdenza"}};
    mostrano(campi);
    descrivono(descrizioni);
    for (int n : {4120, 4130, 4132}) EXPECT_EQ(form->Lab(n).caption(), "") << n;
    for (int n : {4000, 4030, 4100, 4120, 4130, 4132, 4134}) EXPECT_FALSE(form->InErrore(n)) << n;
    form->txt(4030).setText("");
    form->txt(4020).setText("FS");
    conferma(4);
    EXPECT_EQ(righe("TabCauCon"), 1);
    EXPECT_EQ(cauCon("CausFatt || '|' || IFNULL(CausNCSosp, '') || '|' || CausFattSosp"), "FE||FS");
    struct Caso {
        int campo;
        const char* codice;
        const char* messaggio;  // "" when none is shown
        bool errore;
        const char* descrizione;
    };
    const char* kChiusura = "Causale non di tipo chiusura";
    const char* kApertura = "Causale non di tipo apertura";
    const Caso casi[] = {
        {4100, "CE", "", false, "Chiusura economici"},
        {4100, "AP", kChiusura, true, "Apertura conti"},
        {4110, "FE", kChiusura, true, "Fattura emessa"},
        {4120, "AP", "", false, "Apertura conti"},
        {4120, "CE", kApertura, true, "Chiusura economici"},
        {4000, "CE", "", false, "Chiusura economici"},
        {4070, "XX", "", true, "** INESISTENTE **"},
        // An expense outside the pension fund is not decoded, and not marked either.
        {4134, "BO", "", false, "** INESISTENTE **"},
        {4134, "CP", "", false, "Cassa previdenza"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(std::to_string(c.campo) + " " + c.codice);
        if (*c.messaggio != '\0') driver.answerMessage(c.messaggio, 1);
        digita(c.campo, c.codice, 4130);
        EXPECT_EQ(form->InErrore(c.campo), c.errore);
        EXPECT_EQ(form->Lab(c.campo).caption(), c.descrizione);
        digita(c.campo, "", 4130);
        EXPECT_FALSE(form->InErrore(c.campo));
    }
}

}  // namespace
}  // namespace tolvane::testing

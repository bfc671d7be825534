// The common accounts page on a real company database: accounts shown with their descriptions,
// split back into their columns, the required group and mastro fields, and older databases.
#include "companydata/pagina_conti_com.h"

#include <gtest/gtest.h>

#include "companydata/dati_azie_fixture.h"

namespace tolvane::testing {
namespace {

class ContiComTest : public DatiAzieTest {
  protected:
    void riempiObbligatori() {
        form->txt(3000).setText("01");
        form->txt(3010).setText("02");
        form->txt(3020).setText("03");
        form->txt(3030).setText("04");
    }
};

TEST_F(ContiComTest, StoredAccountsShowAsGroupMastroAccountWithTheirDescriptions) {
    apri();
    conto("01", "02", "003", "Merci vendute");
    conto("09", "09", "009", "Split payment");
    sql("INSERT INTO Gruppi VALUES ('05', 'Clienti')");
    sql("INSERT INTO Mastri VALUES ('05', '01', 'Clienti Italia')");
    sql("INSERT INTO Mastri VALUES ('06', '01', 'Altro mastro')");
    sql("INSERT INTO TabCauCon (GruppoClienti, MastroClienti, GruppoFornitori, MastroFornitori, "
        "GruppoVen, MastroVen, ContoVen, GruppoAcq, GruppoIvaVen, MastroIvaVen, "
        "GruppoIvaAcq, MastroIvaAcq, ContoIvaAcq, GruppoIvaSplit, MastroIvaSplit, ContoIvaSplit, "
        "GruppoRitAccVen, MastroRitAccVen, ContoRitAccVen) VALUES ('05', '01', '77', '01', "
        "'01', '02', '003', '01', '01', '02', '', '', '', '09', '09', '009', "
        "'01', '02', '003')");
    form->Lab(3050).setCaption("di prima");
    vaiPagina(3);
    struct Caso {
        int campo;
        const char* testo;
        const char* descrizione;
    };
    const Caso casi[] = {
        {3000, "05", "Clienti"},
        {3010, "01", "Clienti Italia"},
        {3020, "77", ""},
        {3030, "01", ""},
        {3040, "01-02-003", "Merci vendute"},
        {3050, "01--", ""},
        {3060, "01-02-", ""},
        {3070, "", ""},
        {3080, "", ""},
        {3315, "09-09-009", "Split payment"},
        {3290, "01-02-003", "Merci vendute"},
    };
    for (const Caso& c : casi) {
        EXPECT_EQ(form->txt(c.campo).text(), c.testo) << c.campo;
        EXPECT_EQ(form->Lab(c.campo).caption(), c.descrizione) << c.campo;
    }
}

TEST_F(ContiComTest, FirstSaveSplitsAccountsWithAndWithoutDashes) {
    apri();
    vaiPagina(3);
    EXPECT_TRUE(haFocus(form->txt(3000)));
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

TEST_F(ContiComTest, EmptyRequiredGroupOrMastroRefusesTheSaveInOrder) {
    struct Caso {
        std::vector<int> vuoti;
        int campo;
        const char* messaggio;
    };
    const Caso casi[] = {
        {{3000, 3030}, 3000, "Il gruppo clienti è obbligatorio"},
        {{3010, 3020}, 3010, "Il mastro clienti è obbligatorio"},
        {{3020}, 3020, "Il gruppo fornitori è obbligatorio"},
        {{3030}, 3030, "Il mastro fornitori è obbligatorio"},
    };
    apri();
    vaiPagina(3);
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.messaggio);
        riempiObbligatori();
        for (int n : c.vuoti) form->txt(n).setText("");
        rifiutata(3, c.messaggio);
        EXPECT_TRUE(haFocus(form->txt(c.campo)));
        EXPECT_EQ(righe("TabCauCon"), 0);
    }
}

TEST_F(ContiComTest, LeavingAFieldDecodesItsAccountGroupOrMastro) {
    apri();
    sql("INSERT INTO Gruppi VALUES ('05', 'Clienti')");
    sql("INSERT INTO Mastri VALUES ('05', '01', 'Clienti Italia')");
    sql("INSERT INTO Mastri VALUES ('06', '01', 'Fornitori Italia')");
    vaiPagina(3);
    digita(3180, "0102999", 3190);
    EXPECT_EQ(form->Lab(3180).caption(), "** INESISTENTE **");
    EXPECT_FALSE(form->InErrore(3180));
    digita(3180, "", 3190);
    EXPECT_EQ(form->Lab(3180).caption(), "");
    digita(3000, "05", 3010);
    EXPECT_EQ(form->Lab(3000).caption(), "Clienti");
    digita(3010, "01", 3020);
    EXPECT_EQ(form->Lab(3010).caption(), "Clienti Italia");
    digita(3000, "06", 3020);
    EXPECT_EQ(form->Lab(3010).caption(), "Fornitori Italia");
}

TEST_F(ContiComTest, OlderDatabaseWithoutSalesWithholdingLoadsAndSavesTheRest) {
    databaseVecchio(
        {"TabCauCon.GruppoRitAccVen", "TabCauCon.MastroRitAccVen", "TabCauCon.ContoRitAccVen"});
    apri();
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

TEST_F(ContiComTest, CommonAccountsAndCausalsSavedFromAnEmptyTableShareOneRow) {
    apri();
    sql("INSERT INTO Causali VALUES ('FE', 'Fattura emessa', '')");
    vaiPagina(3);
    vaiPagina(4);
    form->txt(4000).setText("FE");
    conferma(4);
    vaiPagina(3);
    riempiObbligatori();
    conferma(3);
    EXPECT_EQ(righe("TabCauCon"), 1);
    EXPECT_EQ(cauCon("CausFatt"), "FE");
    EXPECT_EQ(cauCon("GruppoClienti"), "01");
}

}  // namespace
}  // namespace tolvane::testing

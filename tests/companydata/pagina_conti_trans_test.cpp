// The professional transit accounts page on a real company database: accounts shown with their
// descriptions and split back into their columns, the row's other columns untouched.
#include "companydata/pagina_conti_trans.h"

#include <gtest/gtest.h>

#include "companydata/dati_azie_fixture.h"

namespace tolvane::testing {
namespace {

struct ContoTransito {
    int campo;
    const char* gruppo;
    const char* mastro;
    const char* conto;
};
const ContoTransito kConti[] = {
    {11000, "GruTrOnorario", "MasTrOnorario", "ConTrOnorario"},
    {11005, "GruTrAltriRic", "MasTrAltriRic", "ConTrAltriRic"},
    {11010, "GruTrRitAcconto", "MasTrRitAcconto", "ConTrRitAcconto"},
    {11015, "GruTransCosti", "MasTransCosti", "ConTransCosti"},
    {11020, "GruTrCassaRit", "MasTrCassaRit", "ConTrCassaRit"},
    {11025, "GruTransAntic", "MasTransAntic", "ConTransAntic"},
};

class ContiTransTest : public DatiAzieTest {
  protected:
    void SetUp() override {
        apri();
        conto("05", "10", "002", "Onorari");
        conto("05", "10", "003", "Altri ricavi");
    }

    std::string salvatoConto(const ContoTransito& c) {
        return cauCon(std::string("IFNULL(") + c.gruppo + ",'') || '|' || IFNULL(" + c.mastro +
                      ",'') || '|' || IFNULL(" + c.conto + ",'')");
    }
};

TEST_F(ContiTransTest, StoredAccountsShowWithDescriptionsAndTypedOnesAreSplitOnSave) {
    sql("INSERT INTO TabCauCon (GruTrOnorario, MasTrOnorario, ConTrOnorario, GruTrAltriRic, "
        "MasTrAltriRic, ConTrAltriRic, GruTransCosti, GruTrCassaRit, MasTrCassaRit, "
        "ConTrCassaRit, CausFatt) "
        "VALUES ('05', '10', '002', '05', '10', '003', '07', '05', '10', '999', 'FE')");
    vaiPagina(frmDatiAzie::kPaginaContiTrans);
    struct Caso {
        int campo;
        const char* testo;
        const char* descrizione;
    };
    // The first field has the focus, so it shows its editing form.
    const Caso casi[] = {{11000, "0510002", "Onorari"},
                         {11005, "05-10-003", "Altri ricavi"},
                         {11010, "", ""},
                         {11015, "07--", ""},
                         {11020, "05-10-999", ""},
                         {11025, "", ""}};
    for (const Caso& c : casi) {
        EXPECT_EQ(form->txt(c.campo).text(), c.testo) << c.campo;
        EXPECT_EQ(form->Lab(c.campo).caption(), c.descrizione) << c.campo;
    }
    digita(11005, "", 11010);
    digita(11010, "0510", 11015);
    digita(11025, "9998000001", 11000);
    conferma(frmDatiAzie::kPaginaContiTrans);
    EXPECT_EQ(righe("TabCauCon"), 1);
    const char* salvati[] = {"05|10|002", "||", "05|10|", "07||", "05|10|999", "99|98|000001"};
    for (std::size_t i = 0; i < std::size(kConti); ++i) {
        EXPECT_EQ(salvatoConto(kConti[i]), salvati[i]) << kConti[i].campo;
    }
    EXPECT_EQ(cauCon("CausFatt"), "FE");
}

}  // namespace
}  // namespace tolvane::testing

// The professional transit accounts page on a real company database: accounts shown with their
// descriptions and split back into their columns.
#include "companydata/pagina_conti_trans.h"

#include <gtest/gtest.h>

#include "companydata/pagine_contabili_fixture.h"

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

class ContiTransTest : public PagineContabiliTest {
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

TEST_F(ContiTransTest, StoredAccountsShowWithDescriptionsAndAreWrittenBackUnchanged) {
    sql("INSERT INTO TabCauCon (GruTrOnorario, MasTrOnorario, ConTrOnorario, GruTrAltriRic, "
        "MasTrAltriRic, ConTrAltriRic, GruTransCosti, GruTrCassaRit, MasTrCassaRit, "
        "ConTrCassaRit, CausFatt) "
        "VALUES ('05', '10', '002', '05', '10', '003', '07', '05', '10', '999', 'FE')");
    vaiContiTrans();
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
                         {11020, "05-10-999", ""}};
    for (const Caso& c : casi) {
        EXPECT_EQ(form->txt(c.campo).text(), c.testo) << c.campo;
        EXPECT_EQ(form->Lab(c.campo).caption(), c.descrizione) << c.campo;
    }
    conferma(frmDatiAzie::kPaginaContiTrans);
    EXPECT_EQ(righe("TabCauCon"), 1);
    const char* salvati[] = {"05|10|002", "05|10|003", "||", "07||", "05|10|999", "||"};
    for (std::size_t i = 0; i < std::size(kConti); ++i) {
        EXPECT_EQ(salvatoConto(kConti[i]), salvati[i]) << kConti[i].campo;
    }
    EXPECT_EQ(cauCon("CausFatt"), "FE");
}

TEST_F(ContiTransTest, TypedAccountsAreSplitAndEmptyOnesWrittenEmpty) {
    vaiContiTrans();
    for (const ContoTransito& c : kConti) EXPECT_EQ(form->txt(c.campo).text(), "") << c.campo;
    const char* digitati[] = {"0510002", "", "0510", "1", "9998000001", "05"};
    const char* salvati[] = {"05|10|002", "||", "05|10|", "1||", "99|98|000001", "05||"};
    for (std::size_t i = 0; i < std::size(kConti); ++i) {
        digita(kConti[i].campo, digitati[i], kConti[(i + 1) % std::size(kConti)].campo);
    }
    conferma(frmDatiAzie::kPaginaContiTrans);
    EXPECT_EQ(righe("TabCauCon"), 1);
    for (std::size_t i = 0; i < std::size(kConti); ++i) {
        EXPECT_EQ(salvatoConto(kConti[i]), salvati[i]) << kConti[i].campo;
    }
}

}  // namespace
}  // namespace tolvane::testing

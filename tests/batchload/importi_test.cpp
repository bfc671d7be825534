// Amounts in lire or euro by the currency of the line's own price list, converted into the
// company currency; empty amounts; a price-list look-up that fails.
#include "batch_fixture.h"

namespace tolvane::batchtest {
namespace {

class ImportiTest : public BatchTest {
protected:
    void SetUp() override {
        BatchTest::SetUp();
        company("INSERT INTO Listini (Listino, Moneta) VALUES ('LIR', 'L.'), ('EUR', 'Euro'), ('USD', 'USD')");
    }
    // Importo comes before Listino in the layout: the line's price list is found anyway.
    Rows amounts(const std::string& code, const std::string& lireOValuta, const std::vector<std::string>& lines) {
        layout(code, {{"Tabella", "Prova"}, {"Modalita", "0"}, {"InsVaria", "I"}, {"Separatore", "\\059"}});
        field(code, "Codice", {{"NumCampo", "1"}});
        field(code, "Importo", {{"NumCampo", "3"}, {"TipoDest", "Currency"}, {"LireOValuta", lireOValuta}});
        field(code, "Listino", {{"NumCampo", "2"}});
        input(code + ".txt", lines);
        EXPECT_EQ(load(code), 0);
        return rows("SELECT Codice, CASE WHEN Importo IS NULL THEN 'NULL' ELSE printf('%.2f', Importo) END"
                    " FROM Prova ORDER BY Codice");
    }
};

TEST_F(ImportiTest, EuroAmountsByPriceListCurrency) {
    EXPECT_EQ(amounts("V", "V", {"A;EUR;10,555", "B;LIR;19362,7", "C;;5", "D;USD;7", "E;LIR;"}),
              (Rows{{"A", "10.56"}, {"B", "10.00"}, {"C", "5.00"}, {"D", "7.00"}, {"E", "NULL"}}));
}

TEST_F(ImportiTest, LireAmountsFollowEachLinesOwnPriceList) {
    EXPECT_EQ(amounts("L", "L", {"A;USD;7", "B;;7,4", "C;USD;7", "D;LIR;1000,4"}),
              (Rows{{"A", "NULL"}, {"B", "7.00"}, {"C", "NULL"}, {"D", "1000.00"}}));
}

TEST_F(ImportiTest, FailingPriceListLookUpIsReportedOnceThenByRejectedRows) {
    company("DROP TABLE Listini");
    EXPECT_EQ(amounts("X", "V", {"A;EUR;1", "B;EUR;2", "C;;3"}), (Rows{{"C", "3.00"}}));
    EXPECT_EQ(messages.size(), 1u);
    const auto texts = errorTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].rfind("Prova.Importo: Impossibile leggere la moneta del listino EUR", 0), 0u) << texts[0];
}

}  // namespace
}  // namespace tolvane::batchtest

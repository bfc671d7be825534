// Loaded values as their columns take them: amounts keep every digit a double holds whatever
// word declares them, and a key value that its column refuses is rejected with the cause.
#include "batch_fixture.h"

namespace tolvane::batchtest {
namespace {

TEST_F(BatchTest, LoadedAmountsKeepTheirDigitsWhateverTheDeclaredWord) {
    company("CREATE TABLE Prezzi (Codice VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY,"
            " R REAL, F FLOAT, N NUMERIC, D DECIMAL(15,4), P DOUBLE, S SINGLE, C CURRENCY)");
    layout("P", {{"Tabella", "Prezzi"}, {"Modalita", "0"}, {"InsVaria", "I"}, {"Separatore", "\\059"}});
    const char* const colonne[] = {"Codice", "R", "F", "N", "D", "P", "S", "C"};
    for (int i = 0; i < 8; ++i) {
        Columns extra{{"NumCampo", std::to_string(i + 1)}};
        if (i > 0) extra.emplace_back("TipoDest", i == 7 ? "Currency" : "Double");
        field("P", colonne[i], extra);
    }
    const std::string cifre = "1234,56789012345";
    input("P.txt", {"A;" + cifre + ";12,35;0,1;" + cifre + ";" + cifre + ";12,35;1234,56789"});
    EXPECT_EQ(load("P"), 0);
    EXPECT_EQ(rows("SELECT R, F, N, D, P, S, C FROM Prezzi"),
              (Rows{{"1234.56789012345", "12.35", "0.1", "1234.56789012345", "1234.56789012345",
                     "12.3500003814697", "1234.5679"}}));
}

TEST_F(BatchTest, KeyThatItsColumnRefusesIsRejectedWithTheCause) {
    layout("K", {{"Tabella", "Numeri"}, {"Modalita", "0"}, {"InsVaria", "V"}, {"Separatore", "\\059"}});
    field("K", "Numero", {{"NumCampo", "1"}});
    field("K", "Descr", {{"NumCampo", "2"}});
    input("K.txt", {"dieci;Dieci", "2;Due"});
    EXPECT_EQ(load("K"), 0);
    EXPECT_EQ(rows("SELECT Numero, Descr FROM Numeri"), (Rows{{"2", "Due"}}));
    const auto texts = errorTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind("Impossibile costruire chiave di ricerca: Errore(13)", 0), 0u) << texts[0];
}

}  // namespace
}  // namespace tolvane::batchtest

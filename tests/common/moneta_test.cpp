// Currency services on a company database from the shipped schema: a currency's row of Monete
// and the lire/euro conversion at the rate 1936,27.
#include "common/moneta.h"

#include <gtest/gtest.h>

#include "common/db_comune.h"
#include "common/globali.h"
#include "db/base_database.h"
#include "db/db_test_folder.h"

namespace tolvane {
namespace {

class MonetaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string file = folder.file("ditta.db");
        createDatabaseFromSchema(file, schemaPath("company.sql"));
        saved = {gsIdDbase, gsMonetaAzie, gsCodLira, gsCodEuro, gsCambioEuro, gsOperEuro};
        gsIdDbase = goDbase().ApriConnessione(file);
        goDbase().EseguiSql(gsIdDbase,
                            "Insert into Monete (Moneta, Descrizione, NumDec, "
                            "NumDecGest, Operatore, Cee) Values ('EUR', 'Euro', 2, 5, '*', 'S')");
        gsCodLira = "LIT";
        gsCodEuro = "EUR";
        gsCambioEuro = "1936,27";
        gsOperEuro = "/";
    }
    void TearDown() override {
        goDbase().ChiudiConnessione(gsIdDbase);
        gsIdDbase = saved[0];
        gsMonetaAzie = saved[1];
        gsCodLira = saved[2];
        gsCodEuro = saved[3];
        gsCambioEuro = saved[4];
        gsOperEuro = saved[5];
    }

    dbtest::TempFolder folder;
    std::vector<std::string> saved;
};

TEST_F(MonetaTest, LeggiMonetaReadsTheRowOrGivesTheDefaults) {
    struct Case {
        const char* code;
        int numDec, numDecGest;
        const char* oper;
        const char* cee;
    } cases[] = {{"EUR", 2, 5, "*", "S"},
                 {"eur", 2, 5, "*", "S"},
                 {"USD", 2, 2, "/", "N"},
                 {"O'X", 2, 2, "/", "N"}};
    for (const Case& c : cases) {
        int gest = -1, dec = -1;
        std::string oper, cee;
        EXPECT_EQ(LeggiMoneta(c.code, &gest, &dec, &oper, &cee), c.numDec) << c.code;
        EXPECT_EQ(dec, c.numDec) << c.code;
        EXPECT_EQ(gest, c.numDecGest) << c.code;
        EXPECT_EQ(oper, c.oper) << c.code;
        EXPECT_EQ(cee, c.cee) << c.code;
    }
    EXPECT_EQ(LeggiMoneta("EUR"), 2);
}

TEST_F(MonetaTest, ConversionsUseTheFixedRate) {
    struct Case {
        const char* company;
        bool fromLire;
        Variant amount;
        int decimals;
        double expected;
    } cases[] = {
        {"EUR", true, 1936270.0, 2, 1000.0},
        {"EUR", true, "10.000", 2, 5.16},  // 5,1645...
        {"EUR", true, 1000, 3, 0.516},
        {"EUR", false, 12.345, 2, 12.35},  // euro in a euro company: rounded only
        {"LIT", false, 1000, 0, 1936270.0},
        {"LIT", false, "2,5", 0, 4841.0},    // 4840,675
        {"LIT", true, 1234.5, 0, 1235.0},    // lire in a lire company: rounded only
        {"lit", false, 1000, 0, 1936270.0},  // the company's code in any case
        {"EUR", true, Variant(), 2, 0.0},
        {"EUR", true, "", 2, 0.0},
    };
    for (const Case& c : cases) {
        gsMonetaAzie = c.company;
        double result =
            c.fromLire ? ConvDaLire(c.amount, c.decimals) : ConvDaEuro(c.amount, c.decimals);
        EXPECT_DOUBLE_EQ(result, c.expected) << c.company << " " << c.amount.text();
    }
}

TEST_F(MonetaTest, MultiplyingOperatorIsInvertedForEuro) {
    gsOperEuro = "*";
    gsCambioEuro = "0,5";
    gsMonetaAzie = "EUR";
    EXPECT_DOUBLE_EQ(ConvDaLire(100, 2), 50.0);
    gsMonetaAzie = "LIT";
    EXPECT_DOUBLE_EQ(ConvDaEuro(50, 2), 100.0);
}

}  // namespace
}  // namespace tolvane

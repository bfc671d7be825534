// The shared database services on databases made from the shipped schema files: EsisteCampo,
// the scoped switch of gsIdDbase, the common database's opening, table Appoggio; a currency's row
// of Monete and the lire/euro conversion at the rate 1936,27.
#include "common/db_comune.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/globali.h"
#include "common/moneta.h"
#include "db/base_database.h"
#include "db/db_test_folder.h"

namespace tolvane {
namespace {

class DbComuneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        commonFile = folder.file("comune.db");
        createDatabaseFromSchema(commonFile, schemaPath("common.sql"));
        dbComuneHooks() = {};
        dbComuneHooks().showMessage = [this](const std::string& m) { messages.push_back(m); };
        dbComuneHooks().endProgram = [](const std::string& m) {
            throw std::runtime_error("fine programma: " + m);
        };
        for (const std::string* g : globals) saved.push_back(*g);
    }
    void TearDown() override {
        dbComuneHooks() = {};
        if (!companyId.empty()) goDbase().ChiudiConnessione(companyId);
        for (std::size_t i = 0; i < globals.size(); ++i) *globals[i] = saved[i];
    }

    void writeIni(const std::string& text) {
        gsFileIni = folder.file("pelmor.ini");
        std::ofstream(gsFileIni) << text;
    }
    // A company database with the euro's row of Monete, current for the currency services.
    void openCompany() {
        std::string file = folder.file("ditta.db");
        createDatabaseFromSchema(file, schemaPath("company.sql"));
        gsIdDbase = companyId = goDbase().ApriConnessione(file);
        goDbase().EseguiSql(gsIdDbase,
                            "Insert into Monete (Moneta, Descrizione, NumDec, "
                            "NumDecGest, Operatore, Cee) Values ('EUR', 'Euro', 2, 5, '*', 'S')");
        gsCodLira = "LIT";
        gsCodEuro = "EUR";
        gsCambioEuro = "1936,27";
        gsOperEuro = "/";
    }

    dbtest::TempFolder folder;
    std::string commonFile, companyId;
    std::vector<std::string> messages;
    const std::vector<std::string*> globals = {&gsConnDbMenu, &gsIdDbase, &gsFileIni,
                                               &gsMonetaAzie, &gsCodLira, &gsCodEuro,
                                               &gsCambioEuro, &gsOperEuro};
    std::vector<std::string> saved;
};

TEST_F(DbComuneTest, EsisteCampoTellsOnlyWhatExists) {
    std::string id = goDbase().ApriConnessione(commonFile);
    ASSERT_EQ(id.rfind("Err", 0), std::string::npos) << id;
    struct Case {
        const char* table;
        const char* column;
        const char* idDb;
        bool exists;
    } cases[] = {
        {"Appoggio", "Memo3", id.c_str(), true},        {"APPOGGIO", "memo3", id.c_str(), true},
        {"Appoggio", "Memo9", id.c_str(), false},       {"Mancante", "Codice", id.c_str(), false},
        {"Appoggio", "Codice", "DbInesistente", false}, {"", "", id.c_str(), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EsisteCampo(c.table, c.column, c.idDb), c.exists) << c.table << "." << c.column;
    goDbase().ChiudiConnessione(id);
}

TEST_F(DbComuneTest, ScopedSwitchPutsThePreviousDatabaseBack) {
    gsIdDbase = "DbComune";
    {
        ScopedCurrentDatabase company("DbDitta");
        EXPECT_EQ(gsIdDbase, "DbDitta");
    }
    EXPECT_EQ(gsIdDbase, "DbComune");
    try {
        ScopedCurrentDatabase company("DbDitta");
        throw NumberedError(errnum::DatabaseFailure, "errore a metà caricamento");
    } catch (const NumberedError&) {
    }
    EXPECT_EQ(gsIdDbase, "DbComune");
}

TEST_F(DbComuneTest, ApriDbMenuOpensTheCommonDatabaseFromTheIniOrEndsTheProgram) {
    writeIni("[Menu]\nNomeDB=" + commonFile + "\nDriveDB=\nConnect=\n");
    std::vector<std::string> shown;
    dbComuneHooks().showConnectionWindow = [&](const std::string& c) { shown.push_back(c); };
    ApriDbMenu();
    EXPECT_EQ(shown, std::vector<std::string>{"Connessione database Comune"});
    EXPECT_TRUE(goDbase().EsisteConnessione(gsConnDbMenu));
    EXPECT_EQ(goDbase().PercorsoDb(gsConnDbMenu), commonFile);
    goDbase().ChiudiConnessione(gsConnDbMenu);

    // Missing data end the program.
    gsConnDbMenu.clear();
    writeIni("[Menu]\nDriveDB=C:\n");
    EXPECT_THROW(ApriDbMenu(), std::runtime_error);
    writeIni("[Menu]\nNomeDB=" + folder.file("manca.db") + "\n");
    EXPECT_THROW(ApriDbMenu(), std::runtime_error);
    EXPECT_TRUE(gsConnDbMenu.empty());
}

TEST_F(DbComuneTest, AppoggioWritesAndReadsTheNthMemo) {
    gsConnDbMenu = goDbase().ApriConnessione(commonFile);
    std::string memo = "Oggetto §Ditta§", descr = "Modello";
    LeggiScriviAppoggio("PdfEmail", 2, memo, true, false, descr, true);
    memo = "altro testo";
    LeggiScriviAppoggio("PdfEmail", 3, memo, true, false, descr, false);

    struct Case {
        int n;
        const char* memo;
        const char* descr;
    } cases[] = {
        {2, "Oggetto §Ditta§", "Modello"}, {3, "altro testo", ""}, {1, "", ""}, {6, "", ""}};
    for (const Case& c : cases) {
        memo = descr = "prima";
        LeggiScriviAppoggio("pdfemail", c.n, memo, false, true, descr, true);
        EXPECT_EQ(memo, c.memo) << c.n;
        EXPECT_EQ(descr, c.descr) << c.n;
    }
    EXPECT_TRUE(messages.empty());
    LeggiScriviAppoggio("Mancante", 1, memo, false, false, descr, true);
    EXPECT_TRUE(messages.empty());
    LeggiScriviAppoggio("Mancante", 1, memo, false, true, descr, true);
    EXPECT_EQ(messages, std::vector<std::string>{"Dati non trovati"});
    goDbase().ChiudiConnessione(gsConnDbMenu);
}

TEST_F(DbComuneTest, LeggiMonetaReadsTheRowOrGivesTheDefaults) {
    openCompany();
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

TEST_F(DbComuneTest, ConversionsUseTheRateInvertingAMultiplyingOperatorForEuro) {
    openCompany();
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
    // A multiplying operator is inverted for euro.
    gsOperEuro = "*";
    gsCambioEuro = "0,5";
    gsMonetaAzie = "EUR";
    EXPECT_DOUBLE_EQ(ConvDaLire(100, 2), 50.0);
    gsMonetaAzie = "LIT";
    EXPECT_DOUBLE_EQ(ConvDaEuro(50, 2), 100.0);
}

}  // namespace
}  // namespace tolvane

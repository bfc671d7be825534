// The shared database services on databases made from the shipped schema files: EsisteCampo,
// the scoped switch of gsIdDbase, the common database's opening and table Appoggio.
#include "common/db_comune.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/globali.h"
#include "db/base_database.h"
#include "db/db_test_folder.h"

namespace tolvane {
namespace {

class DbComuneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        commonFile = folder.file("comune.db");
        createDatabaseFromSchema(commonFile, schemaPath("common.sql"));
        messages.clear();
        dbComuneHooks() = {};
        dbComuneHooks().showMessage = [this](const std::string& m) { messages.push_back(m); };
        dbComuneHooks().endProgram = [](const std::string& m) {
            throw std::runtime_error("fine programma: " + m);
        };
        savedConnDbMenu = gsConnDbMenu;
        savedIdDbase = gsIdDbase;
        savedFileIni = gsFileIni;
    }
    void TearDown() override {
        dbComuneHooks() = {};
        gsConnDbMenu = savedConnDbMenu;
        gsIdDbase = savedIdDbase;
        gsFileIni = savedFileIni;
    }

    void writeIni(const std::string& text) {
        gsFileIni = folder.file("pelmor.ini");
        std::ofstream(gsFileIni) << text;
    }

    dbtest::TempFolder folder;
    std::string commonFile;
    std::vector<std::string> messages;
    std::string savedConnDbMenu, savedIdDbase, savedFileIni;
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

}  // namespace
}  // namespace tolvane

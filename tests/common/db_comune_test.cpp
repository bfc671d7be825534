// The shared services on files: databases from the shipped schema (EsisteCampo, the scoped switch
// of gsIdDbase, the common database's opening, table Appoggio); the INI file a read comes from and
// a write goes to; a currency's row of Monete and the lire/euro conversion at the program's rate.
#include "common/db_comune.h"

#include <gtest/gtest.h>

#include "common/globali.h"
#include "common/ini_programma.h"
#include "common/moneta.h"
#include "db/base_database.h"
#include "db/db_test_folder.h"

namespace tolvane {
namespace {

class FileServicesTest : public ::testing::Test {
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
        setIniMessageHook(nullptr);
        if (!companyId.empty()) goDbase().ChiudiConnessione(companyId);
        for (std::size_t i = 0; i < globals.size(); ++i) *globals[i] = saved[i];
    }

    // The terminal and the common INI of the program.
    void install(const std::string& terminal, const std::string& common) {
        gsFileIni = folder.write("pelmor.ini", terminal);
        gsFileIniComune = folder.write("comune.ini", common);
    }
    static std::string terminal() { return dbtest::TempFolder::read(gsFileIni); }
    static std::string common() { return dbtest::TempFolder::read(gsFileIniComune); }
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
    const std::vector<std::string*> globals = {&gsConnDbMenu,    &gsIdDbase,    &gsFileIni,
                                               &gsFileIniComune, &gsMonetaAzie, &gsCodLira,
                                               &gsCodEuro,       &gsCambioEuro, &gsOperEuro};
    std::vector<std::string> saved;
};

TEST_F(FileServicesTest, EsisteCampoTellsOnlyWhatExists) {
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

TEST_F(FileServicesTest, ScopedSwitchPutsThePreviousDatabaseBack) {
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

TEST_F(FileServicesTest, ApriDbMenuOpensTheCommonDatabaseFromTheIniOrEndsTheProgram) {
    install("[Menu]\nNomeDB=" + commonFile + "\nDriveDB=\nConnect=\n", "");
    std::vector<std::string> shown;
    dbComuneHooks().showConnectionWindow = [&](const std::string& c) { shown.push_back(c); };
    ApriDbMenu();
    EXPECT_EQ(shown, std::vector<std::string>{"Connessione database Comune"});
    EXPECT_TRUE(goDbase().EsisteConnessione(gsConnDbMenu));
    EXPECT_EQ(goDbase().PercorsoDb(gsConnDbMenu), commonFile);
    goDbase().ChiudiConnessione(gsConnDbMenu);

    // Missing data end the program.
    gsConnDbMenu.clear();
    install("[Menu]\nDriveDB=C:\n", "");
    EXPECT_THROW(ApriDbMenu(), std::runtime_error);
    install("[Menu]\nNomeDB=" + folder.file("manca.db") + "\n", "");
    EXPECT_THROW(ApriDbMenu(), std::runtime_error);
    EXPECT_TRUE(gsConnDbMenu.empty());
}

TEST_F(FileServicesTest, AppoggioWritesAndReadsTheNthMemo) {
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

TEST_F(FileServicesTest, LeggiIniPrefersTerminalThenCommonScriviIniChoosesByKeyAndLevel) {
    install("[Opzioni Stampa]\r\nStaVid=1\r\nVuota=\r\n",
            "[opzioni stampa]\r\nstavid=2\r\nFatt=150\r\nVuota=x\r\n");
    for (auto [key, expected] :
         {std::pair{"StaVid", "1"}, {"FATT", "150"}, {"Vuota", ""}, {"NomeStampante", "def"}}) {
        std::string value = "old";
        LeggiIni("Opzioni Stampa", key, "def", value);
        EXPECT_EQ(value, expected) << key;
    }
    gsFileIniComune.clear();
    std::string value;
    LeggiIni("Opzioni Stampa", "Fatt", "def", value);
    EXPECT_EQ(value, "def") << "read the common INI although none is set";

    // ScriviIni chooses the file by the key's place and the level.
    const std::string t = "[S]\r\nA=1\r\n[T]\r\nX=1\r\n";
    const std::string c = "[S]\r\nB=2\r\n[T]\r\nY=2\r\n";
    struct WriteCase {
        const char* rule;
        std::string key, value;
        int livello;
        bool cancellaSezione, cancellaChiave;
        bool toCommonFile;  // psFile names the common INI
        std::string terminal, common;
    };
    const std::vector<WriteCase> cases = {
        {"key held by the terminal INI", "a", "9", 2, false, false, false,
         "[S]\r\nA=9\r\n[T]\r\nX=1\r\n", c},
        {"key held only by the common INI", "b", "9", 1, false, false, false, t,
         "[S]\r\nB=9\r\n[T]\r\nY=2\r\n"},
        {"new key, level 1: terminal", "N", "9", 1, false, false, false,
         "[S]\r\nA=1\r\nN=9\r\n[T]\r\nX=1\r\n", c},
        {"new key, level 2: common", "N", "9", 2, false, false, false, t,
         "[S]\r\nB=2\r\nN=9\r\n[T]\r\nY=2\r\n"},
        {"file given wins over the key's place", "A", "9", 1, false, false, true, t,
         "[S]\r\nB=2\r\nA=9\r\n[T]\r\nY=2\r\n"},
        {"delete key where it is", "B", "", 1, false, true, false, t, "[S]\r\n[T]\r\nY=2\r\n"},
        {"delete missing key touches nothing", "Z", "", 1, false, true, false, t, c},
        {"delete section of the file given", "", "", 1, true, false, true, t, "[T]\r\nY=2\r\n"},
        {"delete section: terminal INI first", "", "", 1, true, false, false, "[T]\r\nX=1\r\n", c},
        {"delete section wins over delete key", "A", "", 1, true, true, false, "[T]\r\nX=1\r\n", c},
    };
    for (const auto& k : cases) {
        install(t, c);
        EXPECT_TRUE(ScriviIni("s", k.key, k.value, false, false, k.livello, k.cancellaSezione,
                              k.cancellaChiave, k.toCommonFile ? gsFileIniComune : ""))
            << k.rule;
        EXPECT_EQ(terminal(), k.terminal) << k.rule;
        EXPECT_EQ(common(), k.common) << k.rule;
    }
    install("[S]\r\n", "[S]\r\nB=2\r\n");
    gsFileIniComune.clear();
    EXPECT_TRUE(ScriviIni("S", "B", "9", false, false, 2));
    EXPECT_EQ(terminal(), "[S]\r\nB=9\r\n")
        << "without a common INI everything goes to the terminal's";
}

TEST_F(FileServicesTest, FailedWriteIsReportedOnlyWhenAsked) {
    std::vector<std::pair<std::string, bool>> shown;
    setIniMessageHook([&](const std::string& text, bool beep) { shown.emplace_back(text, beep); });
    const std::string nowhere = folder.file("manca/pelmor.ini");

    EXPECT_FALSE(ScriviIni("S", "k", "v", false, false, 1, false, false, nowhere));
    EXPECT_TRUE(shown.empty()) << "a message without the message flag";

    EXPECT_FALSE(ScriviIni("S", "k", "v", true, true, 1, false, false, nowhere));
    ASSERT_EQ(shown.size(), 1u);
    const std::string& text = shown[0].first;
    EXPECT_TRUE(text.ends_with("NON RIUSCITO.")) << text;
    EXPECT_NE(text.find(nowhere), std::string::npos) << text;
    EXPECT_TRUE(shown[0].second);

    gsFileIni.clear();
    gsFileIniComune.clear();
    EXPECT_FALSE(ScriviIni("S", "k", "v", true));
    EXPECT_EQ(shown.size(), 2u) << "no INI at all must fail, not pass";
}

TEST_F(FileServicesTest, LeggiMonetaReadsTheRowOrGivesTheDefaultsConversionsUseTheRate) {
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

    // Conversions at the program's rate.
    struct Conversion {
        const char* company;
        bool fromLire;
        Variant amount;
        int decimals;
        double expected;
    } conversions[] = {
        {"EUR", true, 1936270.0, 2, 1000.0},  // lire to euro
        {"EUR", true, "10.000", 2, 5.16},     // 5,1645...
        {"EUR", false, 12.345, 2, 12.35},     // euro in a euro company: rounded only
        {"LIT", false, 1000, 0, 1936270.0},   // euro to lire
        {"LIT", false, "2,5", 0, 4841.0},     // 4840,675
        {"LIT", true, 1234.5, 0, 1235.0},     // lire in a lire company: rounded only
        {"lit", false, 1000, 0, 1936270.0},   // the company's code in any case
        {"EUR", true, Variant(), 2, 0.0},     // Null counts as 0
        {"EUR", true, "", 2, 0.0},            // and so does ""
    };
    for (const Conversion& c : conversions) {
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

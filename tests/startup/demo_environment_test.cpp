// The demo installation: built from the shipped scripts into a temporary folder, its files
// hold consistent data that fits the columns, and a second build never overwrites the first.
#include "startup/demo_environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "db/base_database.h"
#include "db/db_test_folder.h"
#include "support/error_number.h"
#include "support/scoped_env.h"
#include "support/scratch_folder.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;

const auto queryRows = dbtest::queryFile;
const auto queryText = dbtest::queryOne;

class DemoEnvironmentTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("TOLVANE_SOURCE_DIR", TOLVANE_SOURCE_DIR, 0);
        scratch_ = std::make_unique<testing::ScratchFolder>();
        root_ = scratch_->path();
        env_ = buildDemoEnvironment(root_ / "demo");
    }
    static void TearDownTestSuite() { scratch_.reset(); }

    static inline std::unique_ptr<testing::ScratchFolder> scratch_;
    static inline fs::path root_;
    static inline DemoEnvironment env_;
};

// The demo rows go into the company's copy only: the base company stays empty, of the same schema.
TEST_F(DemoEnvironmentTest, FilesHoldTheExpectedRows) {
    struct Case {
        fs::path DemoEnvironment::*file;
        const char* sql;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {&DemoEnvironment::companyDb,
         "SELECT (SELECT COUNT(*) FROM TabCauCon) || (SELECT COUNT(*) FROM TabCoge) || (SELECT "
         "COUNT(*) FROM TabRiba) || (SELECT COUNT(*) FROM TabMagazzino) || (SELECT COUNT(*) FROM "
         "TabFatt)",
         "11110"},
        {&DemoEnvironment::companyDb, "PRAGMA journal_mode", "wal"},
        {&DemoEnvironment::baseCompanyDb, "SELECT COUNT(*) FROM Monete", "0"},
        {&DemoEnvironment::baseCompanyDb, "PRAGMA journal_mode", "wal"},
    };
    for (const auto& c : cases) EXPECT_EQ(queryText(env_.*c.file, c.sql), c.expected) << c.sql;
    EXPECT_EQ(schemaVersion(env_.companyDb), schemaVersion(env_.baseCompanyDb));
}

TEST_F(DemoEnvironmentTest, DemoDataFitsTheDeclaredSizes) {
    const std::regex varchar(R"(VARCHAR\((\d+)\))", std::regex::icase);
    for (const fs::path& db : {env_.commonDb, env_.companyDb}) {
        auto columns = queryRows(db,
                                 "SELECT m.name, p.name, p.type FROM sqlite_schema m, "
                                 "pragma_table_info(m.name) p WHERE m.type = 'table'");
        ASSERT_FALSE(columns.empty());
        for (const auto& column : columns) {
            std::smatch size;
            if (!std::regex_search(column[2], size, varchar)) continue;
            std::string sql = "SELECT COUNT(*) FROM \"" + column[0] + "\" WHERE length(\"" +
                              column[1] + "\") > " + size[1].str();
            EXPECT_EQ(queryText(db, sql), "0")
                << db.filename() << " " << column[0] << "." << column[1] << " " << column[2];
        }
    }
}

TEST_F(DemoEnvironmentTest, CompanyCodesReferToExistingRows) {
    auto accounts =
        queryRows(env_.companyDb,
                  "SELECT substr(name, 7) FROM pragma_table_info('TabCauCon') "
                  "WHERE name LIKE 'Gruppo%' AND name NOT IN ('GruppoClienti', 'GruppoFornitori')");
    EXPECT_EQ(accounts.size(), 31u);
    for (const auto& account : accounts) {
        const std::string& s = account[0];
        std::string sql =
            "SELECT COUNT(*) FROM TabCauCon t JOIN PianoConti p ON p.Gruppo = t.Gruppo" + s +
            " AND p.Mastro = t.Mastro" + s + " AND p.Conto = t.Conto" + s;
        EXPECT_EQ(queryText(env_.companyDb, sql), "1") << "account " << s;
    }
    EXPECT_EQ(
        queryText(
            env_.companyDb,
            "SELECT COUNT(*) FROM TabCauCon t JOIN Causali c ON c.Causale IN (t.CausFatt, "
            "t.CausNC, t.CausFattSosp, t.CausNCSosp, t.CausAnticipi, t.CausArr, t.CausOmaggi, "
            "t.CausIncasso, t.SaldaCauIncassi, t.SaldaCauPagamenti, t.CauChiuEco, "
            "t.CauChiuPatr, t.CauApertura, t.CausRit, t.CauGirIva)"),
        "15");

    const std::vector<std::string> mustBeZero = {
        "SELECT COUNT(*) FROM TabCauCon t WHERE NOT EXISTS (SELECT 1 FROM Mastri m "
        "WHERE m.Gruppo = t.GruppoClienti AND m.Mastro = t.MastroClienti)",
        "SELECT COUNT(*) FROM TabCauCon t WHERE t.CauChiuEco NOT IN "
        "(SELECT Causale FROM Causali WHERE TipoCausale = 'CH')",
        "SELECT COUNT(*) FROM TabCauCon t WHERE t.CauApertura NOT IN "
        "(SELECT Causale FROM Causali WHERE TipoCausale = 'AP')",
        "SELECT COUNT(*) FROM TabCauCon t WHERE t.SpesaCassaPrev NOT IN "
        "(SELECT Spesa FROM Spese WHERE CassaPrev = 'S')",
        "SELECT COUNT(*) FROM TabRiba t WHERE t.PagTipoCli NOT IN "
        "(SELECT PagTipo FROM PagTipi WHERE EmissEffetti = 'S')",
        "SELECT COUNT(*) FROM TabMagazzino t WHERE t.MagPrincipale NOT IN (SELECT Magazzino FROM "
        "Magazzini) "
        "OR t.ListinoPrincipale NOT IN (SELECT Listino FROM Listini)",
        "SELECT COUNT(*) FROM Listini WHERE Moneta NOT IN (SELECT Moneta FROM Monete)",
        "SELECT COUNT(*) FROM PianoConti p WHERE NOT EXISTS (SELECT 1 FROM Mastri m "
        "WHERE m.Gruppo = p.Gruppo AND m.Mastro = p.Mastro)",
        "SELECT COUNT(*) FROM MovPnDett d WHERE NOT EXISTS (SELECT 1 FROM PianoConti p WHERE "
        "p.Gruppo = d.GruppoPartita AND p.Mastro = d.MastroPartita AND p.Conto = d.ContoPartita)",
        "SELECT COUNT(*) FROM MovPnTes WHERE Causale NOT IN (SELECT Causale FROM Causali)",
        // every registration balances
        "SELECT COUNT(*) FROM (SELECT Anno, NumReg FROM MovPnDett GROUP BY Anno, NumReg "
        "HAVING SUM(CASE DareAvere WHEN 'D' THEN Importo ELSE -Importo END) <> 0)",
    };
    for (const auto& sql : mustBeZero) EXPECT_EQ(queryText(env_.companyDb, sql), "0") << sql;
}

TEST_F(DemoEnvironmentTest, BatchInputsMatchTheirLayouts) {
    for (const auto& file : env_.batchFiles) {
        std::string origin = file.filename().string();
        EXPECT_EQ(queryText(env_.commonDb,
                            "SELECT COUNT(*) FROM CaricaFile WHERE Origine = '" + origin + "'"),
                  "1")
            << origin;
    }
    std::ifstream fixed(env_.folder / "causali.txt");
    for (std::string line; std::getline(fixed, line);) EXPECT_EQ(line.size(), 45u) << line;
    EXPECT_EQ(queryText(env_.commonDb,
                        "SELECT MAX(Inizio + Lunghezza - 1) FROM CaricaDettaglio "
                        "WHERE Codice = 'CAUSALI'"),
              "45");
}

// A second build is refused and changes nothing; a build that fails removes what it made.
TEST_F(DemoEnvironmentTest, FailedBuildLeavesNoFileOfItsOwn) {
    auto before = fs::last_write_time(env_.commonDb);
    EXPECT_EQ(testing::errorOf([] { buildDemoEnvironment(env_.folder); }), 58);
    EXPECT_EQ(fs::last_write_time(env_.commonDb), before);
    EXPECT_EQ(queryText(env_.commonDb, "SELECT COUNT(*) FROM Aziende"), "1");

    struct Case {
        const char* brokenScript;
        int error;
    };
    const std::vector<Case> cases = {
        {"demo_company.sql", 3146},  // after both databases and the company copy exist
        {"common.sql", 53},          // before anything exists
    };
    std::string saved = std::getenv("TOLVANE_SOURCE_DIR");
    for (const auto& c : cases) {
        fs::path source = root_ / ("sorgente_" + std::string(c.brokenScript));
        fs::create_directories(source / "schema");
        fs::copy(fs::path(saved) / "schema", source / "schema", fs::copy_options::recursive);
        if (c.error == 53) {
            fs::remove(source / "schema" / c.brokenScript);
        } else {
            std::ofstream(source / "schema" / c.brokenScript) << "INSERT INTO Nessuna VALUES (1);";
        }
        fs::path target = root_ / ("fallita_" + std::string(c.brokenScript));
        const testing::ScopedEnv sourceDir("TOLVANE_SOURCE_DIR", source.string());
        EXPECT_EQ(testing::errorOf([&] { buildDemoEnvironment(target); }), c.error)
            << c.brokenScript;
        EXPECT_TRUE(fs::is_empty(target)) << c.brokenScript;
    }
}

}  // namespace
}  // namespace tolvane

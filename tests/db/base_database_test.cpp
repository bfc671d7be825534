// Database files made from the shipped schema scripts: versioned and in their journal mode,
// older files upgraded without losing rows, and nothing half-made left behind.
#include "db/base_database.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "db/db_connection.h"
#include "db/db_test_folder.h"
#include "db/gestore_rs.h"
#include "support/error_number.h"
#include "support/scratch_folder.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;

class BaseDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override { setenv("TOLVANE_SOURCE_DIR", TOLVANE_SOURCE_DIR, 0); }
    testing::ScratchFolder folder;
};

std::string queryText(const fs::path& path, const std::string& sql) {
    return dbtest::queryOne(path.string(), sql);
}

void execSql(const fs::path& path, const std::string& sql) {
    dbtest::OtherConnection(path.string(), sql);
}

std::set<std::string> columnsOf(const fs::path& path, const std::string& table) {
    std::set<std::string> names;
    for (const auto& row : dbtest::queryFile(path.string(), "PRAGMA table_info(" + table + ")"))
        names.insert(row[1]);
    return names;
}

TEST_F(BaseDatabaseTest, EachSchemaMakesAVersionedFileInItsJournalMode) {
    for (const auto& [script, journal] :
         {std::pair{"common.sql", "delete"}, {"company.sql", "wal"}}) {
        fs::path db = folder.file(std::string(script) + ".db");
        createDatabaseFromSchema(db, schemaPath(script));
        EXPECT_FALSE(fs::exists(db.string() + "-wal")) << script;
        EXPECT_GE(schemaVersion(db), 1) << script;
        EXPECT_EQ(queryText(db, "PRAGMA journal_mode"), journal) << script;
    }
}

TEST_F(BaseDatabaseTest, FailedCreationLeavesNoFileAndRefusesAnExistingOne) {
    struct Case {
        std::string script;
        std::vector<std::string> omitted;
        int error;
    };
    const std::vector<Case> cases = {
        {"CREATE TABLE A (X INTEGER); CREATE TABLE A (Y INTEGER);", {}, 3146},
        {"CREATE TABLE A (X INTEGER, Y INTEGER);", {"A.Z"}, 3265},
        {"CREATE TABLE A (X INTEGER, Y INTEGER);", {"B.X"}, 3265},
        {"CREATE TABLE A (X INTEGER PRIMARY KEY, Y INTEGER);", {"A.X"}, 3146},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        fs::path script = folder.write("s" + std::to_string(i) + ".sql", cases[i].script);
        fs::path db = folder.file("f" + std::to_string(i) + ".db");
        EXPECT_EQ(testing::errorOf([&] { createDatabaseFromSchema(db, script, cases[i].omitted); }),
                  cases[i].error)
            << cases[i].script;
        EXPECT_FALSE(fs::exists(db)) << cases[i].script;
    }
    EXPECT_EQ(testing::errorOf(
                  [&] { createDatabaseFromSchema(folder.file("x.db"), folder.file("manca.sql")); }),
              53);
    EXPECT_FALSE(fs::exists(folder.file("x.db")));
    fs::path existing = folder.write("esiste.db", "dati");
    EXPECT_EQ(
        testing::errorOf([&] { createDatabaseFromSchema(existing, schemaPath("common.sql")); }),
        58);
    EXPECT_EQ(testing::ScratchFolder::read(existing), "dati");
}

TEST_F(BaseDatabaseTest, UpgradeAddsWhatIsMissingAndKeepsTheRows) {
    fs::path db = folder.file("da_aggiornare.db");
    std::vector<std::string> omitted = laterVersionColumns();
    omitted.insert(omitted.end(), {"TabAcq", "Monete.NumDecGest", "Monete.Cee"});
    createDatabaseFromSchema(db, schemaPath("company.sql"), omitted);
    execSql(db,
            "INSERT INTO TabCauCon (GruppoClienti, GruppoRitAcc) VALUES ('05', '02');"
            "INSERT INTO Monete (Moneta, NumDec) VALUES ('Euro', 2);");

    UpgradeResult result = upgradeDatabase(db, schemaPath("company.sql"));

    EXPECT_EQ(result.fromVersion, 0);
    EXPECT_EQ(result.toVersion, schemaVersion(db));
    EXPECT_GE(result.toVersion, 1);
    EXPECT_EQ(result.addedTables, std::vector<std::string>{"TabAcq"});
    EXPECT_EQ(result.addedColumns.size(), laterVersionColumns().size() + 2);
    EXPECT_EQ(queryText(db, "SELECT GruppoClienti || GruppoRitAcc FROM TabCauCon"), "0502");
    EXPECT_EQ(queryText(db, "SELECT COUNT(*) FROM TabCauCon"), "1");
    // the declared type and the collation come with the column
    EXPECT_EQ(
        queryText(db,
                  "SELECT type FROM pragma_table_info('TabCauCon') WHERE name = 'GruppoRitAccVen'"),
        "VARCHAR(2)");
    execSql(db, "UPDATE TabCauCon SET GruppoRitAccVen = 'AB'");
    EXPECT_EQ(queryText(db, "SELECT COUNT(*) FROM TabCauCon WHERE GruppoRitAccVen = 'ab'"), "1");
    // a required column added to stored rows takes its default
    EXPECT_EQ(queryText(db, "SELECT NumDecGest FROM Monete"), "2");
    EXPECT_EQ(queryText(db, "SELECT Cee FROM Monete"), "NULL");
    EXPECT_EQ(queryText(db, "PRAGMA journal_mode"), "wal");

    UpgradeResult again = upgradeDatabase(db, schemaPath("company.sql"));
    EXPECT_TRUE(again.addedTables.empty());
    EXPECT_TRUE(again.addedColumns.empty());
    EXPECT_EQ(again.fromVersion, again.toVersion);
}

TEST_F(BaseDatabaseTest, RequiredColumnWithoutDefaultGetsAnEmptyValue) {
    fs::path db = folder.file("obbligatori.db");
    createDatabaseFromSchema(db, folder.write("v1.sql", "CREATE TABLE T (K INTEGER PRIMARY KEY);"));
    execSql(db, "INSERT INTO T (K) VALUES (7)");
    fs::path v2 = folder.write("v2.sql",
                               "CREATE TABLE VersioneSchema (Versione INTEGER);"
                               "INSERT INTO VersioneSchema VALUES (4);"
                               "CREATE TABLE T (K INTEGER PRIMARY KEY, N SMALLINT NOT NULL,"
                               " S VARCHAR(3) COLLATE NOCASE NOT NULL);"
                               "CREATE TABLE U (A VARCHAR(5)); CREATE INDEX IxU ON U (A);");
    UpgradeResult result = upgradeDatabase(db, v2);
    EXPECT_EQ(result.toVersion, 4);
    EXPECT_EQ(schemaVersion(db), 4);
    EXPECT_EQ(queryText(db, "SELECT K || '|' || N || '|' || S || '|' FROM T"), "7|0||");
    EXPECT_EQ(queryText(db, "SELECT COUNT(*) FROM sqlite_schema WHERE name = 'IxU'"), "1");
}

TEST_F(BaseDatabaseTest, FailedUpgradeLeavesTheFileAsItWas) {
    fs::path db = folder.file("intatta.db");
    createDatabaseFromSchema(db, folder.write("v1.sql", "CREATE TABLE T (A INTEGER);"));
    execSql(db, "INSERT INTO T (A) VALUES (1)");
    fs::path v2 = folder.write("v2.sql",
                               "CREATE TABLE A1 (X INTEGER);"
                               "CREATE TABLE T (A INTEGER, B VARCHAR(2), K INTEGER PRIMARY KEY);");
    EXPECT_EQ(testing::errorOf([&] { upgradeDatabase(db, v2); }), 3146);
    EXPECT_TRUE(columnsOf(db, "A1").empty());
    EXPECT_EQ(columnsOf(db, "T"), (std::set<std::string>{"A"}));
    EXPECT_EQ(queryText(db, "SELECT A FROM T"), "1");
    EXPECT_EQ(testing::errorOf([&] { upgradeDatabase(folder.file("manca.db"), v2); }), 53);
}

TEST_F(BaseDatabaseTest, ScriptRowsAreIndexedAsTheProgramComparesText) {
    fs::path db = folder.file("accenti.db");
    createDatabaseFromSchema(
        db, folder.write("s.sql", "CREATE TABLE T (K VARCHAR(5) COLLATE NOCASE PRIMARY KEY);"));
    runSqlScript(
        db, folder.write("d.sql",
                         "INSERT INTO T VALUES ('\u00d6'), ('\u00e9'), ('e'), ('z'), ('\u00c8');"));
    GestoreDb gestore;
    std::string id = gestore.ApriConnessione(db.string());
    EXPECT_EQ(dbtest::rowsOf(gestore.connection(id).db, "PRAGMA integrity_check"),
              std::vector<std::vector<std::string>>{{"ok"}});
    GestoreRs rs;
    std::string h = rs.ApriRs(gestore, id, "", "Select Count(*) As n From T Where K = 'ö'");
    EXPECT_EQ(rs.ValoreCampoRs(h, "n").toLong(), 1);
}

TEST_F(BaseDatabaseTest, SchemaPathFollowsTheEnvironment) {
    std::string saved = std::getenv("TOLVANE_SOURCE_DIR");
    setenv("TOLVANE_SOURCE_DIR", "/altrove", 1);
    EXPECT_EQ(schemaPath("company.sql"), fs::path("/altrove/schema/company.sql"));
    setenv("TOLVANE_SOURCE_DIR", saved.c_str(), 1);
    EXPECT_TRUE(fs::exists(schemaPath("common.sql")));
}

}  // namespace
}  // namespace tolvane

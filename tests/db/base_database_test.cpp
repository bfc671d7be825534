// Database files made from the shipped schema scripts: every table the program reads is
// there, older files are upgraded without losing rows, and nothing half-made is left behind.
#include "db/base_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <set>
#include <sstream>
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
    fs::path file(const std::string& name) const { return folder_.file(name); }
    fs::path writeScript(const std::string& name, const std::string& text) const {
        return folder_.write(name, text);
    }
    testing::ScratchFolder folder_;
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

TEST_F(BaseDatabaseTest, EachSchemaHasEveryTableTheProgramReads) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"common.sql",
         "VersioneSchema Aziende Utenti Supervisore Personalizzazioni Appoggio "
         "NatGiuridica Decodifiche CaricaFile CaricaDettaglio CaricaDecod TabStudio"},
        {"company.sql",
         "VersioneSchema Ditta TabCauCon TabCoge TabRiba TabMagazzino TabFatt TabAcq "
         "TabReg Monete Stati Causali Spese PianoConti Gruppi Mastri Magazzini Listini "
         "FattDocumenti CauTrasporti AspettoBeni Trasporti Vettori MagCausali Reparti "
         "PagTipi CodiciIva Personalizzazioni ArrotLire ArrotEuro MovPnTes MovPnDett "
         "MovPnIva ErroriCaricamento"},
    };
    for (const auto& [script, tables] : cases) {
        fs::path db = file(std::string(script) + ".db");
        createDatabaseFromSchema(db, schemaPath(script));
        std::istringstream names(tables);
        for (std::string table; names >> table;)
            EXPECT_FALSE(columnsOf(db, table).empty()) << script << " lacks " << table;
        EXPECT_GE(schemaVersion(db), 1) << script;
    }
}

TEST_F(BaseDatabaseTest, CompanyFileIsWalAndLeavesNoLogBehind) {
    fs::path db = file("ditta.db");
    createDatabaseFromSchema(db, schemaPath("company.sql"));
    EXPECT_FALSE(fs::exists(db.string() + "-wal"));
    EXPECT_EQ(queryText(db, "PRAGMA journal_mode"), "wal");
    fs::path common = file("comune.db");
    createDatabaseFromSchema(common, schemaPath("common.sql"));
    EXPECT_EQ(queryText(common, "PRAGMA journal_mode"), "delete");
}

TEST_F(BaseDatabaseTest, CreateRefusesExistingFileAndKeepsIt) {
    fs::path db = writeScript("esiste.db", "dati");
    EXPECT_EQ(testing::errorOf([&] { createDatabaseFromSchema(db, schemaPath("common.sql")); }),
              58);
    EXPECT_EQ(testing::ScratchFolder::read(db), "dati");
}

TEST_F(BaseDatabaseTest, FailedCreationLeavesNoFile) {
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
        fs::path script = writeScript("s" + std::to_string(i) + ".sql", cases[i].script);
        fs::path db = file("f" + std::to_string(i) + ".db");
        EXPECT_EQ(testing::errorOf([&] { createDatabaseFromSchema(db, script, cases[i].omitted); }),
                  cases[i].error)
            << cases[i].script;
        EXPECT_FALSE(fs::exists(db)) << cases[i].script;
    }
    EXPECT_EQ(testing::errorOf([&] { createDatabaseFromSchema(file("x.db"), file("manca.sql")); }),
              53);
    EXPECT_FALSE(fs::exists(file("x.db")));
}

TEST_F(BaseDatabaseTest, OmittedColumnsAndTablesMakeAnOlderFile) {
    fs::path db = file("vecchia.db");
    std::vector<std::string> omitted = laterVersionColumns();
    omitted.push_back("TabAcq");
    createDatabaseFromSchema(db, schemaPath("company.sql"), omitted);
    auto cauCon = columnsOf(db, "TabCauCon");
    auto magazzino = columnsOf(db, "TabMagazzino");
    for (const char* name : {"GruppoRitAccVen", "MastroRitAccVen", "ContoRitAccVen"}) {
        EXPECT_EQ(cauCon.count(name), 0u) << name;
    }
    EXPECT_EQ(cauCon.count("GruppoRitAcc"), 1u);
    EXPECT_EQ(magazzino.count("ContoProd"), 0u);
    EXPECT_EQ(magazzino.count("PercRicListClie"), 1u);
    EXPECT_TRUE(columnsOf(db, "TabAcq").empty());
    EXPECT_EQ(schemaVersion(db), 0);
}

TEST_F(BaseDatabaseTest, UpgradeAddsWhatIsMissingAndKeepsTheRows) {
    fs::path db = file("da_aggiornare.db");
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
    fs::path db = file("obbligatori.db");
    createDatabaseFromSchema(db, writeScript("v1.sql", "CREATE TABLE T (K INTEGER PRIMARY KEY);"));
    execSql(db, "INSERT INTO T (K) VALUES (7)");
    fs::path v2 = writeScript("v2.sql",
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
    fs::path db = file("intatta.db");
    createDatabaseFromSchema(db, writeScript("v1.sql", "CREATE TABLE T (A INTEGER);"));
    execSql(db, "INSERT INTO T (A) VALUES (1)");
    fs::path v2 = writeScript("v2.sql",
                              "CREATE TABLE A1 (X INTEGER);"
                              "CREATE TABLE T (A INTEGER, B VARCHAR(2), K INTEGER PRIMARY KEY);");
    EXPECT_EQ(testing::errorOf([&] { upgradeDatabase(db, v2); }), 3146);
    EXPECT_TRUE(columnsOf(db, "A1").empty());
    EXPECT_EQ(columnsOf(db, "T"), (std::set<std::string>{"A"}));
    EXPECT_EQ(queryText(db, "SELECT A FROM T"), "1");
    EXPECT_EQ(testing::errorOf([&] { upgradeDatabase(file("manca.db"), v2); }), 53);
}

TEST_F(BaseDatabaseTest, ScriptRowsAreIndexedAsTheProgramComparesText) {
    fs::path db = file("accenti.db");
    createDatabaseFromSchema(
        db, writeScript("s.sql", "CREATE TABLE T (K VARCHAR(5) COLLATE NOCASE PRIMARY KEY);"));
    runSqlScript(
        db, writeScript("d.sql",
                        "INSERT INTO T VALUES ('\u00d6'), ('\u00e9'), ('e'), ('z'), ('\u00c8');"));
    GestoreDb gestore;
    std::string id = gestore.ApriConnessione(db.string());
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(gestore.connection(id).db, "PRAGMA integrity_check", -1, &stmt, nullptr);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)), "ok");
    sqlite3_finalize(stmt);
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

// Database files made from the shipped schema scripts: every table the program reads is
// there, older files are upgraded without losing rows, and nothing half-made is left behind.
#include "db/base_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/numbered_error.h"
#include "db/db_connection.h"
#include "db/gestore_rs.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;

class BaseDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TOLVANE_SOURCE_DIR", TOLVANE_SOURCE_DIR, 0);
        dir_ = fs::path(::testing::TempDir()) /
               ("base_db_" + std::to_string(getpid()) + "_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path file(const std::string& name) const { return dir_ / name; }

    fs::path writeScript(const std::string& name, const std::string& text) const {
        std::ofstream(file(name)) << text;
        return file(name);
    }

    fs::path dir_;
};

sqlite3* openDb(const fs::path& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    return db;
}

std::string queryText(const fs::path& path, const std::string& sql) {
    sqlite3* db = openDb(path);
    sqlite3_stmt* stmt = nullptr;
    std::string value = "<error>";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
        value = "<no row>";
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            auto text = sqlite3_column_text(stmt, 0);
            value = text ? reinterpret_cast<const char*>(text) : "<null>";
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
}

void execSql(const fs::path& path, const std::string& sql) {
    sqlite3* db = openDb(path);
    char* error = nullptr;
    int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << message;
}

std::set<std::string> columnsOf(const fs::path& path, const std::string& table) {
    std::set<std::string> names;
    sqlite3* db = openDb(path);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, ("PRAGMA table_info(" + table + ")").c_str(), -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        names.insert(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return names;
}

int errorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const NumberedError& error) {
        return error.number();
    }
    return 0;
}

struct SchemaCase {
    const char* script;
    std::vector<std::string> tables;
};

TEST_F(BaseDatabaseTest, EachSchemaHasEveryTableTheProgramReads) {
    const std::vector<SchemaCase> cases = {
        {"common.sql",
         {"VersioneSchema", "Aziende", "Utenti", "Supervisore", "Personalizzazioni", "Appoggio",
          "NatGiuridica", "Decodifiche", "CaricaFile", "CaricaDettaglio", "CaricaDecod",
          "TabStudio"}},
        {"company.sql", {"VersioneSchema", "Ditta",
                         "TabCauCon",      "TabCoge",
                         "TabRiba",        "TabMagazzino",
                         "TabFatt",        "TabAcq",
                         "TabReg",         "Monete",
                         "Stati",          "Causali",
                         "Spese",          "PianoConti",
                         "Gruppi",         "Mastri",
                         "Magazzini",      "Listini",
                         "FattDocumenti",  "CauTrasporti",
                         "AspettoBeni",    "Trasporti",
                         "Vettori",        "MagCausali",
                         "Reparti",        "PagTipi",
                         "CodiciIva",      "Personalizzazioni",
                         "ArrotLire",      "ArrotEuro",
                         "MovPnTes",       "MovPnDett",
                         "MovPnIva",       "ErroriCaricamento"}},
    };
    for (const auto& c : cases) {
        fs::path db = file(std::string(c.script) + ".db");
        createDatabaseFromSchema(db, schemaPath(c.script));
        for (const auto& table : c.tables) {
            EXPECT_FALSE(columnsOf(db, table).empty()) << c.script << " lacks " << table;
        }
        EXPECT_GE(schemaVersion(db), 1) << c.script;
    }
}

TEST_F(BaseDatabaseTest, CompanyFileIsWalAndLeavesNoLogBehind) {
    fs::path db = file("ditta.db");
    createDatabaseFromSchema(db, schemaPath("company.sql"));
    EXPECT_EQ(queryText(db, "PRAGMA journal_mode"), "wal");
    EXPECT_FALSE(fs::exists(db.string() + "-wal"));
    fs::path common = file("comune.db");
    createDatabaseFromSchema(common, schemaPath("common.sql"));
    EXPECT_EQ(queryText(common, "PRAGMA journal_mode"), "delete");
}

TEST_F(BaseDatabaseTest, CreateRefusesExistingFileAndKeepsIt) {
    fs::path db = file("esiste.db");
    std::ofstream(db) << "dati";
    EXPECT_EQ(errorNumberOf([&] { createDatabaseFromSchema(db, schemaPath("common.sql")); }), 58);
    std::ifstream in(db);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "dati");
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
        EXPECT_EQ(errorNumberOf([&] { createDatabaseFromSchema(db, script, cases[i].omitted); }),
                  cases[i].error)
            << cases[i].script;
        EXPECT_FALSE(fs::exists(db)) << cases[i].script;
    }
    EXPECT_EQ(errorNumberOf([&] { createDatabaseFromSchema(file("x.db"), file("manca.sql")); }),
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
    EXPECT_EQ(queryText(db, "SELECT Cee FROM Monete"), "<null>");
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
    EXPECT_EQ(errorNumberOf([&] { upgradeDatabase(db, v2); }), 3146);
    EXPECT_TRUE(columnsOf(db, "A1").empty());
    EXPECT_EQ(columnsOf(db, "T"), (std::set<std::string>{"A"}));
    EXPECT_EQ(queryText(db, "SELECT A FROM T"), "1");
    EXPECT_EQ(errorNumberOf([&] { upgradeDatabase(file("manca.db"), v2); }), 53);
}

TEST_F(BaseDatabaseTest, ScriptRowsAreIndexedAsTheProgramComparesText) {
    fs::path db = file("accenti.db");
    createDatabaseFromSchema(
        db, writeScript("s.sql", "CREATE TABLE T (K VARCHAR(5) COLLATE NOCASE PRIMARY KEY);"));
    runSqlScript(db, writeScript("d.sql", "INSERT INTO T VALUES ('\u00d6'), ('\u00e9'), ('e'), ('z'), ('\u00c8');"));
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

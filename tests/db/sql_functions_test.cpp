// The functions and the collation registered on every connection: null handling, failures
// that must stop a statement, the caseless collation on accented letters with SQLite's own
// order kept for ASCII, and key look-ups that still use their index.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "db/sql_dialect.h"
#include "sql_test_db.h"

namespace tolvane {
namespace {

using sqltest::SqlTestDb;
using Rows = std::vector<std::vector<std::string>>;

TEST(SqlFunctions, NullInGivesNullOut) {
    SqlTestDb db;
    const std::vector<const char*> calls = {
        "acc_add(NULL, 1)",       "acc_add('a', NULL)",      "acc_div(NULL, 2)",
        "acc_div(2, NULL)",       "acc_idiv(NULL, 2)",       "acc_mod(5, NULL)",
        "acc_pow(NULL, 2)",       "acc_val(NULL)",           "acc_str(NULL)",
        "acc_cstr(NULL)",         "acc_len(NULL)",           "acc_left(NULL, 1)",
        "acc_left('a', NULL)",    "acc_right(NULL, 1)",      "acc_mid(NULL, 1)",
        "acc_mid('a', 1, NULL)",  "acc_instr(1, NULL, 'a')", "acc_instr(1, 'a', NULL)",
        "acc_ucase(NULL)",        "acc_lcase(NULL)",         "acc_trim(NULL)",
        "acc_ltrim(NULL)",        "acc_rtrim(NULL)",         "acc_replace(NULL, 'a', 'b')",
        "acc_int(NULL)",          "acc_fix(NULL)",           "acc_round(NULL)",
        "acc_concat(NULL, NULL)", "like('a*', NULL)",        "like(NULL, 'a')",
    };
    for (const char* call : calls) {
        SCOPED_TRACE(call);
        EXPECT_EQ(db.valueNative(std::string("SELECT ") + call), "NULL");
    }
    EXPECT_EQ(db.valueNative("SELECT acc_isnumeric(NULL)"), "0");
    EXPECT_EQ(db.valueNative("SELECT acc_concat(NULL, 5)"), "5");
}

TEST(SqlFunctions, InvalidArgumentsStopTheStatement) {
    SqlTestDb db;
    struct Case {
        const char* accessSql;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"SELECT 1/0", "Divisione per zero"},
        {"SELECT 5 \\ 0.4", "Divisione per zero"},
        {"SELECT Left('abc', -1)", ""},
        {"SELECT Mid('abc', 0)", ""},
        {"SELECT CLng(3000000000)", "Overflow"},
        {"SELECT CLng(NULL)", "Null"},
        {"SELECT Str('abc')", "Tipo non corrispondente"},
        {"SELECT 'abc' + 1", "Tipo non corrispondente"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.accessSql);
        try {
            db.value(c.accessSql);
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST(SqlFunctions, NocaseFoldsAccentedLetters) {
    SqlTestDb db;
    db.execNative(
        "CREATE TABLE T (x VARCHAR(20) COLLATE NOCASE);"
        "CREATE UNIQUE INDEX ix ON T (x);"
        "INSERT INTO T VALUES ('èrba'), ('Città'), ('ŒUVRE'), ('Straße');");
    EXPECT_EQ(db.query("SELECT x FROM T WHERE x = 'ÈRBA'"), (Rows{{"èrba"}}));
    EXPECT_EQ(db.query("SELECT x FROM T WHERE x = 'CITTÀ'"), (Rows{{"Città"}}));
    EXPECT_EQ(db.query("SELECT x FROM T WHERE x = 'œuvre'"), (Rows{{"ŒUVRE"}}));
    EXPECT_EQ(db.query("SELECT x FROM T WHERE x = 'STRASSE'"), (Rows{}));
    EXPECT_THROW(db.execNative("INSERT INTO T VALUES ('ÈRBA')"), std::runtime_error);
    EXPECT_EQ(db.query("SELECT x FROM T WHERE x > 'ÈR' AND x < 'ÈS'"), (Rows{{"èrba"}}));
}

// Indexes built by plain SQLite on ASCII keys must stay in order under our collation.
TEST(SqlFunctions, NocaseKeepsSqlitesOrderForAscii) {
    const std::vector<std::string> words = {"_a", "a",  "A", "b", "[", "Z",   "z1",  "",    "abc",
                                            "ab", "AB", "~", "@", "0", "a b", "a_b", "a^b", "Zz"};
    std::string values;
    for (const std::string& w : words)
        values += std::string(values.empty() ? "" : ",") + "('" + w + "')";
    const std::string create =
        "CREATE TABLE T (x TEXT COLLATE NOCASE); INSERT INTO T VALUES " + values + ";";
    const std::string order = "SELECT x FROM T ORDER BY x, x COLLATE BINARY";

    SqlTestDb ours;
    ours.execNative(create);
    sqlite3* plain = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &plain), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(plain, create.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    const Rows expected = dbtest::rowsOf(plain, order);
    sqlite3_close(plain);

    EXPECT_EQ(ours.queryNative(order), expected);
}

TEST(SqlFunctions, MisspeltQuotedNameFailsInsteadOfBecomingText) {
    SqlTestDb db;
    db.execNative("CREATE TABLE T (Codice TEXT); INSERT INTO T VALUES ('a');");
    EXPECT_THROW(db.query("SELECT Codcie FROM T"), std::runtime_error);
    EXPECT_THROW(db.query("SELECT * FROM T WHERE [Codcie] = 'Codcie'"), std::runtime_error);
}

TEST(SqlFunctions, KeyLookupsStillUseTheirIndex) {
    SqlTestDb db;
    db.execNative(
        "CREATE TABLE T (Codice VARCHAR(10) COLLATE NOCASE, Anno SMALLINT, v TEXT);"
        "CREATE UNIQUE INDEX k ON T (Codice, Anno);");
    const std::vector<const char*> lookups = {
        "Select * from T Where Codice = 'x' And Anno = 2023",
        "Select * from T Where T.Codice = \"x\" And [Anno] = 2023",
        "Select * from T Where Codice Like 'x*'",  // must not use it: the pattern is ours
    };
    for (std::size_t i = 0; i < lookups.size(); ++i) {
        SCOPED_TRACE(lookups[i]);
        std::string plan;
        for (const auto& row :
             db.queryNative("EXPLAIN QUERY PLAN " + translateAccessSql(lookups[i])))
            plan += row.back() + ";";
        EXPECT_EQ(plan.find("INDEX k") != std::string::npos, i < 2) << plan;
    }
}

}  // namespace
}  // namespace tolvane

// The translator judged by results on a real SQLite database: each dialect construct must give
// the value the dialect defines, literals and quoted names stay untouched, and what cannot be
// translated raises 3146. Also the SELECT shapes that a record set can write through.
#include "db/sql_dialect.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/numbered_error.h"
#include "sql_test_db.h"
#include "support/error_number.h"

namespace tolvane {
namespace {

using sqltest::SqlTestDb;
using Rows = std::vector<std::vector<std::string>>;

struct ValueCase {
    const char* expression;  // in the dialect, selected alone
    const char* expected;    // as SQLite gives it as text; "NULL" for Null
};

void expectValues(const std::vector<ValueCase>& cases) {
    SqlTestDb db;
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.expression);
        std::string got;
        try {
            got = db.value(std::string("SELECT ") + c.expression);
        } catch (const std::exception& e) {
            got = std::string("error: ") + e.what();
        }
        EXPECT_EQ(got, c.expected);
    }
}

TEST(SqlDialect, OperatorsKeepTheDialectsMeaning) {
    expectValues({
        {"'a' & NULL", "a"},
        {"NULL & NULL", "NULL"},
        {"12 & 2023", "122023"},
        {"1.5 & ''", "1,5"},
        {"'12' + '2023'", "122023"},
        {"'12' + 3", "15.0"},
        {"'a' & 1 + 2", "a3"},
        {"100/4", "25.0"},
        {"7.6 \\ 2", "4"},
        {"-7 Mod 3", "-1"},
        {"-2^2", "-4.0"},
        {"2^-1", "0.5"},
        {"10 - 2 - 3", "5"},
        {".5 + 1", "1.5"},
        {"True", "-1"},
        {"Not 1 = 2", "1"},
        {"3 Between 1 And 5", "1"},
        {"3 Not In (1, 2)", "1"},
        {"Not (NULL) Is Null", "0"},
        {"#1/2/23#", "2023-01-02"},
        {"#2023-05-06 14:30#", "2023-05-06 14:30:00"},
        {"#3/4/2020 2:05:09 PM#", "2020-03-04 14:05:09"},
        {"\"say \"\"hi\"\"\"", "say \"hi\""},
    });
}

TEST(SqlDialect, TextComparisonIgnoresCase) {
    expectValues({
        {"'àèìòù' = 'ÀÈÌÒÙ'", "1"},
        {"'abc' < 'ABD'", "1"},
        {"'B' In ('a', 'b')", "1"},
        {"'B' Between 'a' And 'c'", "1"},
        {"UCase('x') = Left('Xy', 1)", "1"},
    });
}

// The patterns themselves are the text helpers' Like; here: it is that one, not SQLite's.
TEST(SqlDialect, LikeIsTheProgramsOwn) {
    expectValues({
        {"'300' Like '3*'", "1"},
        {"'xyz' Like 'x%'", "0"},
        {"'xyz' Not Like 'x*'", "0"},
        {"NULL Like '*'", "NULL"},
    });
}

TEST(SqlDialect, FunctionsKeepTheDialectsMeaning) {
    expectValues({
        {"IIf(NULL, 'a', 'b')", "b"},
        {"IsNull(NULL) = True", "1"},
        {"Not IsNull(NULL)", "0"},
        {"IsNull('')", "0"},
        {"Val('12abc')", "12.0"},
        {"Val(' 1 2 3')", "123.0"},
        {"Val('-1.5e1x')", "-15.0"},
        {"Val('&H1F')", "31.0"},
        {"Left$('àbc', 1)", "à"},
        {"Mid('abcdef', 2, 3)", "bcd"},
        {"Mid('abcdef', 4)", "def"},
        {"Right('abcdef', 2)", "ef"},
        {"Len(12345)", "5"},
        {"InStr('abcabc', 'C')", "3"},
        {"InStr(4, 'abcabc', 'c')", "6"},
        {"InStr(1, 'abcabc', 'C', 0)", "0"},
        {"Int(-1.5)", "-2.0"},
        {"Int(7)", "7"},
        {"Fix(-1.5)", "-1.0"},
        {"IsNumeric('1,5')", "-1"},
        {"IsNumeric(NULL)", "0"},
        {"Str(5)", " 5"},
        {"Str(-5)", "-5"},
        {"Str(0.5)", " .5"},
        {"Trim(Str(42))", "42"},
        {"UCase('àb')", "ÀB"},
        {"LCase('ÀB')", "àb"},
        {"LTrim('  a ')", "a "},
        {"RTrim(' a  ')", " a"},
        {"Nz(NULL, 3)", "3"},
        {"Nz(NULL)", ""},
        {"CLng(2.5)", "2"},
        {"CLng(3.5)", "4"},
        {"Round(0.125, 2)", "0.12"},
        {"Round(2.5)", "2.0"},
        {"Round(3.5)", "4.0"},
        {"Abs(-3)", "3"},
        {"int((5/2)*100+.500001)/100", "2.5"},
        {"int((0.125/2)*100+.500001)/100", "0.06"},
    });
}

class SqlDialectTables : public ::testing::Test {
  protected:
    void SetUp() override {
        db.execNative(
            "CREATE TABLE T (id INTEGER, x VARCHAR(10) COLLATE NOCASE, n INTEGER);"
            "INSERT INTO T VALUES (1, 'a', 10), (2, 'B', 20), (3, 'c', 30), (4, 'àrea', 40);"
            "CREATE TABLE U (id INTEGER, flag VARCHAR(1) COLLATE NOCASE);"
            "INSERT INTO U VALUES (1, 'S'), (2, 'N'), (3, 's');");
    }
    // A column's values in the order of id, comma-separated.
    std::string column(const std::string& name, const std::string& table = "T") {
        return db.valueNative("SELECT ifnull(group_concat(" + name + "), '') FROM (SELECT " + name +
                              " FROM " + table + " ORDER BY id)");
    }
    SqlTestDb db;
};

TEST_F(SqlDialectTables, DeleteFormsRemoveTheRightRows) {
    struct Case {
        const char* sql;
        const char* remaining;
    };
    const std::vector<Case> cases = {
        {"Delete * from T", ""},
        {"Delete T.* From T Where T.x = 'b'", "1,3,4"},
        {"Delete from T Where n > 15", "1"},
        {"Delete T.* From T INNER JOIN U ON T.id = U.id Where U.flag = 'S'", "2,4"},
        {"Delete T.* From (T LEFT JOIN U ON T.id = U.id) Where U.flag Is Null", "1,2,3"},
        {"Delete T.* From T AS Q INNER JOIN U ON Q.id = U.id Where U.flag = 'N'", "1,3,4"},
        {"DELETE T.* FROM T WHERE x = 'ÀREA';", "1,2,3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        db.execNative("SAVEPOINT s");
        db.exec(c.sql);
        EXPECT_EQ(column("id"), c.remaining);
        EXPECT_EQ(column("id", "U"), "1,2,3");
        db.execNative("ROLLBACK TO s; RELEASE s");
    }
}

TEST_F(SqlDialectTables, UpdateWithQualifiedSetAndJoinWritesTheTargetTable) {
    db.exec("UPDATE T SET T.x = 'z', n = n + 1 WHERE T.id = 1");
    EXPECT_EQ(db.queryNative("SELECT x, n FROM T WHERE id = 1"), (Rows{{"z", "11"}}));

    db.exec("UPDATE U INNER JOIN T ON (U.id = T.id) SET T.n = T.n * -1 WHERE U.flag = 's'");
    EXPECT_EQ(column("n"), "-11,20,-30,40");

    db.exec("UPDATE T INNER JOIN U ON T.id = U.id SET T.x = U.flag & '!' WHERE U.flag = 'N'");
    EXPECT_EQ(column("x"), "z,N!,c,àrea");

    EXPECT_EQ(db.query("SELECT TOP 2 T.id FROM T ORDER BY T.n DESC"), (Rows{{"4"}, {"2"}}));
    EXPECT_EQ(
        db.query(
            "SELECT x FROM T WHERE Exists (SELECT * FROM U WHERE U.id = T.id AND U.flag = 'n')"),
        (Rows{{"N!"}}));

    db.exec("UPDATE T SET [T].[x] = IIf(T.x='B','A','D') WHERE [id] Between 2 And 3");
    EXPECT_EQ(column("x"), "z,D,D,àrea");
}

TEST(SqlDialect, LiteralsAndQuotedNamesAreNeverTouched) {
    SqlTestDb db;
    db.execNative(
        "CREATE TABLE \"Select\" (\"From\" TEXT, \"a*b\" TEXT, \"x & y\" TEXT, \"Default\" TEXT,"
        " \"it's\" TEXT);"
        "INSERT INTO \"Select\" VALUES ('f', 'ab', 'xy', 'd', 'q');");
    EXPECT_EQ(db.query("SELECT [From], [a*b], [x & y], Default, [it's] FROM [Select]"),
              (Rows{{"f", "ab", "xy", "d", "q"}}));
    const std::vector<ValueCase> literals = {
        {"'Select * From T Where x = 1'", "Select * From T Where x = 1"},
        {"'a*b?c#[d]'", "a*b?c#[d]"},
        {"'x & y'", "x & y"},
        {"'#12/31/2023#'", "#12/31/2023#"},
        {"'it''s'", "it's"},
        {"\"it's\"", "it's"},
        {"'say \"hi\"'", "say \"hi\""},
        {"'True -- False /* c */'", "True -- False /* c */"},
        {"'[Name]' & \"[Other]\"", "[Name][Other]"},
    };
    expectValues(literals);
}

TEST(SqlDialect, UntranslatableConstructsRaise3146) {
    struct Case {
        std::string sql;
        const char* named;  // must appear in the message
    };
    const std::vector<Case> cases = {
        {"SELECT Format(x, '0') FROM T", "funzione format"},
        {"SELECT a Xor b FROM T", "Xor"},
        {"SELECT x FROM T IN 'c:\\dati\\menu.mdb'", "altro database"},
        {"SELECT x FROM [c:\\dati\\menu.mdb].T", "altro database"},
        {"UPDATE A LEFT JOIN B ON A.id = B.id SET A.x = 1", "LEFT JOIN in UPDATE"},
        {"UPDATE A INNER JOIN B ON A.id = B.id SET A.x = 1, B.y = 2", "più tabelle"},
        {"UPDATE A INNER JOIN B ON A.id = B.id SET x = 1", "senza tabella"},
        {"Delete * From A INNER JOIN B ON A.id = B.id", "più tabelle"},
        {"SELECT 'abc FROM T", "non chiuso"},
        {"SELECT #13/45/2020#", "data"},
        {"SELECT #0:2666666666666666666666#", "data"},
        {"SELECT " + std::string(5000, '(') + "1", "annidata"},
        {"SELECT " + std::string(5000, '-') + "1", "annidata"},
        {"SELECT x INTO Y FROM T", "INTO"},
        {"SELECT DISTINCTROW x FROM T", "DISTINCTROW"},
        {"SELECT Left('a') FROM T", "argomenti"},
        {"CREATE TABLE X (a TEXT)", "definizione"},
        {"SELECT x FROM T WHERE", "espressione attesa"},
        {"SELECT x FROM T ~", "carattere"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        const NumberedError e = testing::errorRaised([&] { translateAccessSql(c.sql); });
        EXPECT_EQ(e.number(), errnum::DatabaseFailure);
        EXPECT_NE(e.description().find(c.named), std::string::npos) << e.description();
    }
}

TEST(SqlSelectShape, UpdatableShapesNameTheirBaseTableAndAliases) {
    struct Case {
        const char* sql;
        const char* baseAlias;
        const char* alias;
        const char* table;  // that the alias stands for
    };
    const std::vector<Case> cases = {
        {"SELECT F.* FROM ((F LEFT JOIN D ON F.a=D.a) LEFT JOIN D AS E ON F.b=E.a)", "F", "e", "D"},
        {"SELECT R.*, C1.x AS y FROM (R R LEFT JOIN C AS C1 ON R.b = C1.a)", "R", "C1", "C"},
        {"SELECT K.g FROM (K LEFT JOIN P AS PC ON (K.c = PC.c) AND (K.g = PC.g))", "K", "PC", "P"},
        {"SELECT Q.x, Q.n + 1 AS m FROM T AS Q WHERE Q.n > 1 ORDER BY Q.x", "Q", "Q", "T"},
        {"SELECT x FROM T WHERE n IN (SELECT Max(n) FROM U)", "T", "T", "T"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        const auto shape = analyzeSelect(c.sql);
        ASSERT_TRUE(shape);
        EXPECT_TRUE(shape->updatable);
        EXPECT_EQ(shape->baseAlias, c.baseAlias);
        EXPECT_EQ(shape->tableOf(c.alias), c.table);
    }
}

TEST(SqlSelectShape, ShapesThatCannotBeWrittenThrough) {
    const std::vector<const char*> readOnly = {
        "SELECT DISTINCT x FROM T",
        "SELECT x, Count(*) FROM T GROUP BY x",
        "SELECT Max(n) AS ultimo FROM T",
        "SELECT T.x FROM T INNER JOIN U ON T.id = U.id",
        "SELECT T.x FROM T, U",
        "SELECT T.x FROM U RIGHT JOIN T ON T.id = U.id",
        "SELECT x FROM T UNION SELECT x FROM U",
    };
    for (const char* sql : readOnly) {
        SCOPED_TRACE(sql);
        const auto shape = analyzeSelect(sql);
        ASSERT_TRUE(shape);
        EXPECT_FALSE(shape->updatable);
        EXPECT_THROW(addRowIdColumn(translateAccessSql(sql), *shape), NumberedError);
    }
    EXPECT_FALSE(analyzeSelect("SELECT x FROM (SELECT x FROM T) AS S"));
    EXPECT_FALSE(analyzeSelect("UPDATE T SET x = 1"));
    EXPECT_FALSE(analyzeSelect("SELECT Format(x) FROM T"));
}

}  // namespace
}  // namespace tolvane

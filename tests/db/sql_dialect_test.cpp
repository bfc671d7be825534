// The translator judged by results on a real SQLite database: each dialect construct must give
// the value the dialect defines, literals and quoted names stay untouched, and what cannot be
// translated raises 3146. Also the SELECT shapes of the page queries.
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
        {"NULL & 'b'", "b"},
        {"NULL & NULL", "NULL"},
        {"'12' & '2023'", "122023"},
        {"12 & 2023", "122023"},
        {"1.5 & ''", "1,5"},
        {"'12' + '2023'", "122023"},
        {"12 + 3", "15"},
        {"'12' + 3", "15.0"},
        {"2 + 3 & 4", "54"},
        {"'a' & 1 + 2", "a3"},
        {"101/2", "50.5"},
        {"100/4", "25.0"},
        {"7 \\ 2", "3"},
        {"7.6 \\ 2", "4"},
        {"7 Mod 3", "1"},
        {"-7 Mod 3", "-1"},
        {"2^3", "8.0"},
        {"-2^2", "-4.0"},
        {"2^-1", "0.5"},
        {"10 - 2 - 3", "5"},
        {"3 * -1", "-3"},
        {"1 + 2 * 3", "7"},
        {".5 + 1", "1.5"},
        {"True", "-1"},
        {"False", "0"},
        {"Not 1 = 2", "1"},
        {"1 = 1 And 2 = 3 Or 4 = 4", "1"},
        {"3 Between 1 And 5", "1"},
        {"3 Not In (1, 2)", "1"},
        {"NULL Is Null", "1"},
        {"Not (NULL) Is Null", "0"},
        {"#12/31/2023#", "2023-12-31"},
        {"#1/2/23#", "2023-01-02"},
        {"#2023-05-06 14:30#", "2023-05-06 14:30:00"},
        {"#3/4/2020 2:05:09 PM#", "2020-03-04 14:05:09"},
        {"\"abc\"", "abc"},
        {"\"say \"\"hi\"\"\"", "say \"hi\""},
    });
}

TEST(SqlDialect, TextComparisonIgnoresCase) {
    expectValues({
        {"'abc' = 'ABC'", "1"},
        {"'àèìòù' = 'ÀÈÌÒÙ'", "1"},
        {"'abc' < 'ABD'", "1"},
        {"'abc' <> 'ABC'", "0"},
        {"'B' In ('a', 'b')", "1"},
        {"'B' Between 'a' And 'c'", "1"},
        {"UCase('x') = Left('Xy', 1)", "1"},
        {"'abc' = 'abd'", "0"},
    });
}

// The patterns themselves are the text helpers' Like; here: it is that one, not SQLite's.
TEST(SqlDialect, LikeUsesStarQuestionHashAndBrackets) {
    expectValues({
        {"'300' Like '3*'", "1"},
        {"'ABC' Like 'a?c'", "1"},
        {"'A7' Like 'a#'", "1"},
        {"'b' Like '[a-c]'", "1"},
        {"'x%' Like 'x%'", "1"},
        {"'xyz' Like 'x%'", "0"},
        {"'x_z' Like 'x_z'", "1"},
        {"'xyz' Like 'x_z'", "0"},
        {"'xyz' Not Like 'x*'", "0"},
        {"NULL Like '*'", "NULL"},
    });
}

TEST(SqlDialect, FunctionsKeepTheDialectsMeaning) {
    expectValues({
        {"IIf(1 = 1, 'a', 'b')", "a"},
        {"IIf(NULL, 'a', 'b')", "b"},
        {"IsNull(NULL)", "-1"},
        {"IsNull(NULL) = True", "1"},
        {"Not IsNull(NULL)", "0"},
        {"IsNull('')", "0"},
        {"Val('12abc')", "12.0"},
        {"Val(' 1 2 3')", "123.0"},
        {"Val('abc')", "0.0"},
        {"Val('-1.5e1x')", "-15.0"},
        {"Val('&H1F')", "31.0"},
        {"Left('abcdef', 2)", "ab"},
        {"Left$('àbc', 1)", "à"},
        {"Mid('abcdef', 2, 3)", "bcd"},
        {"Mid('abcdef', 4)", "def"},
        {"Right('abcdef', 2)", "ef"},
        {"Len('àbc')", "3"},
        {"Len(12345)", "5"},
        {"InStr('abcabc', 'C')", "3"},
        {"InStr(4, 'abcabc', 'c')", "6"},
        {"InStr(1, 'abcabc', 'C', 0)", "0"},
        {"Int(-1.5)", "-2.0"},
        {"Int(2.7)", "2.0"},
        {"Int(7)", "7"},
        {"Fix(-1.5)", "-1.0"},
        {"IsNumeric('12')", "-1"},
        {"IsNumeric('1,5')", "-1"},
        {"IsNumeric('abc')", "0"},
        {"IsNumeric(NULL)", "0"},
        {"Str(5)", " 5"},
        {"Str(-5)", "-5"},
        {"Str(0.5)", " .5"},
        {"Trim(Str(42))", "42"},
        {"UCase('àb')", "ÀB"},
        {"LCase('ÀB')", "àb"},
        {"Trim('  a  ')", "a"},
        {"LTrim('  a ')", "a "},
        {"RTrim(' a  ')", " a"},
        {"Nz(NULL, 3)", "3"},
        {"Nz(NULL)", ""},
        {"Nz(5, 3)", "5"},
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
    std::string ids(const std::string& table = "T") {
        std::string out;
        for (const auto& row : db.queryNative("SELECT id FROM " + table + " ORDER BY id"))
            out += row[0];
        return out;
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
        {"Delete * from T Where x = 'A'", "234"},
        {"Delete T.* From T Where T.x = 'b'", "134"},
        {"Delete from T Where n > 15", "1"},
        {"Delete T.* From T INNER JOIN U ON T.id = U.id Where U.flag = 'S'", "24"},
        {"Delete T.* From (T LEFT JOIN U ON T.id = U.id) Where U.flag Is Null", "123"},
        {"Delete T.* From T AS Q INNER JOIN U ON Q.id = U.id Where U.flag = 'N'", "134"},
        {"DELETE T.* FROM T WHERE x = 'ÀREA';", "123"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        db.execNative("SAVEPOINT s");
        db.exec(c.sql);
        EXPECT_EQ(ids(), c.remaining);
        EXPECT_EQ(ids("U"), "123");
        db.execNative("ROLLBACK TO s; RELEASE s");
    }
}

TEST_F(SqlDialectTables, UpdateWithQualifiedSetAndJoinWritesTheTargetTable) {
    db.exec("UPDATE T SET T.x = 'z', n = n + 1 WHERE T.id = 1");
    EXPECT_EQ(db.queryNative("SELECT x, n FROM T WHERE id = 1"), (Rows{{"z", "11"}}));

    db.exec("UPDATE U INNER JOIN T ON (U.id = T.id) SET T.n = T.n * -1 WHERE U.flag = 's'");
    EXPECT_EQ(db.queryNative("SELECT group_concat(n) FROM (SELECT n FROM T ORDER BY id)"),
              (Rows{{"-11,20,-30,40"}}));

    db.exec("UPDATE T INNER JOIN U ON T.id = U.id SET T.x = U.flag & '!' WHERE U.flag = 'N'");
    EXPECT_EQ(db.queryNative("SELECT group_concat(x) FROM (SELECT x FROM T ORDER BY id)"),
              (Rows{{"z,N!,c,àrea"}}));

    EXPECT_EQ(db.query("SELECT TOP 2 T.id FROM T ORDER BY T.n DESC"), (Rows{{"4"}, {"2"}}));
    EXPECT_EQ(
        db.query(
            "SELECT x FROM T WHERE Exists (SELECT * FROM U WHERE U.id = T.id AND U.flag = 'n')"),
        (Rows{{"N!"}}));

    db.exec("UPDATE T SET [T].[x] = IIf(T.x='B','A','D') WHERE [id] Between 2 And 3");
    EXPECT_EQ(db.queryNative("SELECT group_concat(x) FROM (SELECT x FROM T ORDER BY id)"),
              (Rows{{"z,D,D,àrea"}}));
}

TEST(SqlDialectBatch, JournalFixUpStatementsGiveTheirResults) {
    SqlTestDb db;
    db.execNative(
        "CREATE TABLE MovPnTes (Anno SMALLINT, NumReg INTEGER, Causale VARCHAR(3) COLLATE NOCASE,"
        " PreDoc VARCHAR(5) COLLATE NOCASE);"
        "CREATE TABLE MovPnDett (Anno SMALLINT, NumReg INTEGER, ImportoMon CURRENCY, Importo "
        "CURRENCY,"
        " ImpostaMon CURRENCY, Imposta CURRENCY, DareAvere VARCHAR(1) COLLATE NOCASE,"
        " iva VARCHAR(3) COLLATE NOCASE, ImpostaIndetr CURRENCY, ImpostaIndetrMon CURRENCY);"
        "CREATE TABLE MovPnIva (Anno SMALLINT, NumReg INTEGER, RigaIva SMALLINT);"
        "INSERT INTO MovPnTes VALUES (2023, 1, 'NC', NULL), (2023, 2, 'FT', 'A');"
        "INSERT INTO MovPnDett VALUES (2023, 1, 10, 10, 2.2, 2.2, 'D', '3', NULL, NULL),"
        " (2023, 2, 5, 5, 1.25, 1.25, 'A', '31', NULL, NULL),"
        " (2023, 2, 7, 7, 0.125, 0.125, 'A', '40', NULL, NULL);"
        "INSERT INTO MovPnIva VALUES (2023, 1, 1), (2023, 1, 2), (2023, 12, 2), (2023, 12, 3),"
        " (2022, 3, 2);");

    db.exec(std::string("UPDATE MovPnTes INNER JOIN MovPnDett") +
            " ON (MovPnTes.Anno = MovPnDett.Anno)" + " AND (MovPnTes.NumReg = MovPnDett.NumReg)" +
            " SET MovPnDett.ImportoMon = ImportoMon*-1" + ", MovPnDett.Importo = Importo*-1" +
            ", MovPnDett.ImpostaMon = ImpostaMon*-1" + ", MovPnDett.Imposta = Imposta*-1" +
            ", MovPnDett.DareAvere = IIf(MovPnDett.DareAvere='D','A','D')" +
            " WHERE MovPnTes.Causale =  'nc'");
    EXPECT_EQ(db.queryNative("SELECT NumReg, Importo, DareAvere FROM MovPnDett ORDER BY rowid"),
              (Rows{{"1", "-10", "A"}, {"2", "5", "A"}, {"2", "7", "A"}}));

    db.exec(std::string("UPDATE MovPnDett SET") +
            " MovPnDett.ImpostaIndetrMon = int((MovPnDett.ImpostaMon/2)*100+.500001)/100" +
            ", MovPnDett.ImpostaIndetr = int((MovPnDett.Imposta/2)*100+.500001)/100" +
            " WHERE iva like '3*' and len(trim(iva)) > 1");
    EXPECT_EQ(db.queryNative("SELECT ImpostaIndetr FROM MovPnDett ORDER BY rowid"),
              (Rows{{"NULL"}, {"0.63"}, {"NULL"}}));

    db.exec(std::string("UPDATE MovPnIva SET") + " MovPnIva.RigaIva = [RigaIva]-1" +
            " WHERE Trim(Str([MovPnIva].[NumReg])) & Trim(str([anno]))" +
            " Not In (SELECT trim(str(MovPnIva1.NumReg)) & trim(str(MovPnIva1.Anno))" +
            " FROM MovPnIva as MovPnIva1 Where MovPnIva1.RigaIva=1" +
            " GROUP BY MovPnIva1.Anno, MovPnIva1.NumReg)");
    EXPECT_EQ(
        db.queryNative(
            "SELECT group_concat(RigaIva) FROM (SELECT RigaIva FROM MovPnIva ORDER BY rowid)"),
        (Rows{{"1,2,1,2,1"}}));

    db.exec("UPDATE MovPnTes SET MovPnTes.PreDoc = '.' WHERE MovPnTes.PreDoc Is Null");
    EXPECT_EQ(db.queryNative("SELECT group_concat(PreDoc) FROM MovPnTes"), (Rows{{".,A"}}));
}

TEST(SqlDialectBatch, LayoutQueriesGiveTheirRows) {
    SqlTestDb db;
    db.execNative(
        "CREATE TABLE CaricaDettaglio (Codice VARCHAR(10) COLLATE NOCASE, NomeCampo VARCHAR(20)"
        " COLLATE NOCASE, OrdCampo VARCHAR(5) COLLATE NOCASE, \"Default\" VARCHAR(20) COLLATE "
        "NOCASE);"
        "INSERT INTO CaricaDettaglio VALUES ('CLI', 'a', '10', '§x'), ('CLI', 'b', NULL, NULL),"
        " ('CLI', 'c', '9', 'y'), ('ART', 'd', '1', '§');"
        "CREATE TABLE PianoConti (Conto VARCHAR(10) COLLATE NOCASE, Tipo VARCHAR(1) COLLATE NOCASE,"
        " CodFisc VARCHAR(16) COLLATE NOCASE, PersRiferimento VARCHAR(16) COLLATE NOCASE,"
        " PartIva VARCHAR(11) COLLATE NOCASE);"
        "INSERT INTO PianoConti VALUES ('A0007', '2', NULL, 'RSSMRA', '123'),"
        " ('A0012', '1', NULL, 'X', '1'), ('B0003', '2', NULL, NULL, NULL),"
        " ('AX', '2', 'K', 'Y', 'Y');");

    EXPECT_EQ(
        db.query(std::string("Select * from CaricaDettaglio") + " Where Codice = 'cli'" +
                 " Order by Codice, IIf(IsNull([OrdCampo]),999999,Val([ordcampo]))"),
        (Rows{{"CLI", "c", "9", "y"}, {"CLI", "a", "10", "§x"}, {"CLI", "b", "NULL", "NULL"}}));
    EXPECT_EQ(
        db.query(
            "Select NomeCampo from CaricaDettaglio Where Codice = 'CLI' And left(Default,1) = '§'"),
        (Rows{{"a"}}));
    EXPECT_EQ(
        db.value("SELECT max(Conto) as ultimo FROM PianoConti Where isnumeric(mid(Conto,2)) <> 0"
                 " and len(Conto) = 5 And Conto like 'A*'"),
        "A0012");

    db.exec(std::string("UPDATE PianoConti SET") +
            " PianoConti.CodFisc = PianoConti.PersRiferimento" +
            " WHERE PianoConti.Tipo <> '1' AND PianoConti.CodFisc Is Null" +
            " AND Not(PianoConti.PersRiferimento)Is Null " +
            " AND PianoConti.PersRiferimento <> PianoConti.PartIva");
    EXPECT_EQ(db.queryNative("SELECT group_concat(ifnull(CodFisc, '-')) FROM PianoConti"),
              (Rows{{"RSSMRA,-,-,K"}}));

    db.exec(
        "Insert into CaricaDettaglio (Codice,NomeCampo,[Default]) Values ('x', 'it''s', "
        "\"[a]*&#\")");
    EXPECT_EQ(
        db.queryNative("SELECT NomeCampo, \"Default\" FROM CaricaDettaglio WHERE Codice = 'x'"),
        (Rows{{"it's", "[a]*&#"}}));
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

TEST(SqlDialect, FragmentErrorNamesLayoutAndField) {
    const NumberedError e = testing::errorRaised([] {
        translateSqlFragment("Delete T.* From T Where Format(x) = 1",
                             "tracciato CLIENTI, campo WhereAzz");
    });
    EXPECT_EQ(e.number(), errnum::DatabaseFailure);
    EXPECT_NE(e.description().find("tracciato CLIENTI, campo WhereAzz"), std::string::npos);
    SqlTestDb db;
    db.execNative("CREATE TABLE T (x TEXT COLLATE NOCASE); INSERT INTO T VALUES ('a'), ('b');");
    EXPECT_EQ(db.queryNative(
                  "SELECT x FROM T WHERE " +
                  translateSqlFragment("x Like 'A*' Or x = \"z\"", "tracciato T, campo WhereAzz")),
              (Rows{{"a"}}));
}

// The page loaders' LEFT JOIN queries, run and analysed.
const char* const kTabFattQuery =
    "SELECT TabFatt.* , FattDocumenti.Descrizione , FattDocumenti2.Descrizione FROM ((TabFatt LEFT "
    "JOIN "
    "FattDocumenti ON TabFatt.DocDdt = FattDocumenti.FattDocumento) LEFT JOIN FattDocumenti AS "
    "FattDocumenti2 ON TabFatt.DocFatt = FattDocumenti2.FattDocumento)";
const char* const kTabRegQuery =
    "SELECT TabReg.*,Causali.Descrizione AS DesCausCorriScor,Causali1.Descrizione AS "
    "DesCausCorriVent "
    "FROM ((TabReg TabReg LEFT JOIN Causali ON TabReg.CausCorriScor = Causali.Causale) LEFT JOIN "
    "Causali AS Causali1 ON TabReg.CausCorriVent = Causali1.Causale)";
const char* const kTabCauConQuery =
    "SELECT TabCauCon.GruppoCliInt,TabCauCon.ContoCliInt,PianoContiCliInt.Descrizione FROM "
    "(TabCauCon "
    " LEFT JOIN PianoConti as PianoContiCliInt ON (TabCauCon.ContoCliInt = PianoContiCliInt.Conto) "
    "AND "
    "(TabCauCon.GruppoCliInt = PianoContiCliInt.Gruppo))";

TEST(SqlSelectShape, PageJoinQueriesRunAndAreUpdatable) {
    SqlTestDb db;
    db.execNative(
        "CREATE TABLE TabFatt (DocDdt TEXT COLLATE NOCASE, DocFatt TEXT COLLATE NOCASE);"
        "CREATE TABLE FattDocumenti (FattDocumento TEXT COLLATE NOCASE, Descrizione TEXT);"
        "INSERT INTO TabFatt VALUES ('dd', 'FT');"
        "INSERT INTO FattDocumenti VALUES ('DD', 'Ddt'), ('ft', 'Fattura');"
        "CREATE TABLE TabCauCon (GruppoCliInt TEXT, ContoCliInt TEXT);"
        "CREATE TABLE PianoConti (Gruppo TEXT, Conto TEXT, Descrizione TEXT);"
        "INSERT INTO TabCauCon VALUES ('01', '0001');");
    EXPECT_EQ(db.query(kTabFattQuery), (Rows{{"dd", "FT", "Ddt", "Fattura"}}));
    EXPECT_EQ(db.query(kTabCauConQuery), (Rows{{"01", "0001", "NULL"}}));

    const auto fatt = analyzeSelect(kTabFattQuery);
    ASSERT_TRUE(fatt);
    EXPECT_TRUE(fatt->updatable);
    EXPECT_EQ(fatt->baseTable, "TabFatt");
    EXPECT_EQ(fatt->baseAlias, "TabFatt");
    ASSERT_EQ(fatt->items.size(), 3u);
    EXPECT_EQ(fatt->items[0].qualifier, "TabFatt");
    EXPECT_EQ(fatt->items[0].column, "*");
    EXPECT_EQ(fatt->items[2].qualifier, "FattDocumenti2");
    EXPECT_EQ(fatt->items[2].column, "Descrizione");
    EXPECT_EQ(fatt->tableOf("fattdocumenti2"), "FattDocumenti");
    EXPECT_EQ(fatt->aliases.size(), 3u);

    const std::string withRowId = addRowIdColumn(translateAccessSql(kTabFattQuery), *fatt);
    const Rows rows = db.queryNative(withRowId);
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(rows[0].size(), 5u);
    EXPECT_EQ(rows[0][2], "Ddt");
    db.execNative("UPDATE TabFatt SET DocDdt = 'x' WHERE rowid = " + rows[0][4]);
    EXPECT_EQ(db.valueNative("SELECT DocDdt FROM TabFatt"), "x");
}

TEST(SqlSelectShape, AliasesAndItemsOfAPageQuery) {
    const auto reg = analyzeSelect(kTabRegQuery);
    ASSERT_TRUE(reg);
    EXPECT_TRUE(reg->updatable);
    EXPECT_EQ(reg->baseTable, "TabReg");
    EXPECT_EQ(reg->baseAlias, "TabReg");
    ASSERT_EQ(reg->items.size(), 3u);
    EXPECT_EQ(reg->items[1].qualifier, "Causali");
    EXPECT_EQ(reg->items[1].alias, "DesCausCorriScor");
    EXPECT_EQ(reg->tableOf("Causali1"), "Causali");

    const auto cau = analyzeSelect(kTabCauConQuery);
    ASSERT_TRUE(cau);
    EXPECT_TRUE(cau->updatable);
    EXPECT_EQ(cau->tableOf("PianoContiCliInt"), "PianoConti");

    const auto aliased =
        analyzeSelect("SELECT Q.x, Q.n + 1 AS m FROM T AS Q WHERE Q.n > 1 ORDER BY Q.x");
    ASSERT_TRUE(aliased);
    EXPECT_TRUE(aliased->updatable);
    EXPECT_EQ(aliased->baseAlias, "Q");
    EXPECT_TRUE(aliased->items[1].isExpression);
    EXPECT_EQ(aliased->items[1].alias, "m");
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
    const auto sub = analyzeSelect("SELECT x FROM T WHERE n IN (SELECT Max(n) FROM U)");
    ASSERT_TRUE(sub);
    EXPECT_TRUE(sub->updatable);
}

}  // namespace
}  // namespace tolvane

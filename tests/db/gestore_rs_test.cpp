// GestoreRs on real SQLite files: column names through joins, editable joins, two record sets
// on one row, conversions by declared type, sizes and ranges, and the system's error numbers.
#include "db/gestore_rs.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "open_db_test.h"
#include "support/error_number.h"

namespace tolvane {
namespace {

using testing::errorOf;

constexpr const char* kSchema = R"(
CREATE TABLE Monete (Moneta VARCHAR(5) COLLATE NOCASE NOT NULL PRIMARY KEY,
                     Descrizione VARCHAR(30) COLLATE NOCASE);
CREATE TABLE Prova (
    Codice VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(20) COLLATE NOCASE,
    Sigla VARCHAR(5) COLLATE NOCASE NOT NULL DEFAULT '',
    Note TEXT COLLATE NOCASE,
    Piccolo TINYINT, Intero SMALLINT, Lungo INTEGER, Singolo SINGLE, Doppio DOUBLE,
    Importo CURRENCY, Data DATETIME, Flag BIT, Reale REAL, Virgola FLOAT, Numerico NUMERIC,
    Decimale DECIMAL(15,4), Soldi MONEY,
    Moneta VARCHAR(5) COLLATE NOCASE, Moneta2 VARCHAR(5) COLLATE NOCASE);
CREATE TABLE Obbligo (Codice VARCHAR(5) COLLATE NOCASE NOT NULL PRIMARY KEY,
                      Valore SMALLINT NOT NULL);
INSERT INTO Monete VALUES ('EUR', 'Euro'), ('LIT', 'Lire');
INSERT INTO Prova (Codice, Descrizione, Moneta, Moneta2) VALUES ('A1', 'Prima', 'EUR', 'LIT');
)";

constexpr const char* kJoin =
    "Select P.*, M1.Descrizione, M2.Descrizione From (Prova AS P LEFT JOIN Monete AS M1 ON "
    "P.Moneta = M1.Moneta) LEFT JOIN Monete AS M2 ON P.Moneta2 = M2.Moneta Where P.Codice = 'A1'";

class GestoreRsTest : public dbtest::OpenDbTest {
  protected:
    void SetUp() override {
        OpenDbTest::SetUp();
        native(kSchema);
    }

    std::string open(const std::string& sql, int tipo = rstype::Dynaset) {
        return rs.ApriRs(db, id, "", sql, false, tipo);
    }

    std::string stored(const std::string& column, const std::string& codice = "A1") {
        return dbtest::queryOne(file,
                                "SELECT " + column + " FROM Prova WHERE Codice = '" + codice + "'");
    }

    // Edits the current row and writes it back.
    void write(const std::string& h, const std::string& column, const Variant& value) {
        rs.EditRs(h);
        rs.ScriviCampoRs(h, column, value);
        rs.UpdateRs(h);
    }

    GestoreRs rs;
};

TEST_F(GestoreRsTest, JoinColumnsFoundByAliasTableAndBareNameWithTheirSizes) {
    std::string h = open(kJoin);
    struct Case {
        const char* name;
        const char* expected;
    } cases[] = {
        {"M1.Descrizione", "Euro"}, {"m2.descrizione", "Lire"},
        {"P.Descrizione", "Prima"}, {"Prova.Descrizione", "Prima"},
        {"Descrizione", "Prima"},  // equal names: the base's
        {"codice", "A1"},           {"P.Moneta2", "LIT"},
    };
    for (const Case& c : cases) EXPECT_EQ(rs.ValoreCampoRs(h, c.name).text(), c.expected) << c.name;
    EXPECT_EQ(errorOf([&] { rs.ValoreCampoRs(h, "Inesistente"); }), errnum::ItemNotFound);
    EXPECT_EQ(errorOf([&] { rs.ValoreCampoRs(h, "M3.Descrizione"); }), errnum::ItemNotFound);
    // Sizes in characters for text, in bytes for numbers.
    const std::pair<const char*, int> sizes[] = {
        {"Descrizione", 20}, {"M1.Descrizione", 30}, {"Note", 0}, {"Intero", 2},
        {"Lungo", 4},        {"Importo", 8},         {"Flag", 1}};
    for (const auto& [column, size] : sizes) EXPECT_EQ(rs.DimCampoRs(h, column), size) << column;
}

TEST_F(GestoreRsTest, JoinRecordSetWritesTheBaseTableOnly) {
    std::string h = open(kJoin);
    rs.EditRs(h);
    rs.ScriviCampoRs(h, "Descrizione", "Seconda");
    rs.ScriviCampoRs(h, "P.Note", "nota");
    EXPECT_EQ(errorOf([&] { rs.ScriviCampoRs(h, "M1.Descrizione", "x"); }),
              errnum::FieldNotUpdatable);
    EXPECT_EQ(rs.ValoreCampoRs(h, "Descrizione").text(), "Seconda");  // read while editing
    rs.UpdateRs(h);
    EXPECT_EQ(stored("Descrizione"), "Seconda");
    EXPECT_EQ(stored("Note"), "nota");
    EXPECT_EQ(dbtest::queryOne(file, "SELECT Descrizione FROM Monete WHERE Moneta = 'EUR'"),
              "Euro");
    EXPECT_EQ(rs.ValoreCampoRs(h, "M1.Descrizione").text(), "Euro");
}

TEST_F(GestoreRsTest, TwoRecordSetsOnOneRowNeverUndoEachOther) {
    std::string first = open("Select * from Prova Where Codice = 'A1'");
    std::string second = open(kJoin);
    write(first, "Descrizione", "Da uno");
    rs.EditRs(second);
    EXPECT_EQ(rs.ValoreCampoRs(second, "Descrizione").text(), "Da uno");  // read again on edit
    rs.ScriviCampoRs(second, "Note", "Da due");
    rs.UpdateRs(second);
    write(first, "Intero", 7);
    EXPECT_EQ(stored("Descrizione"), "Da uno");
    EXPECT_EQ(stored("Note"), "Da due");
    EXPECT_EQ(stored("Intero"), "7");
}

TEST_F(GestoreRsTest, EmptyValuesRoundTripByColumnType) {
    struct Case {
        const char* column;
        Variant written;
        const char* storedText;  // as the file holds it
        const char* readText;    // ValoreCampoRs as text
        bool rawNull;            // ValoreGrezzoRs gives Null
    } cases[] = {
        {"Descrizione", "", "NULL", "", true},
        {"Sigla", "", "", "", false},  // NOT NULL text keeps ""
        {"Intero", "", "NULL", "0", true},
        {"Data", "", "NULL", "", true},
        {"Flag", Variant(), "NULL", "0", true},
        {"Intero", 2.5, "2", "2", false},  // whole numbers round half to even
        {"Lungo", "3,5", "4", "4", false},
        {"Importo", "1.234,56789", "1234.5679", "1234,5679", false},
        {"Data", "05/01/2024 10:30:00", "2024-01-05 10:30:00", "05/01/2024 10:30:00", false},
        {"Flag", true, "-1", "", false},
        {"Doppio", "2,5", "2.5", "2,5", false},
        // Amounts keep every digit a double holds whatever word declares them; only SINGLE
        // is a 4-byte number, and a currency keeps 4 decimals.
        {"Reale", "1234,56789012345", "1234.56789012345", "1234,56789012345", false},
        {"Reale", Variant(Currency{12345678}), "1234.5678", "1234,5678", false},
        {"Virgola", "12,35", "12.35", "12,35", false},
        {"Numerico", "0,1", "0.1", "0,1", false},
        {"Decimale", "1234,56789012345", "1234.56789012345", "1234,56789012345", false},
        {"Singolo", "12,35", "12.3500003814697", "12,35", false},
        {"Soldi", "1234,56789", "1234.5679", "1234,5679", false},
        {"Descrizione", 12.5, "12,5", "12,5", false},
    };
    std::string h = open("Select * from Prova");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        write(h, c.column, c.written);
        EXPECT_EQ(stored(c.column), c.storedText);
        std::string again = open("Select * from Prova");
        if (std::string(c.column) != "Flag" || c.rawNull) {
            EXPECT_EQ(rs.ValoreCampoRs(again, c.column).text(), c.readText);
        }
        EXPECT_EQ(rs.ValoreGrezzoRs(again, c.column).isNull(), c.rawNull);
        rs.ChiudiRs(again);
    }
    std::string again = open("Select * from Prova");
    EXPECT_EQ(rs.ValoreCampoRs(again, "Flag").toBool(), true);
}

TEST_F(GestoreRsTest, ScopedRecordSetClosesHoweverTheReadingEnds) {
    std::string letto;
    try {
        ScopedRecordSet prova(rs, db, id, "Select * from Prova");
        letto = prova.handle();
        EXPECT_TRUE(rs.EsisteRs(letto));
        rs.ValoreCampoRs(letto, "Inesistente");
    } catch (const NumberedError&) {
    }
    EXPECT_FALSE(rs.EsisteRs(letto));
}

TEST_F(GestoreRsTest, SizesAndRangesRefuseWhatDoesNotFit) {
    struct Case {
        const char* column;
        Variant value;
        int error;
    } cases[] = {
        {"Descrizione", "123456789012345678901", errnum::FieldTooSmall},
        {"Descrizione", "àèìòùàèìòùàèìòùàèìò", 0},  // characters, not bytes
        {"Piccolo", 255, 0},
        {"Piccolo", 256, errnum::Overflow},
        {"Piccolo", -1, errnum::Overflow},
        {"Intero", 32767, 0},
        {"Intero", "32768", errnum::Overflow},
        {"Lungo", 2147483648.0, errnum::Overflow},
        {"Intero", "abc", errnum::TypeMismatch},
        {"Data", "31/02/2024", errnum::TypeMismatch},
        {"Inesistente", 1, errnum::ItemNotFound},
    };
    std::string h = open("Select * from Prova");
    rs.EditRs(h);
    for (const Case& c : cases)
        EXPECT_EQ(errorOf([&] { rs.ScriviCampoRs(h, c.column, c.value); }), c.error)
            << c.column << " " << c.value.text();
}

TEST_F(GestoreRsTest, ColumnRenamedByAsIsWrittenUnderItsNewName) {
    std::string h = open("Select Codice, Descrizione AS Testo from Prova");
    EXPECT_EQ(rs.ValoreCampoRs(h, "Testo").text(), "Prima");
    write(h, "Testo", "Rinominata");
    EXPECT_EQ(stored("Descrizione"), "Rinominata");
}

TEST_F(GestoreRsTest, FailedAddRaisesDuplicateKeyOrRequiredFieldAndKeepsTheEdit) {
    std::string h = open("Select * from Prova Where 1 = 0");
    rs.AddNewRs(h);
    rs.ScriviCampoRs(h, "Codice", "a1");  // keys compare without regard to case
    EXPECT_EQ(errorOf([&] { rs.UpdateRs(h); }), errnum::DuplicateKey);
    EXPECT_EQ(rs.StatoEditRs(h), editstate::Add);
    rs.ScriviCampoRs(h, "Codice", "B2");
    rs.UpdateRs(h);
    EXPECT_EQ(rs.StatoEditRs(h), editstate::None);
    EXPECT_EQ(dbtest::queryOne(file, "SELECT COUNT(*) FROM Prova"), "2");
    std::string obbligo = open("Select * from Obbligo");
    rs.AddNewRs(obbligo);
    rs.ScriviCampoRs(obbligo, "Codice", "X");
    EXPECT_EQ(errorOf([&] { rs.UpdateRs(obbligo); }), errnum::RequiredField);
    rs.ScriviCampoRs(obbligo, "Valore", "");
    EXPECT_EQ(errorOf([&] { rs.UpdateRs(obbligo); }), errnum::RequiredField);
}

TEST_F(GestoreRsTest, AddedRowBelongsToTheRecordSet) {
    std::string h = open("Select * from Prova Where 1 = 0");
    EXPECT_TRUE(rs.VuotoRs(h));
    EXPECT_TRUE(rs.EofRs(h));
    rs.AddNewRs(h);
    rs.ScriviCampoRs(h, "Codice", "N1");
    rs.ScriviCampoRs(h, "Importo", 10);
    rs.UpdateRs(h);
    EXPECT_TRUE(rs.EofRs(h));  // the current record does not move
    rs.RiposizionaRs(h);
    EXPECT_EQ(rs.ValoreCampoRs(h, "Codice").text(), "N1");
    EXPECT_EQ(rs.ValoreCampoRs(h, "Sigla").text(), "");  // the default, read back
    write(h, "Descrizione", "Aggiunta");
    EXPECT_EQ(stored("Descrizione", "N1"), "Aggiunta");
    EXPECT_EQ(dbtest::queryOne(file, "SELECT COUNT(*) FROM Prova"), "2");
    rs.MoveFirstRs(h);
    EXPECT_EQ(rs.NumRecordRs(h), 1);
    EXPECT_EQ(rs.PosizioneRs(h), 0);
}

TEST_F(GestoreRsTest, NavigationNoCurrentRecordAndReadOnlySets) {
    native("INSERT INTO Prova (Codice) VALUES ('B1'), ('C1')");
    std::string h = open("Select Codice from Prova Order By Codice", rstype::Snapshot);
    std::string seen;
    for (; !rs.EofRs(h); rs.MoveNextRs(h))
        seen += rs.ValoreCampoRs(h, "Codice").text() + std::to_string(rs.PosizioneRs(h));
    EXPECT_EQ(seen, "A10B11C12");
    EXPECT_EQ(rs.PosizioneRs(h), -1);
    EXPECT_EQ(errorOf([&] { rs.ValoreCampoRs(h, "Codice"); }), errnum::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs.MoveNextRs(h); }), errnum::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs.EditRs(h); }), errnum::ReadOnlyRecordset);
    // An expression is read-only too, and its Null reads as empty text.
    std::string ultimo = open("Select max(Lungo) as ultimo from Prova");
    EXPECT_EQ(rs.ValoreCampoRs(ultimo, "ultimo").text(), "");
    EXPECT_TRUE(rs.ValoreGrezzoRs(ultimo, "ultimo").isNull());
    EXPECT_EQ(errorOf([&] { rs.EditRs(ultimo); }), errnum::ReadOnlyRecordset);
}

TEST_F(GestoreRsTest, CancelledEditWritesNothingAndEditOfADeletedRowRaises3167) {
    std::string h = open("Select * from Prova");
    rs.EditRs(h);
    rs.ScriviCampoRs(h, "Descrizione", "Mai");
    rs.AnnullaEditRs(h);
    EXPECT_EQ(errorOf([&] { rs.UpdateRs(h); }), errnum::UpdateWithoutEdit);
    EXPECT_EQ(stored("Descrizione"), "Prima");
    db.EseguiSql(id, "Delete from Prova");
    EXPECT_EQ(errorOf([&] { rs.EditRs(h); }), errnum::RecordDeleted);
}

TEST_F(GestoreRsTest, ReopenPointsTheHandleAtANewSelectAndAFailedOneLeavesItEmpty) {
    native("INSERT INTO Prova (Codice, Descrizione) VALUES ('B1', 'B')");
    std::string h = open("Select * from Prova");
    EXPECT_EQ(errorOf([&] { rs.RiapriRs(h, "Select Nessuna from Monete"); }),
              errnum::DatabaseFailure);
    EXPECT_TRUE(rs.VuotoRs(h));
    EXPECT_EQ(errorOf([&] { rs.AddNewRs(h); }), errnum::ReadOnlyRecordset);
    EXPECT_EQ(errorOf([&] { rs.ValoreCampoRs(h, "Moneta2"); }), errnum::ItemNotFound);
    rs.RiapriRs(h, "Select * from Prova Where Codice = 'B1'");
    ASSERT_FALSE(rs.VuotoRs(h));
    write(h, "Descrizione", "Bis");
    EXPECT_EQ(stored("Descrizione", "B1"), "Bis");
    EXPECT_EQ(stored("Descrizione", "A1"), "Prima");
}

TEST_F(GestoreRsTest, RecordSetKeptAcrossSchemaChangesWritesTheRightColumns) {
    std::string h = open("Select * from Prova");
    auto change = [&](const char* ddl) {
        native(ddl);
        rs.ChiudiRs(open("Select * from Monete"));  // another opening reads the new schema
    };
    change("ALTER TABLE Prova ADD COLUMN Extra VARCHAR(3)");
    rs.EditRs(h);
    rs.ScriviCampoRs(h, "Intero", 5);
    change("ALTER TABLE Prova DROP COLUMN Piccolo");  // moves Intero one place back
    rs.UpdateRs(h);
    EXPECT_EQ(stored("Intero"), "5");
    EXPECT_EQ(stored("Lungo"), "NULL");
}

TEST_F(GestoreRsTest, ANewIntegerKeyIsFollowedByTheRecordSet) {
    native(
        "CREATE TABLE Numerata (Id INTEGER PRIMARY KEY, Testo VARCHAR(5) COLLATE NOCASE);"
        "INSERT INTO Numerata VALUES (1, 'a');");
    std::string h = open("Select * from Numerata");
    write(h, "Id", 50);
    write(h, "Testo", "b");
    EXPECT_EQ(dbtest::queryOne(file, "SELECT Id || Testo FROM Numerata"), "50b");
}

}  // namespace
}  // namespace tolvane

// GestoreDb on real SQLite files: opening, numbered errors of EseguiSql, the schema read from
// table_info, named values and grouped commits that keep what ran before an error or a stop.
#include "db/gestore_db.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <optional>
#include <tuple>

#include "db/gestore_rs.h"
#include "open_db_test.h"
#include "support/error_number.h"
#include "support/other_process.h"

namespace tolvane {
namespace {

using testing::errorOf;

class GestoreDbTest : public dbtest::OpenDbTest {
  protected:
    void SetUp() override {
        OpenDbTest::SetUp();
        native(
            "CREATE TABLE Righe (Codice INTEGER NOT NULL PRIMARY KEY, "
            "Testo VARCHAR(10) COLLATE NOCASE)");
    }

    std::string committedRows() { return dbtest::queryOne(file, "SELECT COUNT(*) FROM Righe"); }

    void insert(int codice) {
        db.EseguiSql(
            id, "Insert into Righe (Codice, Testo) Values (" + std::to_string(codice) + ", 'r')");
    }
};

TEST_F(GestoreDbTest, OpeningAMissingFileOrOneThatIsNoDatabaseGivesErrText) {
    std::string junk = folder.write(
        "junk.db", "questo non e' un database, ma un testo abbastanza lungo da sembrare un file");
    for (const std::string& path : {folder.file("manca.db"), junk}) {
        std::string result = db.ApriConnessione(path);
        EXPECT_EQ(result.rfind("Err: ", 0), 0u) << result;
        EXPECT_FALSE(db.EsisteConnessione(result));
    }
}

TEST_F(GestoreDbTest, EseguiSqlRaisesTheSystemsNumbers) {
    native("CREATE UNIQUE INDEX TestoUnico ON Righe (Testo)");
    insert(1);
    struct Case {
        const char* sql;
        int error;
    } cases[] = {
        {"Insert into Righe (Codice, Testo) Values (1, 'x')", errnum::DuplicateKey},
        {"Insert into Righe (Codice, Testo) Values (9, 'R')", errnum::DuplicateKey},
        {"Insert into Righe (Testo) Values (Null)", 0},  // a rowid key is filled in
        {"Insert into Mancante (A) Values (1)", errnum::DatabaseFailure},
        {"Update Righe Set Testo = 'y' Where Codice = 1", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorOf([&] { db.EseguiSql(id, c.sql); }), c.error) << c.sql;
    EXPECT_EQ(db.EseguiSql(id, "Delete from Righe"), 2);
    EXPECT_EQ(errorOf([&] { db.EseguiSql("Db999", "Delete from Righe"); }),
              errnum::DatabaseFailure);
}

TEST_F(GestoreDbTest, SchemaGivesTheKeyInOrderAndFollowsAChange) {
    native(
        "CREATE TABLE Doppia (Anno SMALLINT NOT NULL, Codice VARCHAR(8) COLLATE NOCASE "
        "NOT NULL, Importo CURRENCY, PRIMARY KEY (Codice, Anno))");
    SchemaInfo& schema = db.Schema(id);
    const TableInfo* righe = schema.table("righe");
    ASSERT_NE(righe, nullptr);
    EXPECT_EQ(righe->primaryKey, std::vector<std::string>{"Codice"});  // rowid key, no index
    const TableInfo* doppia = schema.table("DOPPIA");
    ASSERT_NE(doppia, nullptr);
    EXPECT_EQ(doppia->name, "Doppia");
    EXPECT_EQ(doppia->primaryKey, (std::vector<std::string>{"Codice", "Anno"}));
    EXPECT_TRUE(doppia->column("codice")->notNull);
    EXPECT_EQ(schema.table("Nessuna"), nullptr);
    EXPECT_EQ(righe->column("Nuova"), nullptr);
    native("ALTER TABLE Righe ADD COLUMN Nuova VARCHAR(3)");
    const ColumnInfo* nuova = db.Schema(id).table("Righe")->column("Nuova");
    ASSERT_NE(nuova, nullptr);
    EXPECT_EQ(nuova->size, 3);
}

TEST_F(GestoreDbTest, NamedConnectionValuesIgnoreCase) {
    EXPECT_EQ(db.ValoreConnessione("DbTipoSql"), "");
    db.ImpostaValoreConnessione("DbTipoSql", "0");
    db.ImpostaValoreConnessione("DbAccPWD", "segreta");
    EXPECT_EQ(db.ValoreConnessione("dbtiposql"), "0");
    EXPECT_EQ(db.ValoreConnessione("DBACCPWD"), "segreta");
}

TEST_F(GestoreDbTest, GroupedRunCommitsEveryNStatementsAndWhenItEnds) {
    {
        GroupedCommit run(db, id, {.statements = 2});
        insert(1);
        EXPECT_EQ(committedRows(), "0");
        insert(2);
        EXPECT_EQ(committedRows(), "2");
        insert(3);
        EXPECT_EQ(committedRows(), "2");
        run.flush();  // a stop asked by the user
        EXPECT_EQ(committedRows(), "3");
        {
            GroupedCommit inner(db, id, {.statements = 1});  // joins the outer run
            insert(4);
        }
        EXPECT_EQ(committedRows(), "3");
    }
    EXPECT_EQ(committedRows(), "4");
    try {
        GroupedCommit run(db, id, {.statements = 1000});
        insert(5);
        throw std::runtime_error("interrotto");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(committedRows(), "5");
    insert(6);  // back to one transaction per statement
    EXPECT_EQ(committedRows(), "6");
}

TEST_F(GestoreDbTest, GroupedRunKeepsWhatRanBeforeAnError) {
    GestoreRs rs;
    GroupedCommit run(db, id, {.statements = 1000});
    insert(1);
    std::string h = rs.ApriRs(db, id, "", "Select * from Righe Where 1 = 0");
    rs.AddNewRs(h);
    rs.ScriviCampoRs(h, "Codice", 2);
    rs.UpdateRs(h);
    EXPECT_EQ(errorOf([&] { insert(1); }), errnum::DuplicateKey);
    EXPECT_EQ(committedRows(), "2");
    insert(3);  // the run goes on after the error
    EXPECT_EQ(committedRows(), "2");
}

TEST_F(GestoreDbTest, GroupedRunWhoseLastCommitFailsSaysSo) {
    std::string common = folder.file("comune.db");
    std::string cid = db.ApriConnessione(common, "", "", {.create = true});  // no WAL
    sqlite3* handle = db.connection(cid).db;
    sqlite3_exec(handle, "CREATE TABLE T (A INTEGER)", nullptr, nullptr, nullptr);
    sqlite3_busy_timeout(handle, 0);
    dbtest::OtherConnection reader(common, "BEGIN; SELECT * FROM T;");  // holds a read lock
    int error = errorOf([&] {
        GroupedCommit run(db, cid);
        db.EseguiSql(cid, "Insert into T (A) Values (1)");
    });
    reader.release();
    EXPECT_EQ(error, errnum::DatabaseFailure);
    EXPECT_EQ(dbtest::queryOne(common, "SELECT COUNT(*) FROM T"), "0");
    db.EseguiSql(cid, "Insert into T (A) Values (2)");  // the connection is usable again
    EXPECT_EQ(dbtest::queryOne(common, "SELECT COUNT(*) FROM T"), "1");
}

TEST_F(GestoreDbTest, LocksHeldByAnotherConnectionRaiseTheLockNumbers) {
    std::string journal = folder.file("comune.db");
    std::string jid = db.ApriConnessione(journal, "", "", {.create = true});  // no WAL
    ASSERT_EQ(sqlite3_exec(db.connection(jid).db, "CREATE TABLE Righe (Codice INTEGER)", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    std::chrono::milliseconds saved = db.busyWait();
    db.setBusyWait(std::chrono::milliseconds(10));
    GestoreRs rs;
    auto write = [&](const std::string& target) {
        db.EseguiSql(target, "Insert into Righe (Codice) Values (7)");
    };
    auto read = [&](const std::string& target) {
        rs.ChiudiRs(rs.ApriRs(db, target, "", "Select * from Righe Where Codice = 7"));
    };
    struct Case {
        const char* name;
        bool wal;
        const char* held;
        bool writes;
        int error;
    } cases[] = {
        {"write while another writes", true, "BEGIN IMMEDIATE", true, errnum::RecordLocked},
        {"read beside an exclusive WAL writer", true, "BEGIN EXCLUSIVE", false, 0},
        {"write while another writes, journal", false, "BEGIN IMMEDIATE", true,
         errnum::RecordLocked},
        {"read while the file is held", false, "BEGIN EXCLUSIVE", false, errnum::FileLocked},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string& target = c.wal ? id : jid;
        dbtest::OtherConnection other(c.wal ? file : journal, c.held);
        auto action = [&] { c.writes ? write(target) : read(target); };
        EXPECT_EQ(errorOf(action), c.error);
        other.release();
        EXPECT_EQ(errorOf(action), 0) << "usable again once the other lets go";
        db.EseguiSql(target, "Delete from Righe");
    }

    // A table that a statement of the same connection is still reading.
    insert(1);
    DbConnection& conn = db.connection(id);
    sqlite3_stmt* reading = conn.prepareNative("SELECT Codice FROM Righe");
    ASSERT_EQ(sqlite3_step(reading), SQLITE_ROW);
    EXPECT_EQ(errorOf([&] { conn.runWrite(conn.prepareNative("DROP TABLE Righe"), "prova"); }),
              errnum::TableLocked);
    sqlite3_reset(reading);
    db.setBusyWait(saved);
}

// Fault: a group began with a deferred BEGIN; once it had read, another connection's commit
// made its snapshot stale and its first write was refused at once, without the busy wait. A
// group now holds the write lock from its first statement: another writer waits for it (here
// with no wait, so it is refused), and the group's own write after its read goes through.
TEST_F(GestoreDbTest, GroupedRunHoldsTheWriteLockFromItsFirstStatement) {
    const std::string journal = folder.file("comune.db");
    const std::string jid = db.ApriConnessione(journal, "", "", {.create = true});  // no WAL
    ASSERT_EQ(sqlite3_exec(db.connection(jid).db,
                           "CREATE TABLE Righe (Codice INTEGER NOT NULL PRIMARY KEY)", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    for (const auto& [name, target, path] :
         {std::tuple{"WAL", id, file}, std::tuple{"journal", jid, journal}}) {
        SCOPED_TRACE(name);
        db.EseguiSql(target, "Insert into Righe (Codice) Values (1)");
        GestoreRs rs;
        {
            GroupedCommit run(db, target);
            const std::string h = rs.ApriRs(db, target, "", "Select * from Righe");
            EXPECT_TRUE(run.isOpen());
            EXPECT_THROW(dbtest::OtherConnection(path, "Insert into Righe (Codice) Values (2)"),
                         std::runtime_error);
            rs.AddNewRs(h);
            rs.ScriviCampoRs(h, "Codice", 3);
            rs.UpdateRs(h);
            rs.ChiudiRs(h);
        }
        EXPECT_EQ(dbtest::queryOne(path, "SELECT group_concat(Codice) FROM Righe"), "1,3");
    }
}

// The wait for another writer falls where a group opens: refused there (3260, counted), nothing
// is open and nothing was written; once the other lets go the run goes on.
TEST_F(GestoreDbTest, GroupOpeningRefusedByAnotherWriterLeavesNothingOpen) {
    const std::chrono::milliseconds saved = db.busyWait();
    db.setBusyWait(std::chrono::milliseconds(10));
    DbConnection& conn = db.connection(id);
    {
        GroupedCommit run(db, id, {.statements = 1000, .atBoundaries = true});
        insert(1);
        run.flush();
        EXPECT_FALSE(run.isOpen()) << "the next group waits for the next statement";
        dbtest::OtherConnection other(file, "BEGIN IMMEDIATE");
        const long refusals = conn.lockRefusals;
        EXPECT_EQ(errorOf([&] { run.open(); }), errnum::RecordLocked);
        EXPECT_EQ(errorOf([&] { insert(2); }), errnum::RecordLocked);
        EXPECT_EQ(conn.lockRefusals, refusals + 2);
        EXPECT_FALSE(run.isOpen());
        other.release();
        insert(3);
        EXPECT_TRUE(run.isOpen());
        insert(4);
        run.rollback();
        EXPECT_FALSE(run.isOpen());
        insert(5);
    }
    EXPECT_EQ(dbtest::queryOne(file, "SELECT group_concat(Codice) FROM Righe"), "1,5");
    db.setBusyWait(saved);
}

// A load lets another program in only where one may be waiting: another process that has the
// file open shows by the lock every connection keeps in WAL mode, and is no longer seen once it
// has gone; in rollback-journal mode a program between two transactions holds no lock, so one
// is always taken to be there.
TEST_F(GestoreDbTest, AnotherProgramIsSeenWhileItHasTheDatabaseOpen) {
    const std::string journal = folder.file("comune.db");
    const std::string jid = db.ApriConnessione(journal, "", "", {.create = true});
    const struct {
        const char* name;
        const std::string& target;
        const std::string& path;
        bool otherProgram;
        bool seen;
    } cases[] = {
        {"WAL, alone", id, file, false, false},
        {"WAL, another program has it open", id, file, true, true},
        {"WAL, the other program has gone", id, file, false, false},
        {"rollback journal, alone", jid, journal, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<testing::OtherProcess> other;
        if (c.otherProgram) other.emplace(c.path);
        EXPECT_EQ(db.connection(c.target).anotherProgramMayWrite(), c.seen);
    }
}

// Fault: a group that SQLite undid (an I/O error, a full disk, a trigger's RAISE(ROLLBACK)) was
// followed by writes outside any group and the run went on as if its lines were stored.
TEST_F(GestoreDbTest, GroupedRunUndoneBySqliteStopsAndStoresNothingMore) {
    native(
        "CREATE TRIGGER Annulla BEFORE INSERT ON Righe WHEN NEW.Codice = 99 "
        "BEGIN SELECT RAISE(ROLLBACK, 'annullata'); END");
    const NumberedError stop = testing::errorRaised([&] {
        GroupedCommit run(db, id, {.statements = 2, .atBoundaries = true});
        insert(1);
        insert(2);
        run.boundary();
        insert(3);
        EXPECT_NE(errorOf([&] { insert(99); }), 0);
        insert(4);  // the caller's error row
        run.boundary();
    });
    EXPECT_EQ(stop.number(), errnum::DatabaseFailure);
    EXPECT_NE(stop.description().find("annullata"), std::string::npos) << stop.description();
    EXPECT_EQ(committedRows(), "2");
}

TEST_F(GestoreDbTest, StatementsStayRightWhenManyTextsPassThroughTheCache) {
    native("CREATE TABLE Altre (Codice INTEGER NOT NULL PRIMARY KEY, Testo VARCHAR(10))");
    GestoreRs rs;
    std::string h = rs.ApriRs(db, id, "", "Select * from Altre Where 1 = 0");
    for (int i = 1; i <= 700; ++i) {  // several times the cache's size in distinct texts
        insert(i);
        rs.AddNewRs(h);
        rs.ScriviCampoRs(h, "Codice", i);
        rs.ScriviCampoRs(h, "Testo", "t" + std::to_string(i));
        rs.UpdateRs(h);
    }
    EXPECT_EQ(committedRows(), "700");
    EXPECT_EQ(dbtest::queryOne(file, "SELECT SUM(Codice) FROM Altre WHERE Testo = 't' || Codice"),
              "245350");
}

TEST_F(GestoreDbTest, AFileOpenedTwiceSharesItsConnection) {
    std::string second = db.ApriConnessione(file);
    ASSERT_NE(second, id);
    GroupedCommit run(db, id);
    insert(1);
    // The same connection: no lock against the open group, and its rows are seen.
    db.EseguiSql(second, "Insert into Righe (Codice) Values (2)");
    GestoreRs rs;
    std::string h = rs.ApriRs(db, second, "", "Select Count(*) as n from Righe", false, 4);
    EXPECT_EQ(rs.ValoreCampoRs(h, "n").toLong(), 2);
    db.ChiudiConnessione(second);
    EXPECT_FALSE(db.EsisteConnessione(second));
    EXPECT_TRUE(db.EsisteConnessione(id));
}

}  // namespace
}  // namespace tolvane

// GestoreDb: the program's open databases (SQLite files) kept under string identifiers, with
// SQL execution, the schema of each database, cached statements and grouped commits.
// Never lets a statement's failure pass silently: every failure is a NumberedError.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "db/schema_info.h"
#include "platform/names.h"
#include "platform/numbered_error.h"

struct sqlite3;
struct sqlite3_stmt;

namespace tolvane {

struct DbConnection;

struct OpenOptions {
    bool wal = false;     // company databases: one writer, readers never blocked
    bool create = false;  // create the file when missing (tests, new databases)
    bool readOnly = false;
};

class GestoreDb {
  public:
    GestoreDb();
    ~GestoreDb();
    GestoreDb(const GestoreDb&) = delete;
    GestoreDb& operator=(const GestoreDb&) = delete;

    // Opens a database file (a Windows path from an INI file is mapped first). Returns the
    // new identifier, or "Err: " followed by the error text; never throws. `connect` and
    // `password` are kept for the callers' argument lists: SQLite files have neither.
    // Opening a file that is already open shares its connection under a new identifier.
    std::string ApriConnessione(const std::string& nomeDb, const std::string& connect = "",
                                const std::string& password = "", OpenOptions options = {});
    // Closes the identifier (commits a pending grouped run); unknown identifiers are ignored.
    void ChiudiConnessione(const std::string& idDb);
    bool EsisteConnessione(const std::string& idDb) const;
    // The file behind an identifier; raises 3146 for an unknown identifier.
    std::string PercorsoDb(const std::string& idDb) const;

    // Runs one statement written in the program's SQL dialect; returns the rows changed.
    // Raises 3022 duplicate key, 3314 required field, 3260/3219/3186 for a lock held by
    // another connection, 3146 with the database's own text.
    long EseguiSql(const std::string& idDb, const std::string& sql);

    // How long a statement waits for a lock held by another connection before it is refused;
    // applies to the open databases and to those opened later.
    void setBusyWait(std::chrono::milliseconds wait);
    std::chrono::milliseconds busyWait() const { return busyWait_; }

    // Named connection values: "DbTipoSql", "DbSqlPubUID", "DbSqlPubPWD", "DbAccPWD"
    // (names compared without regard to case; a value never set reads as "").
    std::string ValoreConnessione(const std::string& nome) const;
    void ImpostaValoreConnessione(const std::string& nome, const std::string& valore);

    // The schema of the database under an identifier, in place of the DAO table definitions.
    // Refreshed when the schema changes; raises 3146 for an unknown identifier.
    SchemaInfo& Schema(const std::string& idDb);

    // The connection behind an identifier, for the record-set layer and grouped runs;
    // raises 3146 for an unknown identifier.
    DbConnection& connection(const std::string& idDb) const;
    std::shared_ptr<DbConnection> sharedConnection(const std::string& idDb) const;

  private:
    std::map<std::string, std::shared_ptr<DbConnection>, std::less<>> connections_;
    CaselessMap<std::string> values_;
    long nextId_ = 0;
    std::chrono::milliseconds busyWait_{5000};
};

// Commit policy of a grouped run: commit every `statements` writes or `millis` milliseconds
// (0 = no time limit), and always at the end, on an error and on a stop.
struct GroupedCommitPolicy {
    long statements = 1000;
    long millis = 0;
    // Commits fall only at the points the caller marks with GroupedCommit::boundary, once the
    // count or the time is reached; a failed write then commits nothing either, so that what
    // the caller writes between two boundaries is stored whole or not at all.
    bool atBoundaries = false;
};

// Scoped grouped commits on one database: the writes made through GestoreDb and GestoreRs on
// it while the object lives are committed in groups. Each group holds the write lock from its
// first statement (BEGIN IMMEDIATE, which waits for another writer under the busy timeout) to
// its commit; between two groups other connections may write. A write that fails commits what
// ran before it; destruction (end, exception, stop) commits the rest. When that last commit
// fails its group is undone and, unless an exception is already on its way, the destructor
// raises 3146: the run must not be reported as done. When SQLite itself undoes the open group
// after a failed write, the next boundary, flush or the end raises 3146 and nothing more is
// committed. Nested scopes on the same database join the outer one.
class GroupedCommit {
  public:
    GroupedCommit(GestoreDb& db, const std::string& idDb, GroupedCommitPolicy policy = {});
    ~GroupedCommit() noexcept(false);
    GroupedCommit(const GroupedCommit&) = delete;
    GroupedCommit& operator=(const GroupedCommit&) = delete;

    // Opens the next group now, unless one is open: the caller's unit of work then waits for
    // another writer before it starts. Raises 3260 when the lock stays taken past the wait.
    void open();
    // True while a group is open (written or not yet committed).
    bool isOpen() const;
    // Commits now (a stop asked by the user); the run goes on in a new group.
    void flush();
    // A point where a commit may fall: commits when the policy's count or time is reached.
    void boundary();
    // Undoes what the open group wrote since the last commit; the run goes on in a new group.
    void rollback();

  private:
    std::shared_ptr<DbConnection> connection_;
    bool owner_ = false;
    int uncaught_ = 0;
};

// What a refused statement was doing: a lock held by another connection means the data to
// write are in use to a write, the whole file is held to a read.
enum class SqliteAccess { Read, Write };

}  // namespace tolvane

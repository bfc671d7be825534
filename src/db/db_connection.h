// One open SQLite database as GestoreDb and GestoreRs share it: the handle, its schema, the
// statements prepared so far (by SQL text) and the state of a grouped-commit run.
// Never hands out a statement that is still stepping: callers finish one before the next.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "db/gestore_db.h"
#include "db/other_processes.h"
#include "db/schema_info.h"
#include "db/sql_dialect.h"

struct sqlite3;
struct sqlite3_stmt;

namespace tolvane {

struct DbConnection {
    DbConnection(sqlite3* handle, std::string filePath);
    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    sqlite3* db;
    std::string path;
    SchemaInfo schema;

    // How long a statement waits for a lock that another connection holds. The lock is tried
    // again every millisecond: a program that lets it go only for a moment between two of its
    // transactions is still caught there, where longer pauses would miss it for good.
    void setBusyWait(std::chrono::milliseconds wait);

    // A statement of the program's dialect, translated once and prepared once per text.
    // The cache owns it: it stays valid only until the next prepare on this connection, which
    // may finalize the least recently used statements. Use it at once and never keep it;
    // a caller that keeps statements for a run prepares its own (the batch loader does).
    sqlite3_stmt* prepareDialect(std::string_view accessSql);
    // A statement already in SQLite's SQL (built by this layer), prepared once per text.
    sqlite3_stmt* prepareNative(std::string_view sqliteSql);

    // The shape and translation of a SELECT, worked out once per text.
    struct AnalysedSelect {
        std::optional<SelectShape> shape;
        std::string translated;
    };
    const AnalysedSelect& analyse(const std::string& accessSql);

    // Steps a write statement to its end and resets it, counting it for a grouped run and
    // committing what ran before when it fails. Returns the rows changed.
    long runWrite(sqlite3_stmt* stmt, std::string_view source);

    // Grouped commits. A group opens with BEGIN IMMEDIATE when its first statement is handed out
    // (or at openGroup): the wait for another writer falls there, under the busy timeout, before
    // anything of the group is read. A group that read under a deferred BEGIN would be refused
    // at its first write, without any wait, once another connection had committed.
    int groupDepth = 0;
    GroupedCommitPolicy policy;
    long pendingWrites = 0;
    std::chrono::steady_clock::time_point groupStarted;
    void beginGroup();
    // Opens the group when no transaction is open; raises 3260 when another connection keeps
    // the write lock beyond the busy wait (nothing is then open).
    void openGroup();
    bool groupOpen() const;
    void commitGroup();  // commits; the next group opens with the next statement
    // Last commit of the run; never throws. A commit that fails is rolled back and its
    // error text returned (empty when all went well).
    std::string endGroup();
    // Undoes what the open group wrote since its last commit; never throws.
    void rollbackGroup();
    void afterWrite();
    void commitIfDue();
    void afterFailedWrite(const std::string& cause);
    // Set when SQLite itself rolled the open group back after a failed write (an I/O error, a
    // full disk, a trigger's RAISE(ROLLBACK)): the writes since the last commit are gone, and
    // the run must stop rather than go on as if they were stored.
    std::string undoneGroup;
    void raiseIfGroupUndone();

    // False only when no other program can be waiting to write: the database is in WAL mode and
    // no other process has it open. In rollback-journal mode a program between two transactions
    // holds no lock, so nothing shows it and it is taken to be there. Connections of this same
    // process are not seen.
    bool anotherProgramMayWrite();

    // Statements refused because another connection held a lock beyond the busy wait. A caller
    // that turns errors into something else (a rejected line) still sees that one was refused.
    long lockRefusals = 0;
    // Rows written on this connection since it opened, those of triggers included. A write that
    // SQLite undid may still count, one it kept always does: a count that has not moved means
    // that nothing was written.
    std::int64_t rowsWritten() const;
    // Raises the database error of a failed SQLite call on this connection as a numbered error,
    // counting refusals: 3022 duplicate key, 3314 required field, 3260/3186/3219 for locks held
    // by others after the busy wait, else 3146. The only way a failure on a connection is raised,
    // so that no refusal goes uncounted.
    [[noreturn]] void raiseFailure(int extendedCode, const std::string& text,
                                   std::string_view source,
                                   SqliteAccess access = SqliteAccess::Write);
    // The same for the error the connection holds now (nothing has reset it since the call).
    [[noreturn]] void raiseLastError(std::string_view source,
                                     SqliteAccess access = SqliteAccess::Write);

  private:
    static int waitForLock(void* self, int tries);
    std::chrono::milliseconds busyWait_{0};
    std::chrono::steady_clock::time_point busySince_;
    OtherProcesses otherProcesses_;

    struct Cached {
        sqlite3_stmt* stmt;
        std::uint64_t lastUse;
    };
    sqlite3_stmt* lookup(const std::string& key);
    void evictOldest();
    sqlite3_stmt* prepareCached(const std::string& key, std::string_view sql);
    void exec(const char* sql);
    std::unordered_map<std::string, Cached> statements_;
    std::unordered_map<std::string, AnalysedSelect> analysed_;
    std::uint64_t useClock_ = 0;
};

}  // namespace tolvane

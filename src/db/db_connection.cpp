// Statement cache, error mapping and grouped commits of one SQLite connection.
// A failed write inside a grouped run commits what ran before it, never rolls it back; a group
// never reads before it holds the write lock.
#include "db/db_connection.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <thread>
#include <utility>
#include <vector>

#include "db/sql_dialect.h"

namespace tolvane {

namespace {

constexpr std::size_t kMaxCachedStatements = 256;

[[noreturn]] void raiseSqliteFailure(int extended, const std::string& text, std::string_view source,
                                     SqliteAccess access) {
    std::string src(source);
    // Locks held by other connections, once the busy wait is over. A write is refused while
    // another connection holds the write lock (its open transaction may change the same rows):
    // the data are in use. A read is refused only while another connection writes its commit
    // or holds the file exclusively, as does a recovery: the whole file is in use. SQLITE_LOCKED
    // is a table that another statement of the same connection (or of a shared cache) holds.
    switch (extended & 0xff) {
        case SQLITE_BUSY:
            if (access == SqliteAccess::Read || extended == SQLITE_BUSY_RECOVERY)
                throw NumberedError(errnum::FileLocked,
                                    "Il database è in uso esclusivo da parte di un'altra "
                                    "connessione (" +
                                        text + ").",
                                    src);
            throw NumberedError(
                errnum::RecordLocked,
                "I dati da aggiornare sono bloccati da un'altra connessione (" + text + ").", src);
        case SQLITE_LOCKED:
            throw NumberedError(
                errnum::TableLocked,
                "La tabella è bloccata da un'altra operazione in corso (" + text + ").", src);
        default:
            break;
    }
    switch (extended) {
        case SQLITE_CONSTRAINT_PRIMARYKEY:
        case SQLITE_CONSTRAINT_UNIQUE:
        case SQLITE_CONSTRAINT_ROWID:
            throw NumberedError(errnum::DuplicateKey,
                                "Le modifiche richieste alla tabella non sono riuscite perché "
                                "creerebbero valori duplicati nell'indice o nella chiave "
                                "primaria (" +
                                    text + ").",
                                src);
        case SQLITE_CONSTRAINT_NOTNULL: {
            std::string column = text;
            if (std::size_t colon = text.rfind(": "); colon != std::string::npos)
                column = text.substr(colon + 2);
            throw NumberedError(errnum::RequiredField,
                                "Il campo '" + column + "' non può contenere un valore Null.", src);
        }
        default:
            throw NumberedError(errnum::DatabaseFailure, text, src);
    }
}

}  // namespace

void DbConnection::raiseFailure(int extendedCode, const std::string& text, std::string_view source,
                                SqliteAccess access) {
    if ((extendedCode & 0xff) == SQLITE_BUSY) ++lockRefusals;
    raiseSqliteFailure(extendedCode, text, source, access);
}

void DbConnection::raiseLastError(std::string_view source, SqliteAccess access) {
    raiseFailure(sqlite3_extended_errcode(db), sqlite3_errmsg(db), source, access);
}

DbConnection::DbConnection(sqlite3* handle, std::string filePath)
    : db(handle), path(std::move(filePath)), schema(handle), otherProcesses_(path) {}

void DbConnection::setBusyWait(std::chrono::milliseconds wait) {
    busyWait_ = wait;
    sqlite3_busy_handler(db, &DbConnection::waitForLock, this);
}

int DbConnection::waitForLock(void* self, int tries) {
    auto* connection = static_cast<DbConnection*>(self);
    const auto now = std::chrono::steady_clock::now();
    if (tries == 0) connection->busySince_ = now;
    if (now - connection->busySince_ >= connection->busyWait_) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 1;
}

DbConnection::~DbConnection() {
    endGroup();
    for (auto& [key, entry] : statements_) sqlite3_finalize(entry.stmt);
    statements_.clear();
    schema.release();
    sqlite3_close_v2(db);
}

sqlite3_stmt* DbConnection::lookup(const std::string& key) {
    auto it = statements_.find(key);
    if (it == statements_.end()) return nullptr;
    it->second.lastUse = ++useClock_;
    sqlite3_reset(it->second.stmt);
    sqlite3_clear_bindings(it->second.stmt);
    return it->second.stmt;
}

// Drops the least recently used half: texts built per row (key searches) must not push out
// the statements that a run uses on every row.
void DbConnection::evictOldest() {
    std::vector<std::uint64_t> uses;
    uses.reserve(statements_.size());
    for (auto& [key, entry] : statements_) uses.push_back(entry.lastUse);
    std::nth_element(uses.begin(), uses.begin() + static_cast<long>(uses.size() / 2), uses.end());
    std::uint64_t limit = uses[uses.size() / 2];
    for (auto it = statements_.begin(); it != statements_.end();) {
        if (it->second.lastUse <= limit) {
            sqlite3_finalize(it->second.stmt);
            it = statements_.erase(it);
        } else {
            ++it;
        }
    }
}

sqlite3_stmt* DbConnection::prepareCached(const std::string& key, std::string_view sql) {
    if (sqlite3_stmt* cached = lookup(key)) return cached;
    if (statements_.size() >= kMaxCachedStatements) evictOldest();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()),
                                SQLITE_PREPARE_PERSISTENT, &stmt, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        raiseLastError("GestoreDb", SqliteAccess::Read);
    }
    if (!stmt) throw NumberedError(errnum::DatabaseFailure, "Istruzione SQL vuota.", "GestoreDb");
    for (const char* p = tail; p && *p; ++p) {
        if (*p != ';' && !std::isspace(static_cast<unsigned char>(*p))) {
            sqlite3_finalize(stmt);
            throw NumberedError(errnum::DatabaseFailure,
                                "Il testo SQL contiene più di un'istruzione.", "GestoreDb");
        }
    }
    statements_.emplace(key, Cached{stmt, ++useClock_});
    return stmt;
}

sqlite3_stmt* DbConnection::prepareDialect(std::string_view accessSql) {
    openGroup();
    std::string key(accessSql);
    if (sqlite3_stmt* cached = lookup(key)) return cached;
    std::string translated = translateAccessSql(accessSql);
    return prepareCached(key, translated);
}

sqlite3_stmt* DbConnection::prepareNative(std::string_view sqliteSql) {
    openGroup();
    // A leading control character keeps native texts apart from dialect texts.
    std::string key = "\x01";
    key += sqliteSql;
    return prepareCached(key, sqliteSql);
}

const DbConnection::AnalysedSelect& DbConnection::analyse(const std::string& accessSql) {
    if (auto it = analysed_.find(accessSql); it != analysed_.end()) return it->second;
    if (analysed_.size() >= kMaxCachedStatements) analysed_.clear();
    AnalysedSelect entry;
    entry.translated = translateAccessSql(accessSql);
    entry.shape = analyzeSelect(accessSql);
    return analysed_.emplace(accessSql, std::move(entry)).first->second;
}

long DbConnection::runWrite(sqlite3_stmt* stmt, std::string_view source) {
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        // Taken before the commit below replaces the connection's error.
        int extended = sqlite3_extended_errcode(db);
        std::string text = sqlite3_errmsg(db);
        SqliteAccess access =
            sqlite3_stmt_readonly(stmt) ? SqliteAccess::Read : SqliteAccess::Write;
        sqlite3_reset(stmt);
        afterFailedWrite(text);
        raiseFailure(extended, text, source, access);
    }
    long changed = sqlite3_stmt_readonly(stmt) ? 0 : static_cast<long>(sqlite3_changes(db));
    sqlite3_reset(stmt);
    if (!sqlite3_stmt_readonly(stmt)) afterWrite();
    return changed;
}

void DbConnection::exec(const char* sql) {
    char* message = nullptr;
    int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        raiseFailure(sqlite3_extended_errcode(db), text, "GestoreDb");
    }
}

void DbConnection::beginGroup() {
    if (groupDepth++ > 0) return;
    pendingWrites = 0;
    groupStarted = std::chrono::steady_clock::now();
}

void DbConnection::openGroup() {
    if (groupDepth == 0 || !undoneGroup.empty() || !sqlite3_get_autocommit(db)) return;
    exec("BEGIN IMMEDIATE");
    pendingWrites = 0;
    groupStarted = std::chrono::steady_clock::now();
}

bool DbConnection::groupOpen() const { return !sqlite3_get_autocommit(db); }

std::int64_t DbConnection::rowsWritten() const { return sqlite3_total_changes64(db); }

void DbConnection::commitGroup() {
    if (groupDepth == 0) return;
    raiseIfGroupUndone();
    if (!sqlite3_get_autocommit(db)) exec("COMMIT");
    pendingWrites = 0;
    groupStarted = std::chrono::steady_clock::now();
}

void DbConnection::rollbackGroup() {
    if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    undoneGroup.clear();
    pendingWrites = 0;
    groupStarted = std::chrono::steady_clock::now();
}

std::string DbConnection::endGroup() {
    if (groupDepth == 0) return {};
    if (--groupDepth > 0) return {};
    pendingWrites = 0;
    if (!undoneGroup.empty()) {
        if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return std::exchange(undoneGroup, std::string());
    }
    if (sqlite3_get_autocommit(db) ||
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK)
        return {};
    std::string text = sqlite3_errmsg(db);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return text.empty() ? std::string("COMMIT non riuscito") : text;
}

void DbConnection::afterWrite() {
    if (groupDepth == 0) return;
    ++pendingWrites;
    if (!policy.atBoundaries) commitIfDue();
}

void DbConnection::commitIfDue() {
    if (groupDepth == 0) return;
    raiseIfGroupUndone();
    bool byCount = policy.statements > 0 && pendingWrites >= policy.statements;
    bool byTime = policy.millis > 0 && std::chrono::steady_clock::now() - groupStarted >=
                                           std::chrono::milliseconds(policy.millis);
    if (byCount || byTime) commitGroup();
}

void DbConnection::raiseIfGroupUndone() {
    if (!undoneGroup.empty())
        throw NumberedError(errnum::DatabaseFailure, undoneGroup, "GestoreDb");
}

bool DbConnection::anotherProgramMayWrite() {
    sqlite3_stmt* stmt = nullptr;
    bool wal = false;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        const auto* mode = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        wal = mode && sqlite3_stricmp(mode, "wal") == 0;
    }
    sqlite3_finalize(stmt);
    return !wal || otherProcesses_.holdTheFile();
}

void DbConnection::afterFailedWrite(const std::string& cause) {
    if (groupDepth == 0) return;
    if (sqlite3_get_autocommit(db)) {
        if (undoneGroup.empty())
            undoneGroup = "Il database ha annullato le scritture non ancora salvate: " + cause;
        // Whatever the caller writes until it stops joins a group that is rolled back at its end.
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        return;
    }
    // Only the failed statement was undone: the open group waits for the caller's boundary.
    if (policy.atBoundaries) return;
    // What ran before it is made permanent now; a commit refused by a lock leaves the group
    // open, so that a later commit or the end of the run stores it.
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK) {
        pendingWrites = 0;
        groupStarted = std::chrono::steady_clock::now();
    }
}

}  // namespace tolvane

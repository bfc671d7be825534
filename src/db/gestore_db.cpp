// GestoreDb over SQLite files: identifiers, opening with the dialect's functions registered,
// statements by SQL text, named connection values and grouped-commit scopes.
// Never throws from ApriConnessione: a failure comes back as "Err: " and its text.
#include "db/gestore_db.h"

#include <sqlite3.h>

#include <exception>
#include <filesystem>

#include "db/db_connection.h"
#include "db/sql_functions.h"
#include "platform/path_map.h"

namespace tolvane {

namespace {

std::string canonicalPath(const std::string& path) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : p.string();
}

[[noreturn]] void unknownIdentifier(std::string_view idDb) {
    throw NumberedError(errnum::DatabaseFailure,
                        "Database non aperto: identificativo '" + std::string(idDb) + "'.",
                        "GestoreDb");
}

}  // namespace

GestoreDb::GestoreDb() = default;

GestoreDb::~GestoreDb() = default;

std::string GestoreDb::ApriConnessione(const std::string& nomeDb, const std::string& connect,
                                       const std::string& password, OpenOptions options) {
    (void)connect;
    (void)password;
    std::string path = mapWindowsPath(nomeDb);
    if (path.empty()) return "Err: Nome del database non indicato.";
    std::string canonical = canonicalPath(path);

    std::shared_ptr<DbConnection> shared;
    for (auto& [id, conn] : connections_)
        if (conn->path == canonical) shared = conn;

    if (!shared) {
        if (!options.create && !std::filesystem::exists(path))
            return "Err: Impossibile trovare il file '" + path + "'.";
        // One thread uses the connections: SQLite need not lock a mutex around every call.
        int flags = SQLITE_OPEN_NOMUTEX;
        flags |= options.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
        if (options.create && !options.readOnly) flags |= SQLITE_OPEN_CREATE;
        sqlite3* db = nullptr;
        int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
        if (rc != SQLITE_OK) {
            std::string text = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
            sqlite3_close_v2(db);
            return "Err: Impossibile aprire il database '" + path + "': " + text;
        }
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, static_cast<int>(busyWait_.count()));
        // Reading the schema version proves that the file is a database.
        char* message = nullptr;
        std::string setup = "PRAGMA schema_version;";
        if (options.wal && !options.readOnly)
            setup += "PRAGMA journal_mode=WAL;PRAGMA synchronous=NORMAL;";
        rc = sqlite3_exec(db, setup.c_str(), nullptr, nullptr, &message);
        if (rc != SQLITE_OK) {
            std::string text = message ? message : sqlite3_errstr(rc);
            sqlite3_free(message);
            sqlite3_close_v2(db);
            return "Err: Impossibile aprire il database '" + path + "': " + text;
        }
        try {
            registerAccessFunctions(db);
        } catch (const NumberedError& e) {
            sqlite3_close_v2(db);
            return "Err: " + e.description();
        }
        shared = std::make_shared<DbConnection>(db, canonical);
        shared->setBusyWait(busyWait_);
    } else if (options.wal && !options.readOnly) {
        // Opened first without WAL: a company opening still gets it.
        sqlite3_exec(shared->db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    }
    std::string id = "Db" + std::to_string(++nextId_);
    connections_[id] = shared;
    return id;
}

void GestoreDb::ChiudiConnessione(const std::string& idDb) {
    auto it = connections_.find(idDb);
    if (it == connections_.end()) return;
    connections_.erase(it);  // the file closes with its last identifier and record set
}

bool GestoreDb::EsisteConnessione(const std::string& idDb) const {
    return connections_.count(idDb) != 0;
}

std::string GestoreDb::PercorsoDb(const std::string& idDb) const { return connection(idDb).path; }

DbConnection& GestoreDb::connection(const std::string& idDb) const {
    auto it = connections_.find(idDb);
    if (it == connections_.end()) unknownIdentifier(idDb);
    return *it->second;
}

std::shared_ptr<DbConnection> GestoreDb::sharedConnection(const std::string& idDb) const {
    auto it = connections_.find(idDb);
    if (it == connections_.end()) unknownIdentifier(idDb);
    return it->second;
}

SchemaInfo& GestoreDb::Schema(const std::string& idDb) {
    DbConnection& conn = connection(idDb);
    conn.schema.refreshIfChanged();
    return conn.schema;
}

long GestoreDb::EseguiSql(const std::string& idDb, const std::string& sql) {
    DbConnection& conn = connection(idDb);
    sqlite3_stmt* stmt = conn.prepareDialect(sql);
    return conn.runWrite(stmt, "GestoreDb");
}

void GestoreDb::setBusyWait(std::chrono::milliseconds wait) {
    busyWait_ = wait;
    for (auto& [id, conn] : connections_) conn->setBusyWait(wait);
}

std::string GestoreDb::ValoreConnessione(const std::string& nome) const {
    auto it = values_.find(nome);
    return it == values_.end() ? std::string() : it->second;
}

void GestoreDb::ImpostaValoreConnessione(const std::string& nome, const std::string& valore) {
    values_.insert_or_assign(nome, valore);
}

GroupedCommit::GroupedCommit(GestoreDb& db, const std::string& idDb, GroupedCommitPolicy policy)
    : connection_(db.sharedConnection(idDb)) {
    if (connection_->groupDepth == 0) connection_->policy = policy;
    connection_->beginGroup();
    owner_ = true;
    uncaught_ = std::uncaught_exceptions();
}

GroupedCommit::~GroupedCommit() noexcept(false) {
    if (!owner_) return;
    std::string failure = connection_->endGroup();
    if (!failure.empty() && std::uncaught_exceptions() == uncaught_)
        throw NumberedError(errnum::DatabaseFailure, failure, "GestoreDb");
}

void GroupedCommit::open() { connection_->openGroup(); }

bool GroupedCommit::isOpen() const { return connection_->groupOpen(); }

void GroupedCommit::flush() { connection_->commitGroup(); }

void GroupedCommit::rollback() { connection_->rollbackGroup(); }

void GroupedCommit::boundary() { connection_->commitIfDue(); }

}  // namespace tolvane

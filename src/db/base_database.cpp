// Creation and upgrade of database files from the schema scripts, on the plain SQLite API.
// Must never lose a stored row nor leave a half-made file behind.
#include "db/base_database.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <system_error>

#include "db/sql_functions.h"
#include "platform/names.h"
#include "platform/numbered_error.h"
#include "platform/scope_guard.h"

namespace tolvane {

namespace {

constexpr const char* kSource = "BaseDatabase";

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using DbHandle = std::unique_ptr<sqlite3, DbCloser>;

struct StmtFinalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using StmtHandle = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

[[noreturn]] void raiseDb(sqlite3* db, const std::string& what) {
    throw NumberedError(errnum::DatabaseFailure, what + ": " + sqlite3_errmsg(db), kSource);
}

DbHandle openDb(const std::filesystem::path& path, int flags) {
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    DbHandle db(raw);
    if (rc != SQLITE_OK) {
        std::string message = raw ? sqlite3_errmsg(raw) : "memoria insufficiente";
        throw NumberedError(errnum::DatabaseFailure,
                            "Impossibile aprire " + path.string() + ": " + message, kSource);
    }
    sqlite3_extended_result_codes(db.get(), 1);
    // Rows written by a script are indexed by the same caseless order the program reads with.
    registerAccessFunctions(db.get());
    return db;
}

void exec(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errmsg(db);
        sqlite3_free(error);
        throw NumberedError(errnum::DatabaseFailure, message + " [" + sql.substr(0, 200) + "]",
                            kSource);
    }
}

// A write transaction that rolls back unless it was committed, however the work ends.
class WriteTransaction {
  public:
    explicit WriteTransaction(sqlite3* db) : db_(db) { exec(db_, "BEGIN IMMEDIATE"); }
    ~WriteTransaction() {
        if (db_ != nullptr) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void commit() {
        exec(db_, "COMMIT");
        db_ = nullptr;
    }

  private:
    sqlite3* db_;
};

StmtHandle prepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) raiseDb(db, sql);
    return StmtHandle(raw);
}

std::string columnText(sqlite3_stmt* stmt, int column) {
    const unsigned char* text = sqlite3_column_text(stmt, column);
    return text ? reinterpret_cast<const char*>(text) : std::string();
}

std::string readScript(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw NumberedError(errnum::FileNotFound, "File non trovato: " + file.string(), kSource);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct ColumnInfo {
    std::string name;
    std::string type;
    bool notNull = false;
    std::string defaultValue;  // SQL text of the default, empty for none
    bool hasDefault = false;
    bool primaryKey = false;
};

std::vector<ColumnInfo> tableColumns(sqlite3* db, const std::string& table) {
    std::vector<ColumnInfo> columns;
    auto stmt = prepare(db, "PRAGMA table_info(" + quoteName(table) + ")");
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
        ColumnInfo info;
        info.name = columnText(stmt.get(), 1);
        info.type = columnText(stmt.get(), 2);
        info.notNull = sqlite3_column_int(stmt.get(), 3) != 0;
        info.hasDefault = sqlite3_column_type(stmt.get(), 4) != SQLITE_NULL;
        info.defaultValue = columnText(stmt.get(), 4);
        info.primaryKey = sqlite3_column_int(stmt.get(), 5) != 0;
        columns.push_back(std::move(info));
    }
    return columns;
}

// Tables in creation order, with the statement that made each.
std::vector<std::pair<std::string, std::string>> userTables(sqlite3* db) {
    std::vector<std::pair<std::string, std::string>> tables;
    auto stmt = prepare(db,
                        "SELECT name, sql FROM sqlite_schema WHERE type = 'table' "
                        "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid");
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
        tables.emplace_back(columnText(stmt.get(), 0), columnText(stmt.get(), 1));
    }
    return tables;
}

std::vector<std::string> indexStatements(sqlite3* db, const std::string& table) {
    std::vector<std::string> statements;
    auto stmt = prepare(db,
                        "SELECT sql FROM sqlite_schema WHERE type = 'index' AND sql IS NOT NULL "
                        "AND tbl_name = ?1 ORDER BY rowid");
    sqlite3_bind_text(stmt.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) statements.push_back(columnText(stmt.get(), 0));
    return statements;
}

int readVersion(sqlite3* db) {
    bool hasTable = false;
    for (const auto& [name, sql] : userTables(db)) {
        if (sameName(name, "VersioneSchema")) hasTable = true;
    }
    if (!hasTable) return 0;
    auto stmt = prepare(db, "SELECT MAX(Versione) FROM VersioneSchema");
    return sqlite3_step(stmt.get()) == SQLITE_ROW ? sqlite3_column_int(stmt.get(), 0) : 0;
}

void writeVersion(sqlite3* db, int version) {
    exec(db, "DELETE FROM VersioneSchema");
    exec(db, "INSERT INTO VersioneSchema (Versione) VALUES (" + std::to_string(version) + ")");
}

DbHandle schemaInMemory(const std::filesystem::path& schemaFile) {
    std::string script = readScript(schemaFile);
    auto db = openDb(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    exec(db.get(), script);
    return db;
}

bool isNumericType(const std::string& declared) {
    std::string type = lower(declared);
    for (const char* word : {"int", "float", "double", "real", "currency", "bit", "numeric"}) {
        if (type.find(word) != std::string::npos) return true;
    }
    return false;
}

std::string addColumnStatement(sqlite3* schema, const std::string& table,
                               const ColumnInfo& column) {
    std::string sql = "ALTER TABLE " + quoteName(table) + " ADD COLUMN " + quoteName(column.name);
    if (!column.type.empty()) sql += " " + column.type;
    const char* collation = nullptr;
    if (sqlite3_table_column_metadata(schema, "main", table.c_str(), column.name.c_str(), nullptr,
                                      &collation, nullptr, nullptr, nullptr) == SQLITE_OK &&
        collation && lower(collation) != "binary") {
        sql += std::string(" COLLATE ") + collation;
    }
    if (column.notNull) {
        // Rows already stored need a value for a required column.
        sql += " NOT NULL DEFAULT ";
        sql += column.hasDefault ? column.defaultValue : (isNumericType(column.type) ? "0" : "''");
    } else if (column.hasDefault) {
        sql += " DEFAULT " + column.defaultValue;
    }
    return sql;
}

void omitFromDatabase(sqlite3* db, const std::vector<std::string>& omitted) {
    CaselessMap<std::string> tables;  // stored name by name
    for (const auto& [name, sql] : userTables(db)) tables.emplace(name, name);
    for (const std::string& entry : omitted) {
        auto dot = entry.find('.');
        std::string table = entry.substr(0, dot);
        auto found = tables.find(table);
        if (found == tables.end()) {
            throw NumberedError(errnum::ItemNotFound, "Tabella inesistente: " + table, kSource);
        }
        if (dot == std::string::npos) {
            exec(db, "DROP TABLE " + quoteName(found->second));
            continue;
        }
        std::string column = entry.substr(dot + 1);
        bool known = false;
        for (const auto& info : tableColumns(db, found->second)) {
            if (sameName(info.name, column)) known = true;
        }
        if (!known) {
            throw NumberedError(errnum::ItemNotFound, "Campo inesistente: " + entry, kSource);
        }
        exec(db, "ALTER TABLE " + quoteName(found->second) + " DROP COLUMN " + quoteName(column));
    }
}

}  // namespace

void removeDatabaseFiles(const std::filesystem::path& path) {
    std::error_code ignored;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        std::filesystem::remove(path.string() + suffix, ignored);
    }
}

std::filesystem::path schemaPath(std::string_view name) {
    if (const char* dir = std::getenv("TOLVANE_SOURCE_DIR"); dir && *dir) {
        return std::filesystem::path(dir) / "schema" / name;
    }
#ifdef TOLVANE_SOURCE_DIR
    return std::filesystem::path(TOLVANE_SOURCE_DIR) / "schema" / name;
#else
    std::error_code error;
    auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    auto folder = error ? std::filesystem::current_path() : executable.parent_path();
    auto installed = folder.parent_path() / "share" / "tolvane" / "schema" / name;
    if (std::filesystem::exists(installed)) return installed;
    // A program run from a build folder inside the source tree finds the tree's scripts.
    for (auto dir = folder; dir.has_relative_path(); dir = dir.parent_path()) {
        auto candidate = dir / "schema" / name;
        if (std::filesystem::exists(candidate)) return candidate;
    }
    return installed;
#endif
}

void createDatabaseFromSchema(const std::filesystem::path& path,
                              const std::filesystem::path& schemaFile,
                              const std::vector<std::string>& omitted) {
    std::string script = readScript(schemaFile);
    // O_EXCL makes "does it exist" and "create it" one step: a file made meanwhile is not
    // overwritten.
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) {
        if (errno == EEXIST) {
            throw NumberedError(errnum::FileAlreadyExists, "Il file esiste già: " + path.string(),
                                kSource);
        }
        throw NumberedError(errnum::FileAccess, "Impossibile creare " + path.string(), kSource);
    }
    ::close(fd);
    ScopeGuard discard([&path] { removeDatabaseFiles(path); });
    auto db = openDb(path, SQLITE_OPEN_READWRITE);
    exec(db.get(), "PRAGMA synchronous = OFF");  // a failed creation deletes the file anyway
    exec(db.get(), script);
    if (!omitted.empty()) {
        omitFromDatabase(db.get(), omitted);
        writeVersion(db.get(), 0);
    }
    discard.dismiss();
}

UpgradeResult upgradeDatabase(const std::filesystem::path& path,
                              const std::filesystem::path& schemaFile) {
    if (!std::filesystem::exists(path)) {
        throw NumberedError(errnum::FileNotFound, "File non trovato: " + path.string(), kSource);
    }
    auto schema = schemaInMemory(schemaFile);
    auto db = openDb(path, SQLITE_OPEN_READWRITE);

    UpgradeResult result;
    WriteTransaction transaction(db.get());
    result.fromVersion = readVersion(db.get());
    CaselessMap<std::string> existing;
    for (const auto& [name, sql] : userTables(db.get())) existing.emplace(name, name);

    for (const auto& [table, createSql] : userTables(schema.get())) {
        auto found = existing.find(table);
        if (found == existing.end()) {
            exec(db.get(), createSql);
            for (const auto& index : indexStatements(schema.get(), table)) exec(db.get(), index);
            result.addedTables.push_back(table);
            continue;
        }
        std::set<std::string> stored;
        for (const auto& info : tableColumns(db.get(), found->second))
            stored.insert(lower(info.name));
        for (const auto& column : tableColumns(schema.get(), table)) {
            if (stored.count(lower(column.name))) continue;
            if (column.primaryKey) {
                throw NumberedError(
                    errnum::DatabaseFailure,
                    "Impossibile aggiungere il campo chiave " + table + "." + column.name, kSource);
            }
            exec(db.get(), addColumnStatement(schema.get(), found->second, column));
            result.addedColumns.push_back(table + "." + column.name);
        }
    }
    // A file written by a newer program keeps its higher version.
    result.toVersion = std::max(result.fromVersion, readVersion(schema.get()));
    if (result.toVersion != result.fromVersion || !result.addedTables.empty()) {
        writeVersion(db.get(), result.toVersion);
    }
    transaction.commit();
    return result;
}

void runSqlScript(const std::filesystem::path& path, const std::filesystem::path& scriptFile) {
    std::string script = readScript(scriptFile);
    if (!std::filesystem::exists(path)) {
        throw NumberedError(errnum::FileNotFound, "File non trovato: " + path.string(), kSource);
    }
    auto db = openDb(path, SQLITE_OPEN_READWRITE);
    WriteTransaction transaction(db.get());
    exec(db.get(), script);
    transaction.commit();
}

int schemaVersion(const std::filesystem::path& path) {
    if (!std::filesystem::exists(path)) {
        throw NumberedError(errnum::FileNotFound, "File non trovato: " + path.string(), kSource);
    }
    auto db = openDb(path, SQLITE_OPEN_READONLY);
    return readVersion(db.get());
}

const std::vector<std::string>& laterVersionColumns() {
    static const std::vector<std::string> columns = {
        "TabCauCon.GruppoRitAccVen", "TabCauCon.MastroRitAccVen", "TabCauCon.ContoRitAccVen",
        "TabMagazzino.GruppoProd",   "TabMagazzino.MastroProd",   "TabMagazzino.ContoProd",
    };
    return columns;
}

}  // namespace tolvane

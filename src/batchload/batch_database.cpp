// Statements the batch loader keeps for a run on the connection of the current database.
// Never swallows a failed call: each becomes the system's numbered error.
#include "batchload/batch_database.h"

#include <sqlite3.h>

#include "db/db_connection.h"
#include "db/db_values.h"
#include "db/gestore_db.h"

namespace tolvane {

BatchStatement::BatchStatement(DbConnection& connection, std::string_view sql)
    : connection_(connection) {
    const int rc = sqlite3_prepare_v3(connection.db, sql.data(), static_cast<int>(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        connection.raiseLastError("ScCarica");
    }
}

BatchStatement::~BatchStatement() { sqlite3_finalize(stmt_); }

void BatchStatement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void BatchStatement::bind(int position, const Variant& value) { bindValue(stmt_, position, value); }

void BatchStatement::bindKept(int position, const Variant& value) {
    bindValueKept(stmt_, position, value);
}

void BatchStatement::bindInt64(int position, std::int64_t value) {
    sqlite3_bind_int64(stmt_, position, value);
}

bool BatchStatement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const int extended = sqlite3_extended_errcode(connection_.db);
    const std::string text = sqlite3_errmsg(connection_.db);
    sqlite3_reset(stmt_);
    connection_.raiseFailure(
        extended, text, "ScCarica",
        sqlite3_stmt_readonly(stmt_) ? SqliteAccess::Read : SqliteAccess::Write);
}

long BatchStatement::write() { return connection_.runWrite(stmt_, "ScCarica"); }

bool BatchStatement::columnIsNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

Variant BatchStatement::column(int column) const {
    switch (sqlite3_column_type(stmt_, column)) {
        case SQLITE_NULL:
            return Variant::null();
        case SQLITE_INTEGER: {
            const auto v = sqlite3_column_int64(stmt_, column);
            if (v >= INT32_MIN && v <= INT32_MAX) return Variant(static_cast<std::int32_t>(v));
            return Variant(static_cast<double>(v));
        }
        case SQLITE_FLOAT:
            return Variant(sqlite3_column_double(stmt_, column));
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
            const int size = sqlite3_column_bytes(stmt_, column);
            return Variant(std::string(text ? text : "", static_cast<std::size_t>(size)));
        }
    }
}

std::int64_t BatchStatement::columnInt(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

const TableInfo* BatchDatabase::table(std::string_view name) {
    connection_.schema.refreshIfChanged();
    return connection_.schema.table(name);
}

BatchStatement& BatchDatabase::cached(const std::string& sql) {
    // Within a grouped run no statement runs before its group holds the write lock.
    connection_.openGroup();
    auto it = statements_.find(sql);
    if (it == statements_.end())
        it = statements_.emplace(sql, std::make_unique<BatchStatement>(connection_, sql)).first;
    it->second->reset();
    return *it->second;
}

}  // namespace tolvane

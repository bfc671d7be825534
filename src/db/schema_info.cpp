// Reads table and column definitions through PRAGMA table_info and keeps them per connection.
// The primary key comes from the pk column of table_info: a rowid key has no index entry.
#include "db/schema_info.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string>

#include "platform/numbered_error.h"

namespace tolvane {

namespace {

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

}  // namespace

ColumnKind columnKindOf(std::string_view declaredType, int* size) {
    std::string t = lower(declaredType);
    std::size_t start = t.find_first_not_of(' ');
    t = start == std::string::npos ? std::string() : t.substr(start);
    int declaredSize = 0;
    if (std::size_t open = t.find('('); open != std::string::npos)
        std::from_chars(t.data() + open + 1, t.data() + t.size(), declaredSize);  // 0 if too big
    if (size) *size = declaredSize;
    std::string word = t.substr(0, t.find_first_of(" (\t"));
    if (word == "varchar" || word == "char" || word == "nvarchar" || word == "nchar" ||
        word == "character" || word == "varying" || (word == "text" && declaredSize > 0))
        return declaredSize > 0 ? ColumnKind::Text : ColumnKind::Memo;
    if (word == "text" || word == "memo" || word == "longtext" || word == "clob")
        return ColumnKind::Memo;
    if (word == "tinyint" || word == "byte") return ColumnKind::Byte;
    if (word == "smallint" || word == "short") return ColumnKind::Integer;
    if (word == "integer" || word == "int" || word == "long" || word == "counter" ||
        word == "autoincrement")
        return ColumnKind::Long;
    // Amounts of tables made elsewhere are declared REAL, FLOAT or NUMERIC: only the words
    // that name a 4-byte number give Single, so that no amount loses digits on the way.
    if (word == "single" || word == "float4" || word == "real4") return ColumnKind::Single;
    if (word == "double" || word == "real" || word == "float" || word == "numeric" ||
        word == "decimal")
        return ColumnKind::Double;
    if (word == "currency" || word == "money") return ColumnKind::Currency;
    if (word == "datetime" || word == "date" || word == "time" || word == "timestamp")
        return ColumnKind::Date;
    if (word == "bit" || word == "boolean" || word == "yesno" || word == "logical")
        return ColumnKind::Boolean;
    return ColumnKind::Other;
}

int reportedSize(ColumnKind kind, int declaredSize) {
    switch (kind) {
        case ColumnKind::Text:
            return declaredSize;
        case ColumnKind::Memo:
            return 0;
        case ColumnKind::Byte:
            return 1;
        case ColumnKind::Integer:
            return 2;
        case ColumnKind::Long:
            return 4;
        case ColumnKind::Single:
            return 4;
        case ColumnKind::Double:
            return 8;
        case ColumnKind::Currency:
            return 8;
        case ColumnKind::Date:
            return 8;
        case ColumnKind::Boolean:
            return 1;
        case ColumnKind::Other:
            return 0;
    }
    return 0;
}

const ColumnInfo* TableInfo::column(std::string_view name) const {
    int i = columnIndex(name);
    return i < 0 ? nullptr : &columns[static_cast<std::size_t>(i)];
}

int TableInfo::columnIndex(std::string_view name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? -1 : it->second;
}

SchemaInfo::SchemaInfo(sqlite3* db) : db_(db) {}

SchemaInfo::~SchemaInfo() { release(); }

void SchemaInfo::release() {
    sqlite3_finalize(versionStmt_);
    versionStmt_ = nullptr;
}

void SchemaInfo::refreshIfChanged() {
    if (!versionStmt_) {
        int rc = sqlite3_prepare_v2(db_, "PRAGMA schema_version", -1, &versionStmt_, nullptr);
        if (rc != SQLITE_OK)
            throw NumberedError(errnum::DatabaseFailure, sqlite3_errmsg(db_), "GestoreDb");
    }
    std::int64_t version = -1;
    if (sqlite3_step(versionStmt_) == SQLITE_ROW) version = sqlite3_column_int64(versionStmt_, 0);
    sqlite3_reset(versionStmt_);
    if (version != version_) {
        tables_.clear();
        missing_.clear();
        version_ = version;
        ++generation_;
    }
}

std::shared_ptr<const TableInfo> SchemaInfo::sharedTable(std::string_view name) {
    if (version_ < 0) refreshIfChanged();
    std::string key(name);
    if (auto it = tables_.find(key); it != tables_.end()) return it->second;
    if (missing_.count(key)) return nullptr;

    // "schema.table" names a table of an attached database.
    std::string schema;
    std::string bare(name);
    if (std::size_t dot = bare.find('.'); dot != std::string::npos) {
        schema = bare.substr(0, dot);
        bare = bare.substr(dot + 1);
    }
    std::string sql = "PRAGMA " + (schema.empty() ? std::string() : quoteName(schema) + ".") +
                      "table_xinfo(" + quoteName(bare) + ")";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        missing_[key] = true;
        return nullptr;
    }
    auto info = std::make_shared<TableInfo>();
    std::vector<std::pair<int, std::string>> pk;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        if (sqlite3_column_int(stmt, 6) != 0) continue;  // hidden or generated columns
        ColumnInfo col;
        col.name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
        const unsigned char* type = sqlite3_column_text(stmt, 2);
        col.declaredType = type ? reinterpret_cast<const char*>(type) : "";
        int declaredSize = 0;
        col.kind = columnKindOf(col.declaredType, &declaredSize);
        col.size = reportedSize(col.kind, declaredSize);
        col.notNull = sqlite3_column_int(stmt, 3) != 0;
        col.hasDefault = sqlite3_column_type(stmt, 4) != SQLITE_NULL;
        col.pkOrder = sqlite3_column_int(stmt, 5);
        if (col.pkOrder > 0) pk.emplace_back(col.pkOrder, col.name);
        info->byName_[col.name] = static_cast<int>(info->columns.size());
        info->columns.push_back(std::move(col));
    }
    sqlite3_finalize(stmt);
    if (info->columns.empty()) {
        missing_[key] = true;
        return nullptr;
    }
    std::sort(pk.begin(), pk.end());
    for (auto& [order, column] : pk) info->primaryKey.push_back(column);

    // The table's own spelling, and whether it has a rowid to write by.
    std::string master = schema.empty() ? "sqlite_master" : quoteName(schema) + ".sqlite_master";
    std::string lookup = "SELECT name, sql FROM " + master + " WHERE name = ?1 COLLATE NOCASE";
    if (sqlite3_prepare_v2(db_, lookup.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(stmt, 1, bare.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            info->name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            const unsigned char* text = sqlite3_column_text(stmt, 1);
            std::string ddl = lower(text ? reinterpret_cast<const char*>(text) : "");
            info->withoutRowid = ddl.find("without rowid") != std::string::npos;
            if (startsWith(ddl, "create view")) info->withoutRowid = true;
        }
    }
    sqlite3_finalize(stmt);
    if (info->name.empty()) info->name = bare;
    if (!schema.empty()) info->name = schema + "." + info->name;
    tables_[key] = info;
    return info;
}

}  // namespace tolvane

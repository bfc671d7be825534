// The schema of one SQLite database as the program needs it: tables, columns with their
// declared type, size and NOT NULL, and the primary key in order. Read once and cached;
// re-read only when the database's schema version changes, never per row.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/names.h"

struct sqlite3;
struct sqlite3_stmt;

namespace tolvane {

// The declared column types of the storage conventions, by the field types they store.
enum class ColumnKind {
    Text,      // VARCHAR(n): size n in characters
    Memo,      // TEXT: no size
    Byte,      // TINYINT 0..255
    Integer,   // SMALLINT
    Long,      // INTEGER, 32 bits
    Single,    // SINGLE, FLOAT4, REAL4
    Double,    // DOUBLE, REAL, FLOAT, NUMERIC, DECIMAL
    Currency,  // CURRENCY, 4 decimals
    Date,      // DATETIME as ISO text
    Boolean,   // BIT as -1 / 0
    Other,     // no declared type (expressions) or one of none of the above
};

// Kind from a declared type ("VARCHAR(40) COLLATE NOCASE" gives Text, size 40).
ColumnKind columnKindOf(std::string_view declaredType, int* size = nullptr);
// The size reported for a column: characters for text, bytes for numbers.
int reportedSize(ColumnKind kind, int declaredSize);

struct ColumnInfo {
    std::string name;
    std::string declaredType;
    ColumnKind kind = ColumnKind::Other;
    int size = 0;  // as reportedSize gives it
    bool notNull = false;
    int pkOrder = 0;  // 1-based position in the primary key, 0 when not part of it
    bool hasDefault = false;
};

struct TableInfo {
    std::string name;  // as the schema spells it
    std::vector<ColumnInfo> columns;
    std::vector<std::string> primaryKey;  // column names in key order
    bool withoutRowid = false;            // no rowid to write by: WITHOUT ROWID tables and views

    // Caseless; nullptr when the table has no such column.
    const ColumnInfo* column(std::string_view name) const;
    int columnIndex(std::string_view name) const;  // -1 when absent

  private:
    friend class SchemaInfo;
    CaselessMap<int> byName_;  // column name -> index
};

class SchemaInfo {
  public:
    explicit SchemaInfo(sqlite3* db);
    ~SchemaInfo();
    SchemaInfo(const SchemaInfo&) = delete;
    SchemaInfo& operator=(const SchemaInfo&) = delete;

    // Caseless; nullptr when the table (or view) does not exist. The pointer stays valid
    // until the schema changes; a holder that must outlive a change takes sharedTable.
    const TableInfo* table(std::string_view name) { return sharedTable(name).get(); }
    std::shared_ptr<const TableInfo> sharedTable(std::string_view name);
    bool tableExists(std::string_view name) { return table(name) != nullptr; }

    // Drops the cache when the schema version moved; cheap (one cached pragma step).
    void refreshIfChanged();
    // Moves on every drop of the cache: a TableInfo pointer taken under another generation
    // must be fetched again.
    std::uint64_t generation() const { return generation_; }
    // Finalizes the statements held, before the connection closes.
    void release();

  private:
    sqlite3* db_;
    sqlite3_stmt* versionStmt_ = nullptr;
    std::int64_t version_ = -1;
    std::uint64_t generation_ = 0;
    CaselessMap<std::shared_ptr<const TableInfo>> tables_;
    CaselessMap<bool> missing_;
};

}  // namespace tolvane

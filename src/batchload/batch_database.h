// The batch loader's statements on the current database: prepared once per run and kept (the
// shared cache may drop its statements), written through the connection so that grouped
// commits count them. Never commits by itself: the load loop's grouped run does.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "db/schema_info.h"
#include "platform/variant.h"

struct sqlite3_stmt;

namespace tolvane {

struct DbConnection;

class BatchStatement {
  public:
    BatchStatement(DbConnection& connection, std::string_view sql);
    ~BatchStatement();
    BatchStatement(const BatchStatement&) = delete;
    BatchStatement& operator=(const BatchStatement&) = delete;

    void reset();  // also clears the bindings
    // A value already converted for its column (toColumnValue), or any value as it is.
    void bind(int position, const Variant& value);
    // The same for a value that stays alive and unchanged until the statement has been
    // stepped: its text is not copied.
    void bindKept(int position, const Variant& value);
    void bindInt64(int position, std::int64_t value);
    // True while a row is there; raises the database's error.
    bool step();
    // Steps a write to its end, counted for grouped commits; returns the rows changed.
    long write();
    bool columnIsNull(int column) const;
    Variant column(int column) const;
    std::int64_t columnInt(int column) const;

  private:
    DbConnection& connection_;
    sqlite3_stmt* stmt_ = nullptr;
};

class BatchDatabase {
  public:
    explicit BatchDatabase(DbConnection& connection) : connection_(connection) {}

    DbConnection& connection() { return connection_; }
    // The table, or nullptr when the database has none of that name (caseless).
    const TableInfo* table(std::string_view name);
    // Prepared once per text and kept for the run; reset before it is handed out.
    BatchStatement& cached(const std::string& sql);

  private:
    DbConnection& connection_;
    std::unordered_map<std::string, std::unique_ptr<BatchStatement>> statements_;
};

}  // namespace tolvane

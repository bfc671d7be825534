// A temporary folder for database tests and a plain SQLite look at a file, beside GestoreDb,
// to see what is really stored and committed. Never shares a folder between tests.
#pragma once

#include <sqlite3.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/scope_guard.h"
#include "support/scratch_folder.h"

namespace tolvane::dbtest {

using TempFolder = testing::ScratchFolder;

// Rows of a statement on an open connection; Null reads as "NULL".
inline std::vector<std::vector<std::string>> rowsOf(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string(sqlite3_errmsg(db)) + " in: " + sql);
    std::vector<std::vector<std::string>> rows;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
            row.push_back(text ? std::string(text) : "NULL");
        }
        rows.push_back(std::move(row));
    }
    std::string message = sqlite3_errmsg(db);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) throw std::runtime_error(message + " in: " + sql);
    return rows;
}

// Rows of a query run on its own connection (only committed data is seen); Null as "NULL".
inline std::vector<std::vector<std::string>> queryFile(const std::string& file,
                                                       const std::string& sql) {
    sqlite3* db = nullptr;
    ScopeGuard close([&] { sqlite3_close(db); });
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw std::runtime_error("open " + file);
    return rowsOf(db, sql);
}

inline std::string queryOne(const std::string& file, const std::string& sql) {
    auto rows = queryFile(file, sql);
    return rows.empty() || rows[0].empty() ? std::string("<none>") : rows[0][0];
}

// Another program's connection to a file, holding what its statement takes (a write
// transaction, an exclusive lock) until it is released or goes out of scope.
class OtherConnection {
  public:
    OtherConnection(const std::string& file, const std::string& sql) {
        if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
            sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            std::string message = sqlite3_errmsg(db_);
            release();
            throw std::runtime_error(message + " in: " + sql);
        }
    }
    ~OtherConnection() { release(); }
    OtherConnection(const OtherConnection&) = delete;
    OtherConnection& operator=(const OtherConnection&) = delete;
    // Closing rolls back what the connection held.
    void release() {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }

  private:
    sqlite3* db_ = nullptr;
};

}  // namespace tolvane::dbtest

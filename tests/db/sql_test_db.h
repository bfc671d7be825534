// An in-memory SQLite database with the dialect's functions, for the SQL tests: runs
// dialect statements through the translator and reads results back as text.
#pragma once

#include <sqlite3.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "db/sql_dialect.h"
#include "db/sql_functions.h"

namespace tolvane::sqltest {

class SqlTestDb {
public:
    SqlTestDb() {
        if (sqlite3_open(":memory:", &db_) != SQLITE_OK) throw std::runtime_error("open");
        registerAccessFunctions(db_);
    }
    ~SqlTestDb() { sqlite3_close(db_); }
    SqlTestDb(const SqlTestDb&) = delete;
    SqlTestDb& operator=(const SqlTestDb&) = delete;

    sqlite3* handle() const { return db_; }

    // SQLite text, as it is.
    void execNative(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            std::string message = error ? error : "?";
            sqlite3_free(error);
            throw std::runtime_error(message + " in: " + sql);
        }
    }

    // Rows of a SQLite statement; Null reads as "NULL".
    std::vector<std::vector<std::string>> queryNative(const std::string& sql) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " in: " + sql);
        std::vector<std::vector<std::string>> rows;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
                row.push_back(text ? std::string(text) : "NULL");
            }
            rows.push_back(row);
        }
        std::string message = sqlite3_errmsg(db_);
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE) throw std::runtime_error(message + " in: " + sql);
        return rows;
    }

    void exec(const std::string& accessSql) { execNative(translateAccessSql(accessSql)); }
    std::vector<std::vector<std::string>> query(const std::string& accessSql) {
        return queryNative(translateAccessSql(accessSql));
    }
    // The single value of a dialect SELECT.
    std::string value(const std::string& accessSql) {
        auto rows = query(accessSql);
        if (rows.size() != 1 || rows[0].size() != 1)
            throw std::runtime_error("not one value: " + accessSql);
        return rows[0][0];
    }
    std::string valueNative(const std::string& sql) {
        auto rows = queryNative(sql);
        if (rows.size() != 1 || rows[0].size() != 1) throw std::runtime_error("not one value: " + sql);
        return rows[0][0];
    }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace tolvane::sqltest

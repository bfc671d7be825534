// An in-memory SQLite database with the dialect's functions, for the SQL tests: runs
// dialect statements through the translator and reads results back as text.
#pragma once

#include <sqlite3.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "db/db_test_folder.h"
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
        return dbtest::rowsOf(db_, sql);
    }

    void exec(const std::string& accessSql) { execNative(translateAccessSql(accessSql)); }
    std::vector<std::vector<std::string>> query(const std::string& accessSql) {
        return queryNative(translateAccessSql(accessSql));
    }
    // The single value of a dialect SELECT.
    std::string value(const std::string& accessSql) {
        return valueNative(translateAccessSql(accessSql));
    }
    std::string valueNative(const std::string& sql) {
        auto rows = queryNative(sql);
        if (rows.size() != 1 || rows[0].size() != 1)
            throw std::runtime_error("not one value: " + sql);
        return rows[0][0];
    }

  private:
    sqlite3* db_ = nullptr;
};

}  // namespace tolvane::sqltest

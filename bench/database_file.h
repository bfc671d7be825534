// A plain SQLite look at a benchmark's database files, each call on a connection of its own:
// statements that prepare a file, a fresh copy of it for each run, and a count that checks what
// a run left in it.
// Never goes through the program's database layer, whose speed is what the benchmarks measure.
#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace tolvane::bench {

// Runs the statements on the file; raises the database's text when one fails.
inline void execFile(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string text = error ? error : "?";
        sqlite3_free(error);
        sqlite3_close(db);
        throw std::runtime_error(text);
    }
    sqlite3_close(db);
}

// A copy of the file for one run, with no journal file of an earlier run left beside it.
inline void freshCopy(const std::filesystem::path& from, const std::filesystem::path& to) {
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(to.string() + suffix);
    std::filesystem::copy_file(from, to);
}

// The number the query returns (a count), -1 when it fails.
inline long countOf(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_stmt* stmt = nullptr;
    long count = -1;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        count = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return count;
}

}  // namespace tolvane::bench

// A new company file in a scratch folder, opened through GestoreDb with a write-ahead log, for
// the tests of the database layer. Never shares the file between tests.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "db/db_connection.h"
#include "db/db_test_folder.h"
#include "db/gestore_db.h"

namespace tolvane::dbtest {

class OpenDbTest : public ::testing::Test {
  protected:
    void SetUp() override {
        file = folder.file("ditta.db");
        id = db.ApriConnessione(file, "", "", {.wal = true, .create = true});
        ASSERT_EQ(id.rfind("Err", 0), std::string::npos) << id;
    }

    // SQLite text on the open connection, beside GestoreDb.
    void native(const std::string& sql) {
        char* error = nullptr;
        ASSERT_EQ(sqlite3_exec(db.connection(id).db, sql.c_str(), nullptr, nullptr, &error),
                  SQLITE_OK)
            << (error ? error : "");
    }

    TempFolder folder;
    GestoreDb db;
    std::string file;
    std::string id;
};

}  // namespace tolvane::dbtest

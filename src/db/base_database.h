// Database files made from the shipped schema scripts: creation (also of deliberately older
// files for tests), upgrade of an existing file to the schema, and the script location.
// Never drops or rewrites a stored row: an upgrade only adds tables and columns.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// Where the shipped schema file `name` lies: $TOLVANE_SOURCE_DIR/schema when that environment
// variable is set, else the source tree named by the compile definition TOLVANE_SOURCE_DIR
// when the library was built with it, else <executable folder>/../share/tolvane/schema when
// it exists, else the nearest schema folder above the executable (a build inside the tree).
std::filesystem::path schemaPath(std::string_view name);

// Creates the SQLite file `path` from a schema script. Raises 58 when the file exists, 53 when
// the script is missing, 3146 when a statement fails; a failed creation leaves no file behind.
// `omitted` makes an older file: "Table.Column" leaves out a column, a bare "Table" the table;
// such a file records schema version 0.
void createDatabaseFromSchema(const std::filesystem::path& path,
                              const std::filesystem::path& schemaFile,
                              const std::vector<std::string>& omitted = {});

struct UpgradeResult {
    int fromVersion = 0;
    int toVersion = 0;
    std::vector<std::string> addedTables;   // "Table"
    std::vector<std::string> addedColumns;  // "Table.Column"
};

// Brings the file up to the schema: adds every missing table (with its indexes) and every
// missing column with its declared type and collation, then records the schema version.
// All in one transaction: on failure the file is left as it was. Raises 53 for a missing file
// or script, 3146 when the database refuses a change (a missing key column cannot be added).
UpgradeResult upgradeDatabase(const std::filesystem::path& path,
                              const std::filesystem::path& schemaFile);

// Removes a database file with its -wal, -shm and -journal companions; a missing one is no error.
void removeDatabaseFiles(const std::filesystem::path& path);

// Runs a script of statements on an existing file inside one transaction (demo data, fixtures).
void runSqlScript(const std::filesystem::path& path, const std::filesystem::path& scriptFile);

// The version recorded in the file's VersioneSchema, 0 when it has none.
int schemaVersion(const std::filesystem::path& path);

// Company columns that older files lack and the pages test for before use ("Table.Column").
const std::vector<std::string>& laterVersionColumns();

}  // namespace tolvane

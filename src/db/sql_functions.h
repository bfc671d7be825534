// The SQL functions and the collation that translated statements rely on, with the dialect's
// meaning and null handling. Register them on every SQLite connection before any statement.
#pragma once

struct sqlite3;

namespace tolvane {

// Registers the functions (names prefixed "acc_"), replaces like() with the dialect's
// patterns (* ? # [..]) and replaces NOCASE with a caseless collation that folds accented
// letters too (ASCII order is unchanged, so indexes built by plain SQLite stay valid for
// ASCII keys). It also turns off SQLite's reading of an unknown "name" as a text literal, so
// that a misspelt quoted name fails. Raises NumberedError 3146 if SQLite refuses a registration.
void registerAccessFunctions(sqlite3* db);

}  // namespace tolvane

// Values between Variant and SQLite by declared column type: the conversion of a value
// assigned to a column, its binding, and the reading of a stored value back.
// Never stores a value that does not fit its column: it raises the system's error number instead.
#pragma once

#include <string_view>

#include "db/schema_info.h"
#include "platform/variant.h"

struct sqlite3_stmt;

namespace tolvane {

// The value as the column will hold it (the Variant kind that reading gives back):
// "" and Empty become Null ("" for a NOT NULL text column). Raises 3163 for text longer than
// the column, 6 for a number out of the column's range, 13 for a value of the wrong kind.
Variant toColumnValue(const ColumnInfo& column, const Variant& value);

// Binds a value produced by toColumnValue (or any Variant) at a 1-based position:
// dates as ISO text, Yes/No as -1/0, currency as REAL.
void bindValue(sqlite3_stmt* stmt, int position, const Variant& value);
// As bindValue, but a text is bound uncopied: it must stay alive and unchanged until the step.
void bindValueKept(sqlite3_stmt* stmt, int position, const Variant& value);

// Reads result column `index` as a value of the kind; Null stays Null.
Variant readValue(sqlite3_stmt* stmt, int index, ColumnKind kind);

// What an empty column of the kind reads as through ValoreCampoRs: "" or 0.
Variant emptyValueOf(ColumnKind kind);

// ISO text of a date ("YYYY-MM-DD", with " HH:MM:SS" when it has a time) and its reading.
std::string isoDateText(DateTime value);
bool parseIsoDate(std::string_view text, DateTime& out);

}  // namespace tolvane

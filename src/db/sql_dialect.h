// Translation of the desktop-database SQL dialect that the program's queries are written in
// into SQLite SQL, and the shape of a SELECT that the record-set layer needs for writing.
// Never passes on a construct it cannot translate faithfully: it raises 3146 instead.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tolvane {

// Whole statements (SELECT, INSERT, UPDATE, DELETE), a condition, a list of items, or a FROM
// clause with its WHERE. Data definition is not translated. Raises
// NumberedError(errnum::DatabaseFailure) naming the construct it cannot translate.
std::string translateAccessSql(std::string_view sql);

// One item of the select list as written in the program's statement.
struct SelectItem {
    std::string qualifier;  // "P" of "P.Descrizione", empty when unqualified
    std::string column;     // column name, "*" for a star, empty for an expression
    std::string alias;      // name after AS, empty when none
    bool isExpression = false;
};

struct SelectShape {
    std::string baseTable;  // first table of FROM
    std::string baseAlias;  // its alias, equal to baseTable when it has none
    // A SELECT on one table, or LEFT JOINs of the base table with description tables;
    // no GROUP BY, DISTINCT, UNION, aggregates or sub-queries in FROM.
    bool updatable = false;
    std::vector<std::pair<std::string, std::string>> aliases;  // alias -> table, FROM order
    std::vector<SelectItem> items;                             // in order

    // Table name for an alias or a table name used as qualifier (caseless); empty if unknown.
    std::string tableOf(std::string_view qualifier) const;
};

// The shape of a SELECT written in the program's dialect; nullopt when the text is not a
// plain SELECT the analyser understands (then the caller treats it as read-only).
std::optional<SelectShape> analyzeSelect(std::string_view accessSql);

// Name of the hidden column that carries the base table's row id.
inline constexpr std::string_view kRowIdColumn = "__rowid";

// Adds `<base alias>.rowid AS __rowid` as the LAST item of an already translated SELECT, so
// that writes go to the base table by row id. Only for shapes with updatable == true; the
// item positions of the select list as written stay the same.
std::string addRowIdColumn(std::string_view translatedSelect, const SelectShape& shape);

}  // namespace tolvane

// What the record-set layer needs to write through a SELECT: the table behind a qualifier and
// the hidden row-id column of the base table. Never changes the positions of the items.
#include "db/sql_dialect.h"
#include "db/sql_tokenizer.h"
#include "platform/numbered_error.h"
#include "platform/text.h"

namespace tolvane {

std::string SelectShape::tableOf(std::string_view qualifier) const {
    for (const auto& [alias, table] : aliases)
        if (equalText(alias, qualifier)) return table;
    for (const auto& [alias, table] : aliases)
        if (equalText(table, qualifier)) return table;
    return {};
}

std::string addRowIdColumn(std::string_view translatedSelect, const SelectShape& shape) {
    if (!shape.updatable || shape.baseAlias.empty())
        throw NumberedError(
            errnum::DatabaseFailure,
            "La query non è aggiornabile: \"" + std::string(translatedSelect) + "\"",
            "sql_dialect");
    // The translated text uses "..." for names; the tokenizer reads them as literals, which
    // is enough to find the first FROM outside brackets.
    const std::vector<SqlToken> tokens = tokenizeAccessSql(translatedSelect);
    int depth = 0;
    for (const SqlToken& t : tokens) {
        if (t.isSymbol("(")) ++depth;
        else if (t.isSymbol(")")) --depth;
        else if (depth == 0 && t.isWord("from")) {
            std::string alias = "\"";
            for (char c : shape.baseAlias) {
                alias += c;
                if (c == '"') alias += '"';
            }
            alias += '"';
            std::string out(translatedSelect.substr(0, t.offset));
            while (!out.empty() && out.back() == ' ') out.pop_back();
            return out + ", " + alias + ".rowid AS \"" + std::string(kRowIdColumn) + "\" " +
                   std::string(translatedSelect.substr(t.offset));
        }
    }
    throw NumberedError(errnum::DatabaseFailure,
                        "Query senza FROM: \"" + std::string(translatedSelect) + "\"",
                        "sql_dialect");
}

}  // namespace tolvane

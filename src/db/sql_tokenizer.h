// Splits text in the desktop-database SQL dialect into tokens for the translator and the
// SELECT analyser. It never alters a string literal or a quoted name; it uses no regular
// expressions, and raises 3146 on text it cannot split (an unclosed quote, a stray character).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

enum class SqlTokenKind {
    Word,    // identifier or keyword as written
    Name,    // [bracketed] or `back-quoted` name; text is the name itself
    Text,    // 'single' or "double" quoted literal; text is the value, quotes undoubled
    Number,  // as written
    Date,    // #...# literal; text is the ISO form "yyyy-mm-dd" or "yyyy-mm-dd hh:mm:ss"
    Symbol,  // ( ) , . ; * / \ + - ^ & = <> < > <= >=
    End,
};

struct SqlToken {
    SqlTokenKind kind = SqlTokenKind::End;
    std::string text;
    std::size_t offset = 0;  // where it starts in the input

    bool isWord(std::string_view keyword) const;  // caseless
    bool isSymbol(std::string_view symbol) const;
};

// The tokens of `sql`, always closed by one End token.
std::vector<SqlToken> tokenizeAccessSql(std::string_view sql);

}  // namespace tolvane

// Fuzz target: the translation of the program's SQL dialect into SQLite SQL.
// Fails on a crash, on an error other than the numbered ones, and on a translation that holds
// a second statement (a ";" outside quotes followed by more text).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "db/sql_dialect.h"
#include "platform/numbered_error.h"

using namespace tolvane;

namespace {

// True when text is at most one statement of SQLite's tokens: every ";" outside literals,
// quoted names and comments is followed only by blanks and further ";".
bool oneStatement(std::string_view s) {
    bool ended = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == ';') {
            ended = true;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') continue;
        if (ended) return false;
        char close = 0;
        if (c == '\'' || c == '"' || c == '`') close = c;
        else if (c == '[') close = ']';
        if (close) {
            std::size_t j = i + 1;
            for (;; ++j) {
                if (j >= s.size()) return true;  // unterminated: SQLite refuses the text
                if (s[j] != close) continue;
                if (close != ']' && j + 1 < s.size() && s[j + 1] == close) {
                    ++j;
                    continue;
                }
                break;
            }
            i = j;
        } else if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
            const std::size_t end = s.find('\n', i);
            if (end == std::string_view::npos) return true;
            i = end;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            const std::size_t end = s.find("*/", i + 2);
            if (end == std::string_view::npos) return true;
            i = end + 1;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view sql(reinterpret_cast<const char*>(data), size);
    try {
        const std::string translated = translateAccessSql(sql);
        if (!oneStatement(translated)) std::abort();
        (void)analyzeSelect(sql);
    } catch (const NumberedError&) {
    }
    return 0;
}

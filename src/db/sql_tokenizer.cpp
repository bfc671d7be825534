// Splitting of dialect SQL into tokens. Literals and quoted names are copied exactly; date
// literals become the ISO text the databases store. Raises 3146 on text it cannot split.
#include "db/sql_tokenizer.h"

#include <cstdio>

#include "platform/numbered_error.h"
#include "platform/text.h"

namespace tolvane {

namespace {

[[noreturn]] void fail(std::string_view what, std::string_view sql) {
    throw NumberedError(
        errnum::DatabaseFailure,
        "Istruzione SQL non traducibile: " + std::string(what) + " in \"" + std::string(sql) + "\"",
        "sql_dialect");
}

bool isWordStart(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

bool isWordChar(unsigned char c) { return isWordStart(c) || (c >= '0' && c <= '9'); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Reads unsigned numbers separated by one of `separators`; false on anything else.
bool splitNumbers(std::string_view s, std::string_view separators, std::vector<std::string>& out) {
    out.clear();
    std::string current;
    for (char c : s) {
        if (isDigit(c)) {
            // No date or time part has more digits; longer ones would overflow the conversion.
            if (current.size() == 6) return false;
            current += c;
        } else if (separators.find(c) != std::string_view::npos && !current.empty()) {
            out.push_back(current);
            current.clear();
        } else {
            return false;
        }
    }
    if (current.empty()) return false;
    out.push_back(current);
    return true;
}

bool validDay(int y, int m, int d) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= days[m - 1] + ((m == 2 && leap) ? 1 : 0);
}

// The content of #...#: month first as the dialect writes it (m/d/yyyy), or ISO y-m-d;
// an optional time "h:mm[:ss] [AM|PM]"; a time alone lies on the zero day 30/12/1899.
bool parseDateLiteral(std::string_view body, std::string& iso) {
    std::vector<std::string> words;
    std::string w;
    for (char c : body) {
        if (c == ' ' || c == '\t') {
            if (!w.empty()) words.push_back(w), w.clear();
        } else {
            w += c;
        }
    }
    if (!w.empty()) words.push_back(w);
    if (words.empty() || words.size() > 3) return false;

    int y = 1899, m = 12, d = 30, hh = 0, mi = 0, ss = 0;
    bool hasDate = false, hasTime = false;
    std::vector<std::string> parts;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.find(':') != std::string::npos) {
            if (hasTime || !splitNumbers(word, ":", parts) || parts.size() < 2 || parts.size() > 3)
                return false;
            hh = std::stoi(parts[0]);
            mi = std::stoi(parts[1]);
            ss = parts.size() == 3 ? std::stoi(parts[2]) : 0;
            hasTime = true;
        } else if (equalText(word, "AM") || equalText(word, "PM")) {
            if (!hasTime || hh < 1 || hh > 12) return false;
            if (equalText(word, "PM") && hh != 12) hh += 12;
            if (equalText(word, "AM") && hh == 12) hh = 0;
        } else {
            if (hasDate || !splitNumbers(word, "/-", parts) || parts.size() != 3) return false;
            if (parts[0].size() == 4) {
                y = std::stoi(parts[0]), m = std::stoi(parts[1]), d = std::stoi(parts[2]);
            } else {
                m = std::stoi(parts[0]), d = std::stoi(parts[1]), y = std::stoi(parts[2]);
                if (parts[2].size() <= 2) y += y < 30 ? 2000 : 1900;
            }
            hasDate = true;
        }
    }
    if (!validDay(y, m, d) || hh > 23 || mi > 59 || ss > 59) return false;
    char buffer[64];
    if (hasTime)
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", y, m, d, hh, mi, ss);
    else std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", y, m, d);
    iso = buffer;
    return true;
}

}  // namespace

bool SqlToken::isWord(std::string_view keyword) const {
    return kind == SqlTokenKind::Word && equalText(text, keyword);
}

bool SqlToken::isSymbol(std::string_view symbol) const {
    return kind == SqlTokenKind::Symbol && text == symbol;
}

std::vector<SqlToken> tokenizeAccessSql(std::string_view sql) {
    std::vector<SqlToken> tokens;
    std::size_t i = 0;
    const std::size_t n = sql.size();
    auto push = [&](SqlTokenKind kind, std::string text, std::size_t at) {
        tokens.push_back(SqlToken{kind, std::move(text), at});
    };
    while (i < n) {
        const char c = sql[i];
        const std::size_t start = i;
        if (isBlank(c)) {
            ++i;
        } else if (c == '\'' || c == '"') {
            std::string value;
            ++i;
            for (;;) {
                if (i >= n) fail("testo tra virgolette non chiuso", sql);
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        value += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += sql[i++];
            }
            push(SqlTokenKind::Text, std::move(value), start);
        } else if (c == '[' || c == '`') {
            const char close = c == '[' ? ']' : '`';
            const std::size_t end = sql.find(close, i + 1);
            if (end == std::string_view::npos) fail("nome tra parentesi quadre non chiuso", sql);
            if (end == i + 1) fail("nome vuoto tra parentesi quadre", sql);
            push(SqlTokenKind::Name, std::string(sql.substr(i + 1, end - i - 1)), start);
            i = end + 1;
        } else if (c == '#') {
            const std::size_t end = sql.find('#', i + 1);
            std::string iso;
            if (end == std::string_view::npos ||
                !parseDateLiteral(sql.substr(i + 1, end - i - 1), iso))
                fail("data tra # non valida", sql);
            push(SqlTokenKind::Date, std::move(iso), start);
            i = end + 1;
        } else if (isDigit(c) || (c == '.' && i + 1 < n && isDigit(sql[i + 1]) &&
                                  (tokens.empty() || isBlank(sql[i - 1]) ||
                                   (tokens.back().kind == SqlTokenKind::Symbol &&
                                    !tokens.back().isSymbol(")"))))) {
            while (i < n && isDigit(sql[i])) ++i;
            if (i < n && sql[i] == '.') {
                ++i;
                while (i < n && isDigit(sql[i])) ++i;
            }
            if (i < n && (sql[i] == 'e' || sql[i] == 'E')) {
                std::size_t j = i + 1;
                if (j < n && (sql[j] == '+' || sql[j] == '-')) ++j;
                if (j < n && isDigit(sql[j])) {
                    i = j;
                    while (i < n && isDigit(sql[i])) ++i;
                }
            }
            if (i < n && isWordStart(static_cast<unsigned char>(sql[i])))
                fail("numero seguito da lettere", sql);
            push(SqlTokenKind::Number, std::string(sql.substr(start, i - start)), start);
        } else if (isWordStart(static_cast<unsigned char>(c))) {
            while (i < n && isWordChar(static_cast<unsigned char>(sql[i]))) ++i;
            if (i < n && sql[i] == '$') ++i;  // Left$, Mid$ ...
            push(SqlTokenKind::Word, std::string(sql.substr(start, i - start)), start);
        } else if (c == '<' || c == '>') {
            std::string op(1, c);
            if (i + 1 < n && (sql[i + 1] == '=' || (c == '<' && sql[i + 1] == '>')))
                op += sql[i + 1];
            i += op.size();
            push(SqlTokenKind::Symbol, std::move(op), start);
        } else if (std::string_view("(),.;*/\\+-^&=").find(c) != std::string_view::npos) {
            ++i;
            push(SqlTokenKind::Symbol, std::string(1, c), start);
        } else {
            fail(std::string("carattere '") + c + "'", sql);
        }
    }
    tokens.push_back(SqlToken{SqlTokenKind::End, {}, n});
    return tokens;
}

}  // namespace tolvane

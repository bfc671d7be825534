// Internal to the SQL translator: the parser over dialect tokens that the statement and the
// expression files share. Only src/db/sql_*.cpp include it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/sql_dialect.h"
#include "db/sql_tokenizer.h"
#include "platform/names.h"

namespace tolvane::sqldetail {

enum class ExprKind { Other, Column, Text };

struct Expr {
    std::string sql;  // always atomic: a name, a literal, a call or a parenthesised whole
    ExprKind kind = ExprKind::Other;
};

struct FromEntry {
    std::string table;  // as written
    std::string alias;  // empty when none
    std::string join;   // "" first of a group, "," , "INNER", "LEFT", "RIGHT"
    std::string on;     // translated condition
    bool derived = false;
    const std::string& qualifier() const { return alias.empty() ? table : alias; }
};

struct FromClause {
    std::string sql;  // translated, without the word FROM
    std::vector<FromEntry> entries;
};

std::string quoteText(std::string_view text);
// Words that end an expression or an alias and can never be a bare column name.
bool isReserved(const SqlToken& t);

// Recursive descent over the tokens of one text, emitting SQLite SQL as it goes.
class Translator {
  public:
    explicit Translator(std::string_view sql) : sql_(sql), tokens_(tokenizeAccessSql(sql)) {}

    std::string run();

    // When set, the outermost SELECT records its shape here while it is translated.
    SelectShape* shape = nullptr;

  private:
    [[noreturn]] void fail(const std::string& what) const;

    const SqlToken& peek(std::size_t ahead = 0) const {
        const std::size_t at = pos_ + ahead;
        return at < tokens_.size() ? tokens_[at] : tokens_.back();
    }
    const SqlToken& next() {
        const SqlToken& t = peek();
        if (pos_ < tokens_.size() - 1) ++pos_;
        return t;
    }
    bool acceptWord(std::string_view w) {
        if (!peek().isWord(w)) return false;
        next();
        return true;
    }
    bool acceptSymbol(std::string_view s) {
        if (!peek().isSymbol(s)) return false;
        next();
        return true;
    }
    void expectWord(std::string_view w) {
        if (!acceptWord(w)) fail("atteso " + std::string(w) + describeHere());
    }
    void expectSymbol(std::string_view s) {
        if (!acceptSymbol(s)) fail("atteso \"" + std::string(s) + "\"" + describeHere());
    }
    std::string describeHere() const {
        if (peek().kind == SqlTokenKind::End) return " alla fine";
        return " prima di \"" + peek().text + "\"";
    }
    bool isNameToken(const SqlToken& t) const {
        return t.kind == SqlTokenKind::Name || (t.kind == SqlTokenKind::Word && !isReserved(t));
    }
    std::string nameText(const SqlToken& t) {
        if (!isNameToken(t)) fail("nome atteso" + describeHere());
        return t.text;
    }

    bool recording() const { return shape != nullptr && selectDepth_ == 1; }
    void recordItem(std::size_t from, std::size_t to, std::string alias);

    // statements and clauses
    std::string select();
    std::string selectBody();
    std::string itemList();
    void recordFrom(const FromClause& from);
    std::string orderList(bool withDirection);
    FromClause fromClause();
    std::string joinGroup(FromClause& from);
    std::string joinUnit(FromClause& from);
    std::string fromFragment();
    const FromEntry* findEntry(const FromClause& from, std::string_view qualifier) const;
    std::string deleteStatement();
    std::string updateStatement();
    std::string insertStatement();

    // expressions, by the dialect's precedence, lowest first
    Expr expression();
    Expr orExpr();
    Expr andExpr();
    Expr notExpr();
    static std::string caseless(const Expr& e);
    Expr comparison();
    Expr concatenation();
    Expr additive();
    Expr modulo();
    Expr integerDivision();
    Expr multiplicative();
    Expr negation();
    Expr power();
    Expr primary();
    Expr columnReference();
    Expr call();

    // Expressions, joins and queries nest by recursion: text nested deeper than any real query
    // is refused before the stack runs out.
    static constexpr int kMaxNesting = 200;
    int nesting_ = 0;
    struct Nested {
        explicit Nested(Translator& t) : t_(t) {
            if (++t_.nesting_ > kMaxNesting) t_.fail("espressione troppo annidata");
        }
        ~Nested() { --t_.nesting_; }
        Translator& t_;
    };

    std::string_view sql_;
    int selectDepth_ = 0;
    std::vector<SqlToken> tokens_;
    std::size_t pos_ = 0;
};

}  // namespace tolvane::sqldetail

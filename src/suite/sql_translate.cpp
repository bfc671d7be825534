// Translation of dialect statements and stored fragments into SQLite SQL. Every operator
// and function whose meaning differs on SQLite is rewritten to one of ours; anything not
// known to translate faithfully raises 3146 instead of running with another meaning.
#include <cctype>
#include <string>
#include <vector>

#include "platform/numbered_error.h"
#include "platform/text.h"
#include "suite/sql_dialect.h"
#include "suite/sql_tokenizer.h"

namespace tolvane {

namespace {

enum class ExprKind { Other, Column, Text };

struct Expr {
    std::string sql;  // always atomic: a name, a literal, a call or a parenthesised whole
    ExprKind kind = ExprKind::Other;
};

struct FromEntry {
    std::string table;   // as written
    std::string alias;   // empty when none
    std::string join;    // "" first of a group, "," , "INNER", "LEFT", "RIGHT"
    std::string on;      // translated condition
    bool derived = false;
    const std::string& qualifier() const { return alias.empty() ? table : alias; }
};

struct FromClause {
    std::string sql;  // translated, without the word FROM
    std::vector<FromEntry> entries;
    bool nested = false;  // parenthesised joins
};

std::string quoteName(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

std::string quoteText(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Words that end an expression or an alias and can never be a bare column name here.
bool isReserved(const SqlToken& t) {
    static const char* const words[] = {
        "select", "from",  "where",   "group", "order",  "by",     "having", "union",
        "as",     "on",    "join",    "inner", "outer",  "left",   "right",  "set",
        "values", "into",  "and",     "or",    "not",    "xor",    "eqv",    "imp",
        "mod",    "like",  "is",      "in",    "between", "asc",   "desc",   "distinct",
        "distinctrow", "top", "null", "true",  "false",  "exists", "all",    "delete",
        "update", "insert"};
    if (t.kind != SqlTokenKind::Word) return false;
    for (const char* w : words)
        if (t.isWord(w)) return true;
    return false;
}

struct FunctionRule {
    const char* name;
    const char* sqlName;
    int minArgs;
    int maxArgs;
    bool textResult;
};

constexpr FunctionRule kFunctions[] = {
    {"val", "acc_val", 1, 1, false},         {"left", "acc_left", 2, 2, true},
    {"right", "acc_right", 2, 2, true},      {"mid", "acc_mid", 2, 3, true},
    {"len", "acc_len", 1, 1, false},         {"instr", "acc_instr", 2, 4, false},
    {"int", "acc_int", 1, 1, false},         {"fix", "acc_fix", 1, 1, false},
    {"isnumeric", "acc_isnumeric", 1, 1, false}, {"str", "acc_str", 1, 1, true},
    {"cstr", "acc_cstr", 1, 1, true},        {"ucase", "acc_ucase", 1, 1, true},
    {"lcase", "acc_lcase", 1, 1, true},      {"trim", "acc_trim", 1, 1, true},
    {"ltrim", "acc_ltrim", 1, 1, true},      {"rtrim", "acc_rtrim", 1, 1, true},
    {"clng", "acc_clng", 1, 1, false},       {"cint", "acc_cint", 1, 1, false},
    {"cdbl", "acc_cdbl", 1, 1, false},       {"round", "acc_round", 1, 2, false},
    {"replace", "acc_replace", 3, 3, true},  {"abs", "abs", 1, 1, false},
    {"count", "count", 1, 1, false},         {"sum", "sum", 1, 1, false},
    {"avg", "avg", 1, 1, false},             {"min", "min", 1, 1, false},
    {"max", "max", 1, 1, false},
};

class Translator {
public:
    Translator(std::string_view sql, std::string_view context)
        : sql_(sql), context_(context), tokens_(tokenize(sql, context)) {}

    std::string run() {
        std::string out;
        const SqlToken& first = peek();
        if (first.isWord("select")) {
            out = select();
        } else if (first.isWord("delete")) {
            out = deleteStatement();
        } else if (first.isWord("update")) {
            out = updateStatement();
        } else if (first.isWord("insert")) {
            out = insertStatement();
        } else if (first.isWord("from")) {
            out = fromFragment();
        } else if (first.kind == SqlTokenKind::Word &&
                   (first.isWord("create") || first.isWord("drop") || first.isWord("alter"))) {
            fail("istruzione di definizione dei dati");
        } else {
            out = itemList(true);
        }
        while (peek().isSymbol(";")) next();
        if (peek().kind != SqlTokenKind::End) fail("testo inatteso \"" + peek().text + "\"");
        return out;
    }

private:
    static std::vector<SqlToken> tokenize(std::string_view sql, std::string_view context) {
        try {
            return tokenizeAccessSql(sql);
        } catch (const NumberedError& e) {
            if (context.empty()) throw;
            throw NumberedError(e.number(), "(" + std::string(context) + ") " + e.description(),
                                e.source());
        }
    }

    [[noreturn]] void fail(const std::string& what) const {
        std::string message = "Istruzione SQL non traducibile";
        if (!context_.empty()) message += " (" + std::string(context_) + ")";
        message += ": " + what + " in \"" + std::string(sql_) + "\"";
        throw NumberedError(errnum::DatabaseFailure, message, "sql_dialect");
    }

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

    // ---- statements ----

    std::string select() {
        ++selectDepth_;
        std::string out = selectBody();
        --selectDepth_;
        return out;
    }

    std::string selectBody() {
        expectWord("select");
        std::string out = "SELECT ";
        if (recording() && peek().isWord("distinct")) shape->updatable = false;
        if (acceptWord("distinct")) out += "DISTINCT ";
        else if (peek().isWord("distinctrow")) fail("DISTINCTROW");
        else acceptWord("all");
        std::string limit;
        if (acceptWord("top")) {
            if (peek().kind != SqlTokenKind::Number) fail("TOP senza numero");
            limit = next().text;
            if (peek().isWord("percent")) fail("TOP ... PERCENT");
        }
        out += itemList(true);
        if (peek().isWord("into")) fail("SELECT ... INTO");
        if (acceptWord("from")) {
            FromClause from = fromClause();
            out += " FROM " + from.sql;
            if (recording()) recordFrom(from);
        }
        if (acceptWord("where")) out += " WHERE " + expression().sql;
        if (recording() && (peek().isWord("group") || peek().isWord("having") || peek().isWord("union")))
            shape->updatable = false;
        if (acceptWord("group")) {
            expectWord("by");
            out += " GROUP BY " + orderList(false);
        }
        if (acceptWord("having")) out += " HAVING " + expression().sql;
        if (peek().isWord("union")) {
            if (!limit.empty()) fail("TOP con UNION");
            next();
            out += " UNION ";
            if (acceptWord("all")) out += "ALL ";
            return out + select();
        }
        if (acceptWord("order")) {
            expectWord("by");
            out += " ORDER BY " + orderList(true);
        }
        if (!limit.empty()) out += " LIMIT " + limit;
        return out;
    }

    // Select items, or the items of a stored column list or condition.
    std::string itemList(bool allowStar) {
        std::string out;
        do {
            if (!out.empty()) out += ", ";
            if (allowStar && peek().isSymbol("*")) {
                next();
                out += "*";
                continue;
            }
            const std::size_t start = pos_;
            out += expression().sql;
            const std::size_t end = pos_;
            std::string alias;
            if (acceptWord("as")) {
                alias = nameText(next());
                out += " AS " + quoteName(alias);
            }
            if (recording()) recordItem(start, end, alias);
        } while (acceptSymbol(","));
        return out;
    }

    void recordFrom(const FromClause& from) {
        for (std::size_t i = 0; i < from.entries.size(); ++i) {
            const FromEntry& e = from.entries[i];
            if (e.derived || (i == 0 ? !e.join.empty() : e.join != "LEFT")) shape->updatable = false;
            if (!e.derived) shape->aliases.emplace_back(e.qualifier(), e.table);
        }
        if (!from.entries.empty() && !from.entries.front().derived) {
            shape->baseTable = from.entries.front().table;
            shape->baseAlias = from.entries.front().qualifier();
        }
    }

    // ORDER BY (with ASC/DESC) and GROUP BY items; an expression that yields text is sorted
    // without regard to case, as columns are.
    std::string orderList(bool withDirection) {
        std::string out;
        do {
            if (!out.empty()) out += ", ";
            Expr e = expression();
            out += e.sql;
            if (e.kind == ExprKind::Text) out += " COLLATE NOCASE";
            if (withDirection) {
                if (acceptWord("asc")) out += " ASC";
                else if (acceptWord("desc")) out += " DESC";
            }
        } while (acceptSymbol(","));
        return out;
    }

    FromClause fromClause() {
        FromClause from;
        from.sql = joinGroup(from);
        while (acceptSymbol(",")) {
            const std::size_t first = from.entries.size();
            from.sql += ", " + joinGroup(from);
            from.entries[first].join = ",";
        }
        return from;
    }

    std::string joinGroup(FromClause& from) {
        std::string out = joinUnit(from);
        for (;;) {
            std::string kind;
            if (acceptWord("inner")) {
                kind = "INNER";
            } else if (peek().isWord("left") || peek().isWord("right")) {
                kind = peek().isWord("left") ? "LEFT" : "RIGHT";
                next();
                acceptWord("outer");
            } else {
                break;
            }
            expectWord("join");
            const std::size_t first = from.entries.size();
            std::string unit = joinUnit(from);
            expectWord("on");
            Expr on = expression();
            from.entries[first].join = kind;
            from.entries[first].on = on.sql;
            out += " " + kind + " JOIN " + unit + " ON " + on.sql;
        }
        return out;
    }

    std::string joinUnit(FromClause& from) {
        if (acceptSymbol("(")) {
            if (peek().isWord("select")) {
                std::string sub = "(" + select() + ")";
                expectSymbol(")");
                FromEntry entry;
                entry.derived = true;
                acceptWord("as");
                if (isNameToken(peek())) entry.alias = next().text;
                from.entries.push_back(entry);
                return entry.alias.empty() ? sub : sub + " AS " + quoteName(entry.alias);
            }
            from.nested = true;
            std::string inner = joinGroup(from);
            expectSymbol(")");
            return "(" + inner + ")";
        }
        FromEntry entry;
        entry.table = nameText(next());
        if (peek().isSymbol(".")) fail("tabella di un altro database (" + entry.table + ")");
        if (peek().isWord("in") && peek(1).kind == SqlTokenKind::Text)
            fail("tabella di un altro database (" + entry.table + " IN)");
        if (acceptWord("as")) entry.alias = nameText(next());
        else if (isNameToken(peek())) entry.alias = next().text;
        from.entries.push_back(entry);
        std::string out = quoteName(entry.table);
        if (!entry.alias.empty()) out += " AS " + quoteName(entry.alias);
        return out;
    }

    std::string fromFragment() {
        expectWord("from");
        std::string out = "FROM " + fromClause().sql;
        if (acceptWord("where")) out += " WHERE " + expression().sql;
        return out;
    }

    const FromEntry* findEntry(const FromClause& from, std::string_view qualifier) const {
        for (const FromEntry& e : from.entries)
            if (!e.derived && equalText(e.qualifier(), qualifier)) return &e;
        // A table named by its name although it carries an alias.
        for (const FromEntry& e : from.entries)
            if (!e.derived && equalText(e.table, qualifier)) return &e;
        return nullptr;
    }

    std::string deleteStatement() {
        expectWord("delete");
        std::string target;
        if (acceptSymbol("*")) {
        } else if (isNameToken(peek()) && peek(1).isSymbol(".") && peek(2).isSymbol("*")) {
            target = next().text;
            next();
            next();
        } else if (!peek().isWord("from")) {
            fail("DELETE di singole colonne");
        }
        expectWord("from");
        FromClause from = fromClause();
        std::string where;
        if (acceptWord("where")) where = expression().sql;
        for (const FromEntry& e : from.entries)
            if (e.derived) fail("DELETE da una sotto-query");
        const FromEntry* victim = target.empty() ? nullptr : findEntry(from, target);
        if (!target.empty() && victim == nullptr) fail("tabella " + target + " non presente in FROM");
        if (from.entries.size() == 1) {
            std::string out = "DELETE FROM " + from.sql;
            return where.empty() ? out : out + " WHERE " + where;
        }
        if (victim == nullptr) fail("DELETE * su più tabelle");
        std::string out = "DELETE FROM " + quoteName(victim->table) + " WHERE rowid IN (SELECT " +
                          quoteName(victim->qualifier()) + ".rowid FROM " + from.sql;
        if (!where.empty()) out += " WHERE " + where;
        return out + ")";
    }

    std::string updateStatement() {
        expectWord("update");
        FromClause from = fromClause();
        expectWord("set");
        struct Assignment {
            std::string qualifier, column, value;
        };
        std::vector<Assignment> sets;
        do {
            Assignment a;
            a.column = nameText(next());
            if (acceptSymbol(".")) {
                a.qualifier = a.column;
                a.column = nameText(next());
            }
            expectSymbol("=");
            a.value = expression().sql;
            sets.push_back(a);
        } while (acceptSymbol(","));
        std::string where;
        if (acceptWord("where")) where = expression().sql;

        for (const FromEntry& e : from.entries)
            if (e.derived) fail("UPDATE di una sotto-query");
        const FromEntry* target = nullptr;
        for (const Assignment& a : sets) {
            const FromEntry* named = nullptr;
            if (a.qualifier.empty()) {
                if (from.entries.size() > 1) fail("colonna " + a.column + " senza tabella in UPDATE con JOIN");
                named = &from.entries.front();
            } else {
                named = findEntry(from, a.qualifier);
                if (named == nullptr) fail("tabella " + a.qualifier + " non presente in UPDATE");
            }
            if (target != nullptr && target != named) fail("UPDATE di più tabelle");
            target = named;
        }
        std::string setList;
        for (const Assignment& a : sets) {
            if (!setList.empty()) setList += ", ";
            setList += quoteName(a.column) + " = " + a.value;
        }
        std::string out = "UPDATE " + quoteName(target->table);
        if (!target->alias.empty()) out += " AS " + quoteName(target->alias);
        out += " SET " + setList;
        if (from.entries.size() == 1) return where.empty() ? out : out + " WHERE " + where;

        // Inner joins only: the others become the FROM of SQLite's UPDATE, their ON conditions
        // join the WHERE. An outer join would change which rows are written.
        std::string others, conditions;
        for (const FromEntry& e : from.entries) {
            if (e.join != "" && e.join != "," && e.join != "INNER") fail(e.join + " JOIN in UPDATE");
            if (!e.on.empty()) conditions += (conditions.empty() ? "" : " AND ") + e.on;
            if (&e == target) continue;
            if (!others.empty()) others += ", ";
            others += quoteName(e.table);
            if (!e.alias.empty()) others += " AS " + quoteName(e.alias);
        }
        out += " FROM " + others;
        if (!where.empty()) conditions += (conditions.empty() ? "" : " AND ") + ("(" + where + ")");
        if (!conditions.empty()) out += " WHERE " + conditions;
        return out;
    }

    std::string insertStatement() {
        expectWord("insert");
        expectWord("into");
        std::string table = nameText(next());
        if (peek().isSymbol(".") || peek().isWord("in")) fail("tabella di un altro database (" + table + ")");
        std::string out = "INSERT INTO " + quoteName(table);
        if (acceptSymbol("(")) {
            std::string columns;
            do {
                if (!columns.empty()) columns += ", ";
                columns += quoteName(nameText(next()));
            } while (acceptSymbol(","));
            expectSymbol(")");
            out += " (" + columns + ")";
        }
        if (acceptWord("values")) {
            expectSymbol("(");
            std::string values;
            do {
                if (!values.empty()) values += ", ";
                values += expression().sql;
            } while (acceptSymbol(","));
            expectSymbol(")");
            return out + " VALUES (" + values + ")";
        }
        if (!peek().isWord("select")) fail("INSERT senza VALUES né SELECT");
        return out + " " + select();
    }

    // ---- expressions, by the dialect's precedence, lowest first ----

    Expr expression() {
        Expr e = orExpr();
        if (peek().isWord("xor") || peek().isWord("eqv") || peek().isWord("imp"))
            fail("operatore " + peek().text);
        return e;
    }

    Expr orExpr() {
        Expr e = andExpr();
        while (acceptWord("or")) e = {"(" + e.sql + " OR " + andExpr().sql + ")", ExprKind::Other};
        return e;
    }

    Expr andExpr() {
        Expr e = notExpr();
        while (acceptWord("and")) e = {"(" + e.sql + " AND " + notExpr().sql + ")", ExprKind::Other};
        return e;
    }

    Expr notExpr() {
        if (acceptWord("not")) return {"(NOT " + notExpr().sql + ")", ExprKind::Other};
        return comparison();
    }

    // Text is compared without regard to case: columns carry NOCASE, anything else gets it.
    static std::string caseless(const Expr& e) {
        return e.kind == ExprKind::Column ? e.sql : e.sql + " COLLATE NOCASE";
    }

    Expr comparison() {
        Expr e = concatenation();
        for (;;) {
            const SqlToken& t = peek();
            if (t.kind == SqlTokenKind::Symbol &&
                (t.text == "=" || t.text == "<>" || t.text == "<" || t.text == ">" ||
                 t.text == "<=" || t.text == ">=")) {
                const std::string op = next().text;
                Expr right = concatenation();
                std::string r = right.sql;
                if (e.kind != ExprKind::Column && right.kind != ExprKind::Column)
                    r += " COLLATE NOCASE";
                e = {"(" + e.sql + " " + op + " " + r + ")", ExprKind::Other};
                continue;
            }
            if (t.isWord("is")) {
                next();
                const bool negated = acceptWord("not");
                expectWord("null");
                e = {"(" + e.sql + (negated ? " IS NOT NULL)" : " IS NULL)"), ExprKind::Other};
                continue;
            }
            bool negated = false;
            if (t.isWord("not") &&
                (peek(1).isWord("like") || peek(1).isWord("in") || peek(1).isWord("between"))) {
                next();
                negated = true;
            }
            const std::string no = negated ? " NOT" : "";
            if (acceptWord("like")) {
                Expr pattern = concatenation();
                e = {"(" + e.sql + no + " LIKE " + pattern.sql + ")", ExprKind::Other};
            } else if (acceptWord("in")) {
                expectSymbol("(");
                std::string list;
                if (peek().isWord("select")) {
                    list = select();
                } else {
                    do {
                        if (!list.empty()) list += ", ";
                        list += expression().sql;
                    } while (acceptSymbol(","));
                }
                expectSymbol(")");
                e = {"(" + caseless(e) + no + " IN (" + list + "))", ExprKind::Other};
            } else if (acceptWord("between")) {
                Expr low = concatenation();
                expectWord("and");
                Expr high = concatenation();
                e = {"(" + caseless(e) + no + " BETWEEN " + low.sql + " AND " + high.sql + ")",
                     ExprKind::Other};
            } else {
                if (negated) fail("NOT inatteso");
                return e;
            }
        }
    }

    Expr concatenation() {
        Expr e = additive();
        while (acceptSymbol("&"))
            e = {"acc_concat(" + e.sql + ", " + additive().sql + ")", ExprKind::Text};
        return e;
    }

    Expr additive() {
        Expr e = modulo();
        for (;;) {
            if (acceptSymbol("+")) {
                Expr r = modulo();
                const bool text = e.kind == ExprKind::Text && r.kind == ExprKind::Text;
                e = {"acc_add(" + e.sql + ", " + r.sql + ")", text ? ExprKind::Text : ExprKind::Other};
            } else if (acceptSymbol("-")) {
                e = {"(" + e.sql + " - " + modulo().sql + ")", ExprKind::Other};
            } else {
                return e;
            }
        }
    }

    Expr modulo() {
        Expr e = integerDivision();
        while (acceptWord("mod"))
            e = {"acc_mod(" + e.sql + ", " + integerDivision().sql + ")", ExprKind::Other};
        return e;
    }

    Expr integerDivision() {
        Expr e = multiplicative();
        while (acceptSymbol("\\"))
            e = {"acc_idiv(" + e.sql + ", " + multiplicative().sql + ")", ExprKind::Other};
        return e;
    }

    Expr multiplicative() {
        Expr e = negation();
        for (;;) {
            if (acceptSymbol("*")) e = {"(" + e.sql + " * " + negation().sql + ")", ExprKind::Other};
            else if (acceptSymbol("/")) e = {"acc_div(" + e.sql + ", " + negation().sql + ")", ExprKind::Other};
            else return e;
        }
    }

    Expr negation() {
        if (acceptSymbol("-")) return {"(- " + negation().sql + ")", ExprKind::Other};
        if (acceptSymbol("+")) return negation();
        return power();
    }

    Expr power() {
        Expr e = primary();
        while (acceptSymbol("^")) {
            Expr exponent;
            if (acceptSymbol("-")) exponent.sql = "(- " + primary().sql + ")";
            else exponent = primary();
            e = {"acc_pow(" + e.sql + ", " + exponent.sql + ")", ExprKind::Other};
        }
        return e;
    }

    Expr primary() {
        const SqlToken& t = peek();
        switch (t.kind) {
            case SqlTokenKind::Text:
                next();
                return {quoteText(t.text), ExprKind::Text};
            case SqlTokenKind::Date:
                next();
                return {quoteText(t.text), ExprKind::Other};
            case SqlTokenKind::Number: {
                next();
                std::string n = t.text;
                if (n.front() == '.') n.insert(n.begin(), '0');
                return {n, ExprKind::Other};
            }
            case SqlTokenKind::Name:
                return columnReference();
            case SqlTokenKind::Symbol:
                if (acceptSymbol("(")) {
                    if (peek().isWord("select")) {
                        std::string sub = select();
                        expectSymbol(")");
                        return {"(" + sub + ")", ExprKind::Other};
                    }
                    Expr inner = expression();
                    expectSymbol(")");
                    return {"(" + inner.sql + ")", inner.kind};
                }
                if (t.isSymbol("*")) fail("\"*\" fuori posto");
                fail("espressione attesa" + describeHere());
            case SqlTokenKind::Word:
                break;
            case SqlTokenKind::End:
                fail("espressione attesa alla fine");
        }
        if (acceptWord("true")) return {"-1", ExprKind::Other};
        if (acceptWord("false")) return {"0", ExprKind::Other};
        if (acceptWord("null")) return {"NULL", ExprKind::Other};
        if (t.isWord("exists") && peek(1).isSymbol("(")) {
            next();
            next();
            if (!peek().isWord("select")) fail("EXISTS senza SELECT");
            std::string sub = select();
            expectSymbol(")");
            return {"(EXISTS (" + sub + "))", ExprKind::Other};
        }
        if (peek(1).isSymbol("(") &&
            (!isReserved(t) || t.isWord("left") || t.isWord("right")))
            return call();
        if (isReserved(t)) fail("espressione attesa" + describeHere());
        return columnReference();
    }

    Expr columnReference() {
        std::string out = quoteName(next().text);
        int parts = 1;
        while (acceptSymbol(".")) {
            if (acceptSymbol("*")) return {out + ".*", ExprKind::Other};
            out += "." + quoteName(nameText(next()));
            if (++parts > 2) fail("nome con più di due parti");
        }
        return {out, ExprKind::Column};
    }

    Expr call() {
        std::string name = lower(next().text);
        if (!name.empty() && name.back() == '$') name.pop_back();
        expectSymbol("(");
        std::vector<Expr> args;
        if (!peek().isSymbol(")")) {
            do {
                if (name == "count" && peek().isSymbol("*") && peek(1).isSymbol(")")) {
                    next();
                    args.push_back({"*", ExprKind::Other});
                } else {
                    args.push_back(expression());
                }
            } while (acceptSymbol(","));
        }
        expectSymbol(")");
        if (recording() && (name == "count" || name == "sum" || name == "avg" || name == "min" ||
                            name == "max"))
            shape->updatable = false;
        auto argCount = [&](std::size_t low, std::size_t high) {
            if (args.size() < low || args.size() > high)
                fail("numero di argomenti errato per la funzione " + name);
        };
        if (name == "iif") {
            argCount(3, 3);
            const bool text = args[1].kind == ExprKind::Text || args[2].kind == ExprKind::Text;
            return {"(CASE WHEN " + args[0].sql + " THEN " + args[1].sql + " ELSE " + args[2].sql +
                        " END)",
                    text ? ExprKind::Text : ExprKind::Other};
        }
        if (name == "isnull") {
            argCount(1, 1);
            return {"(" + args[0].sql + " IS NULL)", ExprKind::Other};
        }
        if (name == "nz") {
            argCount(1, 2);
            const std::string fallback = args.size() == 2 ? args[1].sql : "''";
            return {"coalesce(" + args[0].sql + ", " + fallback + ")",
                    args[0].kind == ExprKind::Column ? ExprKind::Other : args[0].kind};
        }
        for (const FunctionRule& rule : kFunctions) {
            if (name != rule.name) continue;
            argCount(rule.minArgs, rule.maxArgs);
            if (name == "instr" && args.size() == 2) args.insert(args.begin(), Expr{"1"});
            std::string out = std::string(rule.sqlName) + "(";
            for (std::size_t i = 0; i < args.size(); ++i) out += (i ? ", " : "") + args[i].sql;
            return {out + ")", rule.textResult ? ExprKind::Text : ExprKind::Other};
        }
        fail("funzione " + name);
    }

public:
    // When set, the outermost SELECT records its shape here while it is translated.
    SelectShape* shape = nullptr;

private:
    bool recording() const { return shape != nullptr && selectDepth_ == 1; }

    void recordItem(std::size_t from, std::size_t to, std::string alias) {
        SelectItem item;
        item.alias = std::move(alias);
        const std::size_t count = to - from;
        auto isName = [&](std::size_t i) { return isNameToken(tokens_[i]); };
        if (count == 1 && tokens_[from].isSymbol("*")) {
            item.column = "*";
        } else if (count == 1 && isName(from)) {
            item.column = tokens_[from].text;
        } else if (count == 3 && isName(from) && tokens_[from + 1].isSymbol(".") &&
                   (isName(from + 2) || tokens_[from + 2].isSymbol("*"))) {
            item.qualifier = tokens_[from].text;
            item.column = tokens_[from + 2].text;
        } else {
            item.isExpression = true;
        }
        shape->items.push_back(std::move(item));
    }

    std::string_view sql_;
    std::string_view context_;
    int selectDepth_ = 0;
    std::vector<SqlToken> tokens_;
    std::size_t pos_ = 0;
};

}  // namespace

std::string translateAccessSql(std::string_view sql) { return Translator(sql, {}).run(); }

std::string translateSqlFragment(std::string_view fragment, std::string_view context) {
    return Translator(fragment, context).run();
}

std::optional<SelectShape> analyzeSelect(std::string_view accessSql) {
    SelectShape shape;
    shape.updatable = true;
    try {
        if (!tokenizeAccessSql(accessSql).front().isWord("select")) return std::nullopt;
        Translator translator(accessSql, {});
        translator.shape = &shape;
        translator.run();
    } catch (const NumberedError&) {
        return std::nullopt;
    }
    if (shape.baseTable.empty()) return std::nullopt;
    return shape;
}

}  // namespace tolvane

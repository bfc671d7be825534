// Translation of dialect expressions: operators and functions whose meaning differs on SQLite
// become calls of ours, text comparisons become caseless. An unknown function raises 3146,
// never passes through to run with SQLite's meaning.

#include "db/sql_translator.h"
#include "platform/numbered_error.h"

namespace tolvane::sqldetail {

std::string quoteText(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

bool isReserved(const SqlToken& t) {
    static const char* const words[] = {
        "select",  "from",  "where",  "group",    "order",       "by",     "having",
        "union",   "as",    "on",     "join",     "inner",       "outer",  "left",
        "right",   "set",   "values", "into",     "and",         "or",     "not",
        "xor",     "eqv",   "imp",    "mod",      "like",        "is",     "in",
        "between", "asc",   "desc",   "distinct", "distinctrow", "top",    "null",
        "true",    "false", "exists", "all",      "delete",      "update", "insert"};
    if (t.kind != SqlTokenKind::Word) return false;
    for (const char* w : words)
        if (t.isWord(w)) return true;
    return false;
}

namespace {

struct FunctionRule {
    const char* name;
    const char* sqlName;
    int minArgs;
    int maxArgs;
    bool textResult;
};

constexpr FunctionRule kFunctions[] = {
    {"val", "acc_val", 1, 1, false},
    {"left", "acc_left", 2, 2, true},
    {"right", "acc_right", 2, 2, true},
    {"mid", "acc_mid", 2, 3, true},
    {"len", "acc_len", 1, 1, false},
    {"instr", "acc_instr", 2, 4, false},
    {"int", "acc_int", 1, 1, false},
    {"fix", "acc_fix", 1, 1, false},
    {"isnumeric", "acc_isnumeric", 1, 1, false},
    {"str", "acc_str", 1, 1, true},
    {"cstr", "acc_cstr", 1, 1, true},
    {"ucase", "acc_ucase", 1, 1, true},
    {"lcase", "acc_lcase", 1, 1, true},
    {"trim", "acc_trim", 1, 1, true},
    {"ltrim", "acc_ltrim", 1, 1, true},
    {"rtrim", "acc_rtrim", 1, 1, true},
    {"clng", "acc_clng", 1, 1, false},
    {"cint", "acc_cint", 1, 1, false},
    {"cdbl", "acc_cdbl", 1, 1, false},
    {"round", "acc_round", 1, 2, false},
    {"replace", "acc_replace", 3, 3, true},
    {"abs", "abs", 1, 1, false},
    {"count", "count", 1, 1, false},
    {"sum", "sum", 1, 1, false},
    {"avg", "avg", 1, 1, false},
    {"min", "min", 1, 1, false},
    {"max", "max", 1, 1, false},
};

}  // namespace

Expr Translator::expression() {
    const Nested nested(*this);
    Expr e = orExpr();
    if (peek().isWord("xor") || peek().isWord("eqv") || peek().isWord("imp"))
        fail("operatore " + peek().text);
    return e;
}

Expr Translator::orExpr() {
    Expr e = andExpr();
    while (acceptWord("or")) e = {"(" + e.sql + " OR " + andExpr().sql + ")", ExprKind::Other};
    return e;
}

Expr Translator::andExpr() {
    Expr e = notExpr();
    while (acceptWord("and")) e = {"(" + e.sql + " AND " + notExpr().sql + ")", ExprKind::Other};
    return e;
}

Expr Translator::notExpr() {
    const Nested nested(*this);
    if (acceptWord("not")) return {"(NOT " + notExpr().sql + ")", ExprKind::Other};
    return comparison();
}

// Text is compared without regard to case: columns carry NOCASE, anything else gets it.
std::string Translator::caseless(const Expr& e) {
    return e.kind == ExprKind::Column ? e.sql : e.sql + " COLLATE NOCASE";
}

Expr Translator::comparison() {
    Expr e = concatenation();
    for (;;) {
        const SqlToken& t = peek();
        if (t.kind == SqlTokenKind::Symbol && (t.text == "=" || t.text == "<>" || t.text == "<" ||
                                               t.text == ">" || t.text == "<=" || t.text == ">=")) {
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

Expr Translator::concatenation() {
    Expr e = additive();
    while (acceptSymbol("&"))
        e = {"acc_concat(" + e.sql + ", " + additive().sql + ")", ExprKind::Text};
    return e;
}

Expr Translator::additive() {
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

Expr Translator::modulo() {
    Expr e = integerDivision();
    while (acceptWord("mod"))
        e = {"acc_mod(" + e.sql + ", " + integerDivision().sql + ")", ExprKind::Other};
    return e;
}

Expr Translator::integerDivision() {
    Expr e = multiplicative();
    while (acceptSymbol("\\"))
        e = {"acc_idiv(" + e.sql + ", " + multiplicative().sql + ")", ExprKind::Other};
    return e;
}

Expr Translator::multiplicative() {
    Expr e = negation();
    for (;;) {
        if (acceptSymbol("*")) e = {"(" + e.sql + " * " + negation().sql + ")", ExprKind::Other};
        else if (acceptSymbol("/"))
            e = {"acc_div(" + e.sql + ", " + negation().sql + ")", ExprKind::Other};
        else return e;
    }
}

Expr Translator::negation() {
    const Nested nested(*this);
    if (acceptSymbol("-")) return {"(- " + negation().sql + ")", ExprKind::Other};
    if (acceptSymbol("+")) return negation();
    return power();
}

Expr Translator::power() {
    Expr e = primary();
    while (acceptSymbol("^")) {
        Expr exponent;
        if (acceptSymbol("-")) exponent.sql = "(- " + primary().sql + ")";
        else exponent = primary();
        e = {"acc_pow(" + e.sql + ", " + exponent.sql + ")", ExprKind::Other};
    }
    return e;
}

Expr Translator::primary() {
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
    if (peek(1).isSymbol("(") && (!isReserved(t) || t.isWord("left") || t.isWord("right")))
        return call();
    if (isReserved(t)) fail("espressione attesa" + describeHere());
    return columnReference();
}

Expr Translator::columnReference() {
    std::string out = quoteName(next().text);
    int parts = 1;
    while (acceptSymbol(".")) {
        if (acceptSymbol("*")) return {out + ".*", ExprKind::Other};
        out += "." + quoteName(nameText(next()));
        if (++parts > 2) fail("nome con più di due parti");
    }
    return {out, ExprKind::Column};
}

Expr Translator::call() {
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
    if (recording() &&
        (name == "count" || name == "sum" || name == "avg" || name == "min" || name == "max"))
        shape->updatable = false;
    auto argCount = [&](std::size_t low, std::size_t high) {
        if (args.size() < low || args.size() > high)
            fail("numero di argomenti errato per la funzione " + name);
    };
    if (name == "iif") {
        argCount(3, 3);
        const bool text = args[1].kind == ExprKind::Text || args[2].kind == ExprKind::Text;
        return {
            "(CASE WHEN " + args[0].sql + " THEN " + args[1].sql + " ELSE " + args[2].sql + " END)",
            text ? ExprKind::Text : ExprKind::Other};
    }
    if (name == "isnull") {
        argCount(1, 1);
        // True is -1 in the dialect: "IsNull(x) = True" must hold.
        return {"(-(" + args[0].sql + " IS NULL))", ExprKind::Other};
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

}  // namespace tolvane::sqldetail

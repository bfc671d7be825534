// Translation of dialect statements and clauses into SQLite SQL, and the
// shape analysis of a SELECT. Joins and deletes that SQLite writes differently are rebuilt;
// anything not known to translate faithfully raises 3146 instead of running with another meaning.
#include "db/sql_translator.h"
#include "platform/numbered_error.h"
#include "platform/text.h"

namespace tolvane {

namespace sqldetail {

std::string Translator::run() {
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
        out = itemList();
    }
    while (peek().isSymbol(";")) next();
    if (peek().kind != SqlTokenKind::End) fail("testo inatteso \"" + peek().text + "\"");
    return out;
}

void Translator::fail(const std::string& what) const {
    throw NumberedError(
        errnum::DatabaseFailure,
        "Istruzione SQL non traducibile: " + what + " in \"" + std::string(sql_) + "\"",
        "sql_dialect");
}

void Translator::recordItem(std::size_t from, std::size_t to, std::string alias) {
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

std::string Translator::select() {
    const Nested nested(*this);
    ++selectDepth_;
    std::string out = selectBody();
    --selectDepth_;
    return out;
}

std::string Translator::selectBody() {
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
    out += itemList();
    if (peek().isWord("into")) fail("SELECT ... INTO");
    if (acceptWord("from")) {
        FromClause from = fromClause();
        out += " FROM " + from.sql;
        if (recording()) recordFrom(from);
    }
    if (acceptWord("where")) out += " WHERE " + expression().sql;
    if (recording() &&
        (peek().isWord("group") || peek().isWord("having") || peek().isWord("union")))
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
std::string Translator::itemList() {
    std::string out;
    do {
        if (!out.empty()) out += ", ";
        if (peek().isSymbol("*")) {
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

void Translator::recordFrom(const FromClause& from) {
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
std::string Translator::orderList(bool withDirection) {
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

FromClause Translator::fromClause() {
    FromClause from;
    from.sql = joinGroup(from);
    while (acceptSymbol(",")) {
        const std::size_t first = from.entries.size();
        from.sql += ", " + joinGroup(from);
        from.entries[first].join = ",";
    }
    return from;
}

std::string Translator::joinGroup(FromClause& from) {
    const Nested nested(*this);
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

std::string Translator::joinUnit(FromClause& from) {
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

std::string Translator::fromFragment() {
    expectWord("from");
    std::string out = "FROM " + fromClause().sql;
    if (acceptWord("where")) out += " WHERE " + expression().sql;
    return out;
}

const FromEntry* Translator::findEntry(const FromClause& from, std::string_view qualifier) const {
    for (const FromEntry& e : from.entries)
        if (!e.derived && equalText(e.qualifier(), qualifier)) return &e;
    // A table named by its name although it carries an alias.
    for (const FromEntry& e : from.entries)
        if (!e.derived && equalText(e.table, qualifier)) return &e;
    return nullptr;
}

std::string Translator::deleteStatement() {
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

std::string Translator::updateStatement() {
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
            if (from.entries.size() > 1)
                fail("colonna " + a.column + " senza tabella in UPDATE con JOIN");
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

std::string Translator::insertStatement() {
    expectWord("insert");
    expectWord("into");
    std::string table = nameText(next());
    if (peek().isSymbol(".") || peek().isWord("in"))
        fail("tabella di un altro database (" + table + ")");
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

}  // namespace sqldetail

using sqldetail::Translator;

std::string translateAccessSql(std::string_view sql) { return Translator(sql).run(); }

std::optional<SelectShape> analyzeSelect(std::string_view accessSql) {
    SelectShape shape;
    shape.updatable = true;
    try {
        if (!tokenizeAccessSql(accessSql).front().isWord("select")) return std::nullopt;
        Translator translator(accessSql);
        translator.shape = &shape;
        translator.run();
    } catch (const NumberedError&) {
        return std::nullopt;
    }
    if (shape.baseTable.empty()) return std::nullopt;
    return shape;
}

}  // namespace tolvane

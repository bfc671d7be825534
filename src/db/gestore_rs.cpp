// GestoreRs over SQLite: a record set reads its whole result at open, finds columns by alias,
// table or bare name, and writes to its base table by row id, only the columns assigned.
// Never re-reads the schema or re-translates a statement per row of a long run.
#include "db/gestore_rs.h"

#include <sqlite3.h>

#include <cassert>
#include <unordered_map>
#include <vector>

#include "db/db_connection.h"
#include "db/db_values.h"
#include "db/sql_dialect.h"
#include "platform/scope_guard.h"

namespace tolvane {

namespace {

constexpr int kAmbiguous = -2;

const char* columnText(const char* p) { return p ? p : ""; }

[[noreturn]] void raise(int number, std::string text) {
    throw NumberedError(number, std::move(text), "GestoreRs");
}

[[noreturn]] void noCurrentRecord() { raise(errnum::NoCurrentRecord, "Nessun record corrente."); }

[[noreturn]] void columnNotFound(std::string_view name) {
    raise(errnum::ItemNotFound,
          "Elemento non trovato in questo insieme: '" + std::string(name) + "'.");
}

}  // namespace

struct RsColumn {
    std::string name;       // as the result names it
    std::string qualifier;  // alias it was read through; empty for expressions
    std::string table;      // origin table; empty for expressions
    ColumnKind kind = ColumnKind::Other;
    int size = 0;
    int baseColumn = -1;  // index among the base table's columns
};

struct RsRow {
    sqlite3_int64 rowid = 0;
    std::vector<Variant> values;
    bool loaded = true;
};

struct RecordSet {
    std::shared_ptr<DbConnection> conn;
    std::string sql;
    int tipo = rstype::Dynaset;

    std::vector<RsColumn> columns;
    CaselessMap<int> lookup;           // name -> column, or kAmbiguous
    CaselessMap<std::string> aliases;  // alias or table -> table

    bool updatable = false;
    std::string baseTable;
    std::string baseAlias;
    // Shared: the schema cache drops its tables when the schema changes, this one must stay.
    std::shared_ptr<const TableInfo> base;
    std::uint64_t baseGeneration = 0;
    std::string rowSelectSql;
    // INSERT and UPDATE texts by the set of assigned columns ('I' or 'U', then one flag each).
    std::unordered_map<std::string, std::string> writeSql;

    std::vector<RsRow> rows;
    long pos = -1;  // current record, -1 when none

    int edit = editstate::None;
    std::vector<Variant> buffer;   // by base column
    std::vector<char> assigned;    // by base column
    std::vector<Variant> editRow;  // result values while editing
    bool hasLastModified = false;
    sqlite3_int64 lastModified = 0;
};

namespace {

void buildColumns(RecordSet& rs, sqlite3_stmt* stmt, int count,
                  const std::optional<SelectShape>& shape) {
    SchemaInfo& schema = rs.conn->schema;
    std::vector<std::pair<std::string, std::string>> expected;
    if (shape) {
        for (const SelectItem& item : shape->items) {
            if (item.column == "*") {
                auto addTable = [&](const std::string& alias, const std::string& table) {
                    if (const TableInfo* t = schema.table(table))
                        for (const ColumnInfo& c : t->columns) expected.emplace_back(alias, c.name);
                };
                if (item.qualifier.empty()) {
                    for (const auto& [alias, table] : shape->aliases) addTable(alias, table);
                } else {
                    addTable(item.qualifier, shape->tableOf(item.qualifier));
                }
            } else if (item.isExpression) {
                expected.emplace_back("", "");
            } else if (!item.qualifier.empty()) {
                expected.emplace_back(item.qualifier, item.column);
            } else {
                std::string owner;
                for (const auto& [alias, table] : shape->aliases) {
                    const TableInfo* t = schema.table(table);
                    if (t && t->column(item.column)) {
                        owner = alias;
                        break;
                    }
                }
                expected.emplace_back(owner, item.column);
            }
        }
    }
    bool consistent = static_cast<int>(expected.size()) == count;
    for (int i = 0; consistent && i < count; ++i) {
        const char* origin = sqlite3_column_origin_name(stmt, i);
        if (origin && !expected[static_cast<std::size_t>(i)].second.empty() &&
            !sameName(origin, expected[static_cast<std::size_t>(i)].second))
            consistent = false;
    }

    rs.columns.clear();
    rs.lookup.clear();
    CaselessMap<std::vector<int>> bare;
    for (int i = 0; i < count; ++i) {
        RsColumn col;
        col.name = columnText(sqlite3_column_name(stmt, i));
        if (std::size_t dot = col.name.rfind('.'); dot != std::string::npos && !consistent)
            col.name = col.name.substr(dot + 1);
        col.table = columnText(sqlite3_column_table_name(stmt, i));
        int declaredSize = 0;
        col.kind = columnKindOf(columnText(sqlite3_column_decltype(stmt, i)), &declaredSize);
        col.size = reportedSize(col.kind, declaredSize);
        if (!col.table.empty()) {
            if (consistent) {
                col.qualifier = expected[static_cast<std::size_t>(i)].first;
            } else if (shape) {
                for (const auto& [alias, table] : shape->aliases)
                    if (sameName(table, col.table)) {
                        col.qualifier = alias;
                        break;
                    }
            }
            if (col.qualifier.empty()) col.qualifier = col.table;
        }
        if (rs.base && sameName(col.qualifier, rs.baseAlias) &&
            sameName(col.table, rs.base->name)) {
            const char* origin = sqlite3_column_origin_name(stmt, i);
            col.baseColumn = rs.base->columnIndex(columnText(origin));
        }
        bare[col.name].push_back(i);
        if (!col.qualifier.empty()) {
            rs.lookup.emplace(col.qualifier + "." + col.name, i);
            rs.lookup.emplace(col.table + "." + col.name, i);
        }
        rs.columns.push_back(std::move(col));
    }
    for (auto& [key, indices] : bare) {
        int chosen = indices.size() == 1 ? indices[0] : kAmbiguous;
        if (chosen == kAmbiguous) {
            // Among equal names the base table's own column is meant.
            int fromBase = -1, found = 0;
            for (int i : indices)
                if (rs.columns[static_cast<std::size_t>(i)].baseColumn >= 0) {
                    fromBase = i;
                    ++found;
                }
            if (found == 1) chosen = fromBase;
        }
        rs.lookup[key] = chosen;  // a bare name wins over a qualified key spelt the same
    }
}

void buildRowSelect(RecordSet& rs);

void refreshBase(RecordSet& rs) {
    if (!rs.updatable || rs.baseGeneration == rs.conn->schema.generation()) return;
    std::shared_ptr<const TableInfo> fresh = rs.conn->schema.sharedTable(rs.baseTable);
    if (!fresh) raise(errnum::DatabaseFailure, "Tabella inesistente: '" + rs.baseTable + "'.");
    for (RsColumn& col : rs.columns)
        if (col.baseColumn >= 0)
            col.baseColumn =
                fresh->columnIndex(rs.base->columns[static_cast<std::size_t>(col.baseColumn)].name);
    // Assignments follow their columns: a dropped column moves the others.
    std::vector<Variant> buffer(fresh->columns.size(), Variant::null());
    std::vector<char> assigned(fresh->columns.size(), 0);
    for (std::size_t i = 0; i < rs.assigned.size(); ++i) {
        int moved = fresh->columnIndex(rs.base->columns[i].name);
        if (moved < 0 || !rs.assigned[i]) continue;
        buffer[static_cast<std::size_t>(moved)] = rs.buffer[i];
        assigned[static_cast<std::size_t>(moved)] = 1;
    }
    rs.buffer = std::move(buffer);
    rs.assigned = std::move(assigned);
    rs.base = fresh;
    rs.baseGeneration = rs.conn->schema.generation();
    rs.writeSql.clear();
    buildRowSelect(rs);
}

void buildRowSelect(RecordSet& rs) {
    std::string list;
    for (const RsColumn& col : rs.columns) {
        if (col.baseColumn < 0) continue;
        if (!list.empty()) list += ", ";
        list += quoteName(rs.base->columns[static_cast<std::size_t>(col.baseColumn)].name);
    }
    if (list.empty()) list = "1";
    rs.rowSelectSql =
        "SELECT " + list + " FROM " + quoteQualifiedName(rs.base->name) + " WHERE rowid = ?1";
}

// Reads the base table's columns of one row again; false when the row is gone.
bool reloadRow(RecordSet& rs, RsRow& row) {
    refreshBase(rs);
    sqlite3_stmt* stmt = rs.conn->prepareNative(rs.rowSelectSql);
    sqlite3_bind_int64(stmt, 1, row.rowid);
    int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        int extended = sqlite3_extended_errcode(rs.conn->db);
        std::string text = sqlite3_errmsg(rs.conn->db);
        sqlite3_reset(stmt);
        rs.conn->raiseFailure(extended, text, "GestoreRs", SqliteAccess::Read);
    }
    if (row.values.size() != rs.columns.size())
        row.values.assign(rs.columns.size(), Variant::null());
    bool found = rc == SQLITE_ROW;
    int k = 0;
    for (std::size_t i = 0; i < rs.columns.size(); ++i) {
        if (rs.columns[i].baseColumn < 0) continue;
        row.values[i] = found ? readValue(stmt, k, rs.columns[i].kind) : Variant::null();
        ++k;
    }
    sqlite3_reset(stmt);
    row.loaded = true;
    return found;
}

void loadQuery(RecordSet& rs, const std::string& sql, int tipo) {
    rs.conn->schema.refreshIfChanged();
    rs.sql = sql;
    rs.tipo = tipo;
    rs.rows.clear();
    rs.pos = -1;
    rs.edit = editstate::None;
    rs.hasLastModified = false;
    rs.updatable = false;
    rs.base = nullptr;
    rs.aliases.clear();

    const DbConnection::AnalysedSelect& analysed = rs.conn->analyse(sql);
    const std::optional<SelectShape>& shape = analysed.shape;
    std::string translated = analysed.translated;
    if (shape) {
        for (const auto& [alias, table] : shape->aliases) {
            rs.aliases.emplace(alias, table);
            rs.aliases.emplace(table, table);
        }
        if (tipo != rstype::Snapshot && shape->updatable) {
            std::shared_ptr<const TableInfo> base = rs.conn->schema.sharedTable(shape->baseTable);
            if (base && !base->withoutRowid) {
                rs.updatable = true;
                rs.base = base;
                rs.baseGeneration = rs.conn->schema.generation();
                rs.baseTable = shape->baseTable;
                rs.baseAlias = shape->baseAlias;
                translated = addRowIdColumn(translated, *shape);
            }
        }
    }
    // A run that reopens the same text prepares it once.
    sqlite3_stmt* stmt = rs.conn->prepareNative(translated);
    int count = sqlite3_column_count(stmt);
    if (rs.updatable) {
        const char* last = count > 0 ? sqlite3_column_name(stmt, count - 1) : nullptr;
        if (last && std::string_view(last) == kRowIdColumn) {
            --count;
        } else {
            rs.updatable = false;  // no row id to write by: the record set stays read-only
            rs.base = nullptr;
        }
    }
    buildColumns(rs, stmt, count, shape);
    if (rs.updatable) {
        rs.buffer.assign(rs.base->columns.size(), Variant::null());
        rs.assigned.assign(rs.base->columns.size(), 0);
        rs.writeSql.clear();
        buildRowSelect(rs);
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        RsRow row;
        row.values.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            row.values.push_back(readValue(stmt, i, rs.columns[static_cast<std::size_t>(i)].kind));
        if (rs.updatable) row.rowid = sqlite3_column_int64(stmt, count);
        rs.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        int extended = sqlite3_extended_errcode(rs.conn->db);
        std::string text = sqlite3_errmsg(rs.conn->db);
        sqlite3_reset(stmt);
        rs.rows.clear();
        rs.conn->raiseFailure(extended, text, "GestoreRs", SqliteAccess::Read);
    }
    sqlite3_reset(stmt);
    rs.pos = rs.rows.empty() ? -1 : 0;
}

// A query that fails leaves the handle empty and read-only: nothing of the previous query
// (its columns, its base table) may be written through it.
void load(RecordSet& rs, const std::string& sql, int tipo) {
    ScopeGuard empty([&rs] {
        rs.columns.clear();
        rs.lookup.clear();
        rs.rows.clear();
        rs.pos = -1;
        rs.edit = editstate::None;
        rs.updatable = false;
        rs.base = nullptr;
    });
    loadQuery(rs, sql, tipo);
    empty.dismiss();
}

int findColumn(const RecordSet& rs, std::string_view name) {
    auto it = rs.lookup.find(name);
    if (it == rs.lookup.end() || it->second == kAmbiguous) columnNotFound(name);
    return it->second;
}

RsRow& currentRow(RecordSet& rs) {
    if (rs.pos < 0 || rs.pos >= static_cast<long>(rs.rows.size())) noCurrentRecord();
    RsRow& row = rs.rows[static_cast<std::size_t>(rs.pos)];
    if (!row.loaded) reloadRow(rs, row);
    return row;
}

Variant rawValue(RecordSet& rs, std::string_view name) {
    int index = findColumn(rs, name);
    const RsColumn& col = rs.columns[static_cast<std::size_t>(index)];
    if (rs.edit != editstate::None) {
        assert(rs.editRow.size() == rs.columns.size() && "an edit keeps one value per column");
        if (col.baseColumn >= 0 && rs.assigned[static_cast<std::size_t>(col.baseColumn)])
            return rs.buffer[static_cast<std::size_t>(col.baseColumn)];
        return rs.editRow[static_cast<std::size_t>(index)];
    }
    return currentRow(rs).values[static_cast<std::size_t>(index)];
}

void requireUpdatable(const RecordSet& rs) {
    if (!rs.updatable)
        raise(errnum::ReadOnlyRecordset,
              "Impossibile aggiornare: il database o l'oggetto è di sola lettura.");
}

void clearAssignments(RecordSet& rs) { std::fill(rs.assigned.begin(), rs.assigned.end(), 0); }

// The base column that a name assigns: "Alias.Column" of the base table or a bare name of it.
int baseColumnFor(RecordSet& rs, std::string_view name) {
    // A result column of the base table, also under the name given to it by AS.
    if (auto it = rs.lookup.find(name); it != rs.lookup.end() && it->second >= 0) {
        int base = rs.columns[static_cast<std::size_t>(it->second)].baseColumn;
        if (base >= 0) return base;
    }
    std::string_view column = name;
    if (std::size_t dot = name.rfind('.'); dot != std::string_view::npos) {
        std::string_view qualifier = name.substr(0, dot);
        column = name.substr(dot + 1);
        if (!sameName(qualifier, rs.baseAlias) && !sameName(qualifier, rs.baseTable) &&
            !sameName(qualifier, rs.base->name)) {
            if (rs.aliases.count(qualifier))
                raise(errnum::FieldNotUpdatable,
                      "Il campo '" + std::string(name) + "' non può essere aggiornato.");
            columnNotFound(name);
        }
    }
    int index = rs.base->columnIndex(column);
    if (index >= 0) return index;
    if (rs.lookup.count(name))
        raise(errnum::FieldNotUpdatable,
              "Il campo '" + std::string(name) + "' non può essere aggiornato.");
    columnNotFound(name);
}

// The column that is another name of the row id (INTEGER PRIMARY KEY), -1 when none.
int rowIdAlias(const TableInfo& base) {
    if (base.primaryKey.size() != 1) return -1;
    int index = base.columnIndex(base.primaryKey.front());
    const std::string& type = base.columns[static_cast<std::size_t>(index)].declaredType;
    return sameName(type, "INTEGER") ? index : -1;
}

std::string writeText(const TableInfo& base, const std::vector<int>& written, bool update) {
    std::string sql;
    if (update) {
        sql = "UPDATE " + quoteQualifiedName(base.name) + " SET ";
        for (std::size_t k = 0; k < written.size(); ++k) {
            if (k) sql += ", ";
            sql += quoteName(base.columns[static_cast<std::size_t>(written[k])].name) + " = ?";
        }
        // Nothing assigned still proves that the row exists.
        if (written.empty()) sql = "UPDATE " + quoteQualifiedName(base.name) + " SET rowid = rowid";
        return sql + " WHERE rowid = ?";
    }
    sql = "INSERT INTO " + quoteQualifiedName(base.name);
    if (written.empty()) return sql + " DEFAULT VALUES";
    std::string names, marks;
    for (std::size_t k = 0; k < written.size(); ++k) {
        if (k) {
            names += ", ";
            marks += ", ";
        }
        names += quoteName(base.columns[static_cast<std::size_t>(written[k])].name);
        marks += "?";
    }
    return sql + " (" + names + ") VALUES (" + marks + ")";
}

}  // namespace

GestoreRs::GestoreRs() = default;
GestoreRs::~GestoreRs() = default;

RecordSet& GestoreRs::rs(const std::string& handle) const {
    auto it = sets_.find(handle);
    if (it == sets_.end())
        raise(errnum::ObjectRequired, "Record set inesistente: '" + handle + "'.");
    return *it->second;
}

std::string GestoreRs::ApriRs(GestoreDb& db, const std::string& idDb, const std::string& handle,
                              const std::string& sql, bool opzione, int tipo,
                              const Variant& extra) {
    (void)opzione;
    (void)extra;
    auto set = std::make_unique<RecordSet>();
    set->conn = db.sharedConnection(idDb);
    load(*set, sql, tipo);
    std::string name = handle.empty() ? "Rs" + std::to_string(++nextHandle_) : handle;
    sets_[name] = std::move(set);
    return name;
}

void GestoreRs::RiapriRs(const std::string& handle, const std::string& sql, const Variant& extra,
                         int tipo) {
    (void)extra;
    load(rs(handle), sql, tipo);
}

void GestoreRs::ChiudiRs(const std::string& handle) { sets_.erase(handle); }

bool GestoreRs::EsisteRs(const std::string& handle) const { return sets_.count(handle) != 0; }

bool GestoreRs::VuotoRs(const std::string& handle) const { return rs(handle).rows.empty(); }

bool GestoreRs::EofRs(const std::string& handle) const { return rs(handle).pos < 0; }

void GestoreRs::MoveFirstRs(const std::string& handle) {
    RecordSet& set = rs(handle);
    set.edit = editstate::None;
    set.pos = set.rows.empty() ? -1 : 0;
}

void GestoreRs::MoveNextRs(const std::string& handle) {
    RecordSet& set = rs(handle);
    if (set.pos < 0) noCurrentRecord();
    set.edit = editstate::None;
    if (++set.pos >= static_cast<long>(set.rows.size())) set.pos = -1;
}

long GestoreRs::NumRecordRs(const std::string& handle) const {
    return static_cast<long>(rs(handle).rows.size());
}

long GestoreRs::PosizioneRs(const std::string& handle) const { return rs(handle).pos; }

Variant GestoreRs::ValoreGrezzoRs(const std::string& handle, const std::string& campo) const {
    return rawValue(rs(handle), campo);
}

Variant GestoreRs::ValoreCampoRs(const std::string& handle, const std::string& campo) const {
    RecordSet& set = rs(handle);
    Variant value = rawValue(set, campo);
    if (value.isNull() || value.isEmpty())
        return emptyValueOf(set.columns[static_cast<std::size_t>(findColumn(set, campo))].kind);
    return value;
}

int GestoreRs::DimCampoRs(const std::string& handle, const std::string& campo) const {
    RecordSet& set = rs(handle);
    return set.columns[static_cast<std::size_t>(findColumn(set, campo))].size;
}

void GestoreRs::EditRs(const std::string& handle) {
    RecordSet& set = rs(handle);
    requireUpdatable(set);
    if (set.pos < 0 || set.pos >= static_cast<long>(set.rows.size())) noCurrentRecord();
    RsRow& row = set.rows[static_cast<std::size_t>(set.pos)];
    // Read again: another record set may have saved this row since it was read here.
    if (!reloadRow(set, row)) raise(errnum::RecordDeleted, "Il record è stato eliminato.");
    set.editRow = row.values;
    clearAssignments(set);
    set.edit = editstate::InProgress;
}

void GestoreRs::AddNewRs(const std::string& handle) {
    RecordSet& set = rs(handle);
    requireUpdatable(set);
    refreshBase(set);
    set.editRow.assign(set.columns.size(), Variant::null());
    clearAssignments(set);
    set.edit = editstate::Add;
}

void GestoreRs::ScriviCampoRs(const std::string& handle, const std::string& campo,
                              const Variant& valore) {
    RecordSet& set = rs(handle);
    if (set.edit == editstate::None)
        raise(errnum::UpdateWithoutEdit, "Aggiornamento senza AddNew o Edit.");
    assert(set.base && "only an updatable record set starts an edit");
    int index = baseColumnFor(set, campo);
    const ColumnInfo& column = set.base->columns[static_cast<std::size_t>(index)];
    set.buffer[static_cast<std::size_t>(index)] = toColumnValue(column, valore);
    set.assigned[static_cast<std::size_t>(index)] = 1;
}

void GestoreRs::UpdateRs(const std::string& handle) {
    RecordSet& set = rs(handle);
    if (set.edit == editstate::None)
        raise(errnum::UpdateWithoutEdit, "Aggiornamento senza AddNew o Edit.");
    refreshBase(set);
    const TableInfo& base = *set.base;
    std::vector<int> written;
    for (std::size_t i = 0; i < set.assigned.size(); ++i)
        if (set.assigned[i]) written.push_back(static_cast<int>(i));

    std::string key(1, set.edit == editstate::InProgress ? 'U' : 'I');
    key.append(set.assigned.begin(), set.assigned.end());
    std::string& sql = set.writeSql[key];
    if (sql.empty()) sql = writeText(base, written, set.edit == editstate::InProgress);
    sqlite3_stmt* stmt = set.conn->prepareNative(sql);
    int position = 1;
    // The buffer stays unchanged until the write below: its texts are bound uncopied.
    for (int i : written) bindValueKept(stmt, position++, set.buffer[static_cast<std::size_t>(i)]);

    if (set.edit == editstate::InProgress) {
        assert(set.pos >= 0 && set.pos < static_cast<long>(set.rows.size()) &&
               "an edit in progress has its current row: moving ends the edit");
        RsRow& row = set.rows[static_cast<std::size_t>(set.pos)];
        sqlite3_bind_int64(stmt, position, row.rowid);
        if (set.conn->runWrite(stmt, "GestoreRs") == 0)
            raise(errnum::RecordDeleted, "Il record è stato eliminato.");
        for (std::size_t c = 0; c < set.columns.size(); ++c) {
            int b = set.columns[c].baseColumn;
            if (b >= 0 && set.assigned[static_cast<std::size_t>(b)])
                row.values[c] = set.buffer[static_cast<std::size_t>(b)];
        }
        // A new value of an INTEGER PRIMARY KEY is the row's new row id.
        if (int alias = rowIdAlias(base);
            alias >= 0 && set.assigned[static_cast<std::size_t>(alias)])
            row.rowid = set.buffer[static_cast<std::size_t>(alias)].toLong();
        set.lastModified = row.rowid;
    } else {
        set.conn->runWrite(stmt, "GestoreRs");
        RsRow row;
        row.rowid = sqlite3_last_insert_rowid(set.conn->db);
        row.loaded = false;  // read when it becomes current: defaults and counters included
        set.rows.push_back(std::move(row));
        set.lastModified = set.rows.back().rowid;
    }
    set.hasLastModified = true;
    set.edit = editstate::None;
}

void GestoreRs::AnnullaEditRs(const std::string& handle) { rs(handle).edit = editstate::None; }

int GestoreRs::StatoEditRs(const std::string& handle) const { return rs(handle).edit; }

void GestoreRs::RiposizionaRs(const std::string& handle) {
    RecordSet& set = rs(handle);
    if (!set.hasLastModified) noCurrentRecord();
    for (std::size_t i = set.rows.size(); i-- > 0;)
        if (set.rows[i].rowid == set.lastModified) {
            set.pos = static_cast<long>(i);
            set.edit = editstate::None;
            return;
        }
    noCurrentRecord();
}

}  // namespace tolvane

// GestoreRs: record sets kept under string handles, read and written by column name, with the
// conversions by declared column type and the system's error numbers.
// Never writes a column that was not assigned, and never gives Null from ValoreCampoRs.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "db/gestore_db.h"
#include "platform/variant.h"

namespace tolvane {

struct RecordSet;

// Record-set types as the callers pass them.
namespace rstype {
constexpr int Dynaset = 2;   // editable and extendable when the query allows it
constexpr int Snapshot = 4;  // read-only
}  // namespace rstype

// Edit state as StatoEditRs gives it.
namespace editstate {
constexpr int None = 0;
constexpr int InProgress = 1;  // EditRs
constexpr int Add = 2;         // AddNewRs
}  // namespace editstate

// Error numbers of record sets besides those of errnum::.
namespace errnum {
constexpr int FieldNotUpdatable = 3164;
constexpr int RecordDeleted = 3167;
constexpr int UpdateWithoutEdit = 3020;
constexpr int ReadOnlyRecordset = 3027;
}  // namespace errnum

class GestoreRs {
  public:
    GestoreRs();
    ~GestoreRs();
    GestoreRs(const GestoreRs&) = delete;
    GestoreRs& operator=(const GestoreRs&) = delete;

    // Opens the SELECT (program dialect) on the database `idDb` of `db` and returns the
    // handle. `handle` non-empty reuses that name (closing what it held); `opzione` and
    // `extra` are kept for the callers' argument lists. Type 2 is editable when the query is
    // on one table, or LEFT JOINs of a base table with description tables; writes then go to
    // the base table by row id. Type 4 is read-only. The whole result is read at open.
    std::string ApriRs(GestoreDb& db, const std::string& idDb, const std::string& handle,
                       const std::string& sql, bool opzione = false, int tipo = rstype::Dynaset,
                       const Variant& extra = {});
    // Points an open handle at a new SELECT on the same database (a pending edit is dropped).
    void RiapriRs(const std::string& handle, const std::string& sql, const Variant& extra = {},
                  int tipo = rstype::Dynaset);
    void ChiudiRs(const std::string& handle);  // unknown handles are ignored
    bool EsisteRs(const std::string& handle) const;

    bool VuotoRs(const std::string& handle) const;
    bool EofRs(const std::string& handle) const;
    void MoveFirstRs(const std::string& handle);
    void MoveNextRs(const std::string& handle);  // raises 3021 past the end
    long NumRecordRs(const std::string& handle) const;
    long PosizioneRs(const std::string& handle) const;  // 0-based, -1 with no current record

    // A column of the current record by "Alias.Column", "Table.Column" or its bare name
    // (caseless). An empty value reads as "" for text and dates, 0 for numbers and Yes/No.
    // During an edit the value assigned so far is read. 3265 unknown column, 3021 no record.
    Variant ValoreCampoRs(const std::string& handle, const std::string& campo) const;
    // As ValoreCampoRs, but an empty column gives Null.
    Variant ValoreGrezzoRs(const std::string& handle, const std::string& campo) const;
    // The column's size: characters for text, bytes for numbers, 0 for memos and expressions.
    int DimCampoRs(const std::string& handle, const std::string& campo) const;

    // Starts editing the current record, read again from the database (3021 none, 3167 gone).
    void EditRs(const std::string& handle);
    // Starts a new record (columns at their defaults).
    void AddNewRs(const std::string& handle);
    // Assigns a column of the record being edited, converted by its declared type from the
    // Italian text forms. "" and Empty are stored as Null ("" for a NOT NULL text column).
    // 3163 text too long, 6 number out of range, 13 not convertible, 3265 unknown column,
    // 3164 not a column of the base table, 3020 no edit in progress.
    void ScriviCampoRs(const std::string& handle, const std::string& campo, const Variant& valore);
    // Stores the record: only the assigned columns are written. A new record joins the set
    // (the current record does not move). 3022, 3314, 3260 (locked by another connection),
    // 3146 raised; the edit then stays open.
    void UpdateRs(const std::string& handle);
    // Drops the pending edit or new record.
    void AnnullaEditRs(const std::string& handle);
    int StatoEditRs(const std::string& handle) const;
    // Makes the record last stored through the handle the current one.
    void RiposizionaRs(const std::string& handle);

  private:
    RecordSet& rs(const std::string& handle) const;
    std::map<std::string, std::unique_ptr<RecordSet>, std::less<>> sets_;
    long nextHandle_ = 0;
};

// A record set opened for one reading and closed however the reading ends.
class ScopedRecordSet {
  public:
    ScopedRecordSet(GestoreRs& rs, GestoreDb& db, const std::string& idDb, const std::string& sql,
                    int tipo = rstype::Snapshot)
        : rs_(rs), handle_(rs.ApriRs(db, idDb, "", sql, false, tipo)) {}
    ~ScopedRecordSet() { rs_.ChiudiRs(handle_); }
    ScopedRecordSet(const ScopedRecordSet&) = delete;
    ScopedRecordSet& operator=(const ScopedRecordSet&) = delete;
    const std::string& handle() const { return handle_; }

  private:
    GestoreRs& rs_;
    std::string handle_;
};

}  // namespace tolvane

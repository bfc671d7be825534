// The shared database services: goDbase, the scoped switch of gsIdDbase, EsisteCampo, the
// opening of the common database from the INI file, and table Appoggio.
// Never shows a window itself: the connection window and messages go through the hooks.
#include "common/db_comune.h"

#include "common/globali.h"
#include "common/ini_programma.h"
#include "db/gestore_rs.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

// Closes a record set however the procedure that opened it ends.
class OpenRecordSet {
  public:
    OpenRecordSet(GestoreRs& rs, const std::string& idDb, const std::string& sql, int tipo)
        : rs_(rs), handle_(rs.ApriRs(goDbase(), idDb, "", sql, false, tipo)) {}
    ~OpenRecordSet() { rs_.ChiudiRs(handle_); }
    OpenRecordSet(const OpenRecordSet&) = delete;
    OpenRecordSet& operator=(const OpenRecordSet&) = delete;
    const std::string& handle() const { return handle_; }

  private:
    GestoreRs& rs_;
    std::string handle_;
};

[[noreturn]] void endProgram(const std::string& message) {
    if (dbComuneHooks().endProgram) dbComuneHooks().endProgram(message);
    // The hook is expected not to return; without one the caller gets the reason.
    throw NumberedError(errnum::DatabaseFailure, message, "ApriDbMenu");
}

std::string commonDatabasePath(const std::string& drive, const std::string& name) {
    bool absolute =
        name.rfind("\\", 0) == 0 || name.rfind("/", 0) == 0 || (name.size() > 1 && name[1] == ':');
    if (absolute || drive.empty()) return name;
    char last = drive.back();
    if (last == '\\' || last == '/') return drive + name;
    return drive + "\\" + name;
}

}  // namespace

GestoreDb& goDbase() {
    static GestoreDb db;
    return db;
}

ScopedCurrentDatabase::ScopedCurrentDatabase(std::string idDb) : previous_(gsIdDbase) {
    gsIdDbase = std::move(idDb);
}

ScopedCurrentDatabase::~ScopedCurrentDatabase() { gsIdDbase = std::move(previous_); }

bool EsisteCampo(const std::string& tabella, const std::string& campo, const std::string& idDb) {
    try {
        if (!goDbase().EsisteConnessione(idDb)) return false;
        const TableInfo* table = goDbase().Schema(idDb).table(tabella);
        return table && table->column(campo);
    } catch (const std::exception&) {
        return false;
    }
}

DbComuneHooks& dbComuneHooks() {
    static DbComuneHooks hooks;
    return hooks;
}

void ApriDbMenu() {
    std::string name, drive, connect;
    LeggiIni("Menu", "NomeDB", "", name);
    LeggiIni("Menu", "DriveDB", "", drive);
    LeggiIni("Menu", "Connect", "", connect);
    if (name.empty())
        endProgram(
            "Manca il database comune (sezione Menu, chiave NomeDB) nel file ini. "
            "Sistemare e rieseguire");

    DbComuneHooks& hooks = dbComuneHooks();
    if (hooks.showConnectionWindow) hooks.showConnectionWindow("Connessione database Comune");
    std::string id = goDbase().ApriConnessione(commonDatabasePath(drive, name), connect);
    if (hooks.hideConnectionWindow) hooks.hideConnectionWindow();
    if (id.rfind("Err: ", 0) == 0) endProgram(id.substr(5));
    gsConnDbMenu = id;
}

void LeggiScriviAppoggio(const std::string& psCodice, int piN, std::string& psMemo, bool pbScrivi,
                         bool pbMessaggio, std::string& psDescr, bool pbConDescr) {
    if (piN < 1 || piN > 5) {
        psMemo.clear();
        psDescr.clear();
        return;
    }
    DbComuneHooks& hooks = dbComuneHooks();
    std::string memoColumn = "Memo" + std::to_string(piN);
    std::string descrColumn = "Descr" + std::to_string(piN);
    try {
        GestoreRs rs;
        std::string sql =
            "Select * from Appoggio Where Codice = " + goLibGen().ValoreSql(Variant(psCodice), 8);
        OpenRecordSet set(rs, gsConnDbMenu, sql, pbScrivi ? rstype::Dynaset : rstype::Snapshot);
        const std::string& h = set.handle();
        if (!pbScrivi) {
            if (rs.VuotoRs(h)) {
                psMemo.clear();
                psDescr.clear();
                if (pbMessaggio && hooks.showMessage) hooks.showMessage("Dati non trovati");
                return;
            }
            psDescr = rs.ValoreCampoRs(h, descrColumn).text();
            psMemo = rs.ValoreCampoRs(h, memoColumn).text();
            return;
        }
        if (rs.VuotoRs(h)) {
            rs.AddNewRs(h);
            rs.ScriviCampoRs(h, "Codice", Variant(psCodice));
        } else {
            rs.EditRs(h);
        }
        rs.ScriviCampoRs(h, memoColumn, Variant(psMemo));
        if (pbConDescr) rs.ScriviCampoRs(h, descrColumn, Variant(psDescr));
        rs.UpdateRs(h);
    } catch (const NumberedError& e) {
        if (hooks.showMessage)
            hooks.showMessage("Errore(" + std::to_string(e.number()) + "): " + e.description());
    }
}

}  // namespace tolvane

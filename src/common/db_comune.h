// The database services every window shares: the program-wide GestoreDb, the scoped switch of
// the current database, column tests, the common database's opening and table Appoggio.
// Never leaves gsIdDbase switched after the scope that switched it.
#pragma once

#include <functional>
#include <string>

#include "db/gestore_db.h"

namespace tolvane {

// The program-wide GestoreDb, created on first use and kept.
GestoreDb& goDbase();

// Makes another database current (gsIdDbase) for one scope and always puts the previous
// identifier back, also when the scope ends by an error or a stop.
class ScopedCurrentDatabase {
  public:
    explicit ScopedCurrentDatabase(std::string idDb);
    ~ScopedCurrentDatabase();
    ScopedCurrentDatabase(const ScopedCurrentDatabase&) = delete;
    ScopedCurrentDatabase& operator=(const ScopedCurrentDatabase&) = delete;

  private:
    std::string previous_;
};

// True when the table of the database `idDb` has that column; anything missing gives False
// and reports nothing.
bool EsisteCampo(const std::string& tabella, const std::string& campo, const std::string& idDb);

// What the window layer provides to these services; each hook may be left unset.
struct DbComuneHooks {
    std::function<void(const std::string& caption)> showConnectionWindow;
    std::function<void()> hideConnectionWindow;
    std::function<void(const std::string& message)> endProgram;   // must not return normally
    std::function<void(const std::string& message)> showMessage;  // single "&Ok" button
};
DbComuneHooks& dbComuneHooks();

// Opens the common database from INI section "Menu" (NomeDB, DriveDB, Connect) and sets
// gsConnDbMenu. Missing INI data, or a database that does not open, end the program.
void ApriDbMenu();

// Reads (pbScrivi False) or writes the n-th memo and description (n 1..5) of the record of
// table Appoggio whose Codice is psCodice, on the common database. Errors are shown.
void LeggiScriviAppoggio(const std::string& psCodice, int piN, std::string& psMemo, bool pbScrivi,
                         bool pbMessaggio, std::string& psDescr, bool pbConDescr);

}  // namespace tolvane

// Opening a company database for a window that edits it: the connection, its identifier and
// the decoding service on it. Shows its own message on failure; never closes a window.
#pragma once

#include <string>

namespace tolvane {

// Opens the company database (WAL) and makes goDecodifiche work on it. On success the window's
// previous company database is closed and osIdDbase names the new one; on failure the message
// "Impossibile aprire il database dell'azienda" is shown and nothing changes.
bool ApriDbAzienda(const std::string& psNomeDb, const std::string& psConnect,
                   const std::string& psPwd, std::string& osIdDbase);

// Releases goDecodifiche when it works on the window's company database: a window never takes
// the decoding service away from another window's database.
void RilasciaDecodifiche(const std::string& osIdDbase);

}  // namespace tolvane

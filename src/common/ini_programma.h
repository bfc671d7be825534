// The program's INI read and write services: the terminal INI gsFileIni, then the INI common to
// all terminals gsFileIniComune. Never shows a window itself: messages go through a hook.
#pragma once

#include <functional>
#include <string>

namespace tolvane {

// Reads the key into valore: from the terminal INI when it holds the key, else from the common
// INI, else the default. Paths written the Windows way are mapped as mapWindowsPath does.
void LeggiIni(const std::string& sezione, const std::string& chiave, const std::string& predefinito,
              std::string& valore);

// Writes chiave = valore, or deletes the key (cancellaChiave) or the whole section
// (cancellaSezione, chiave and valore ignored). The file is psFile when given; otherwise the
// file that already holds the key (the section, for a section delete), the terminal INI first;
// a key held by neither goes to the common INI when livello is 2, else to the terminal INI.
// Without a common INI everything goes to the terminal INI.
// Returns false when the write failed; with messaggio the failure is also shown through the
// message hook with a text ending "NON RIUSCITO." (suona is handed to the hook).
bool ScriviIni(const std::string& sezione, const std::string& chiave, const std::string& valore,
               bool messaggio = false, bool suona = false, int livello = 0,
               bool cancellaSezione = false, bool cancellaChiave = false,
               const std::string& psFile = {});

// gdRisVidStampa from section "Risoluzione Video", key "StaVid" (decimal comma): at start-up and
// again whenever the company-data window opens a company database.
void LeggiRisVidStampa();

// Set by the window layer; by default failures are not shown.
using IniMessageHook = std::function<void(const std::string& text, bool beep)>;
void setIniMessageHook(IniMessageHook hook);

}  // namespace tolvane

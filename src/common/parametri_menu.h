// The menu server's named values and personal settings as every window reads them.
// Goes only through goMenuClient; never reads the settings table itself.
#pragma once

#include <string>

#include "platform/variant.h"

namespace tolvane {

// The working value `psNome`; a failure of the menu server reaches the caller.
Variant LeggiParametro(const std::string& psNome);
void ScriviParametro(const std::string& psNome, const Variant& pvValore);

// "Personal." + section + ".§" + key, or the default when nobody stored it (or no menu runs).
std::string LeggiPersonal(const std::string& psSezione, const std::string& psChiave,
                          const std::string& psDefault);

// The menu's "OSPlatform" value (2: the NT family).
Variant LeggiOSPlatform();

// The terminal-server session and its client name: there are no such sessions here, so always
// session 0 and an empty name, as when the sessions cannot be listed.
long NomeClientTerminale(std::string& psNomeClient);

}  // namespace tolvane

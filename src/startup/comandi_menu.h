// The dispatcher of the menu server's EseguiComando: "fine", "esiste", "ritornoa", "attiva",
// "preppassaa", "passaa" and the commands that windows take by name ("keyprgprim",
// "keyprgsec", "paramprgclie", "comandoprgclie", "FEInvio", "FEAttesa"). Never raises: a
// failure of a window's member is shown and the command ends.
#pragma once

#include <string>

#include "platform/variant.h"

namespace tolvane {

void EseguiComando(const std::string& psIdMenu, const std::string& psKeySec,
                   const std::string& psCom, Variant& pvParam, Variant& pvRitComando);

// The answer to "fine" while a modal window is up.
inline const std::string kMascheraModal = "Maschera Modal";

}  // namespace tolvane

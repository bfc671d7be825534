// The customer e-mail look-up of the print options dialog: F2 to F5 in the temporary recipient
// field lists the accounts with their four e-mail addresses and puts the chosen one there.
// Never changes an account and never runs without an open company database.
#pragma once

#include <string>

#include "platform/variant.h"

namespace tolvane {

class FrmSceltaStam;

// The address chosen for txt(piIndice) of the dialog, "" when nothing was chosen (the field is
// then left as it was). With piNoScrivi 0 the field receives the address. piColonna comes back
// with the e-mail column (1 to 4) that the user picked, else 0. Keys other than F2 to F5, or no
// open company database (goDecodifiche), run no look-up. pvChiave and piShift are not used.
std::string CercaEmailCliente(FrmSceltaStam& pfrmStampa, int piIndice, int piKeyCode, int piShift,
                              const Variant& pvChiave, int piNoScrivi, int& piColonna);

// The default e-mail column (1 to 4) that the personal setting EmailPredef (section StAltro)
// names, by number or by word.
int ColonnaEmailPredefinita(const std::string& psEmailPredef);

}  // namespace tolvane

// The print folder: where the PDF that an e-mail carries is kept (the engine writes it there,
// MotoreStampaLista::savePdfInFolder). Never writes a file itself.
#pragma once

#include <string>

namespace tolvane {

class OpzStampa;

// The folder prints are kept in: that of PdfNomeFile, else PathDefault, else
// $XDG_DATA_HOME/tolvane/stampe (~/.local/share/tolvane/stampe), made when missing.
std::string printFolder(const OpzStampa& options);

}  // namespace tolvane

// The print's PDF that an e-mail carries, kept in the print folder. Until the engine draws its
// pages as PDF itself, the file is made from the engine's PostScript by the system's ps2pdf.
// Never writes over an existing file and leaves nothing half-written behind.
#pragma once

#include <string>

namespace tolvane {

class OpzStampa;

// The folder prints are kept in: that of PdfNomeFile, else PathDefault, else
// $XDG_DATA_HOME/tolvane/stampe (~/.local/share/tolvane/stampe), made when missing.
std::string printFolder(const OpzStampa& options);

// Writes the PostScript document as a PDF into the print folder under a name made from the
// title, the date and the time; its path. Raises a NumberedError when it cannot.
std::string writePrintPdf(const std::string& postScript, const OpzStampa& options,
                          const std::string& title);

}  // namespace tolvane

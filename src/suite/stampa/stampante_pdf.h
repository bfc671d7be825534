// Which printer is the PDF printer: the one rule that the print options dialog and the print
// engine share, and the settings the engine needs to write the PDF itself. Never prints.
#pragma once

#include <string>

namespace tolvane {

// "PDFCreator" when usaPdfCreator is "S", else "PDF995" when usaPdf995 is "S" (caseless);
// "" when neither: there is no PDF printer.
std::string pdfPrinterWord(const std::string& usaPdfCreator, const std::string& usaPdf995);
// A printer is the PDF printer when its name holds the word, case ignored.
bool isPdfPrinter(const std::string& printer, const std::string& word);

struct PdfPrinterSettings {
    std::string word;      // as pdfPrinterWord gives it
    std::string fileName;  // PdfNomeFile: the PDF goes into its folder
    bool open = false;     // CreatorAutosaveStart "S": the desktop's viewer opens it
};

// From the menu's named values; no PDF printer when there is no menu client.
PdfPrinterSettings pdfPrinterSettings();

}  // namespace tolvane

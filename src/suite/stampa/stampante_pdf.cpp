// The PDF printer rule, read from the menu's named values.
// Never looks at the installed printers: the callers match their own names against the word.
#include "suite/stampa/stampante_pdf.h"

#include "platform/text.h"
#include "suite/menu/menu_client.h"

namespace tolvane {

std::string pdfPrinterWord(const std::string& usaPdfCreator, const std::string& usaPdf995) {
    if (equalText(usaPdfCreator, "S")) return "PDFCreator";
    if (equalText(usaPdf995, "S")) return "PDF995";
    return {};
}

bool isPdfPrinter(const std::string& printer, const std::string& word) {
    return !word.empty() && InStr(1, printer, word) > 0;
}

PdfPrinterSettings pdfPrinterSettings() {
    PdfPrinterSettings settings;
    if (!goMenuClient) return settings;
    auto value = [](const char* name) { return goMenuClient->Parametro(name).text(); };
    settings.word = pdfPrinterWord(value("UsaPdfCreator"), value("UsaPdf995"));
    settings.fileName = value("PdfNomeFile");
    settings.open = equalText(value("CreatorAutosaveStart"), "S");
    return settings;
}

}  // namespace tolvane

// The list component's print side: the "Stampa" key, the columns chosen for a print, and the
// print object's run of the engine with the print-running flag held up around it.
// Never leaves the flag up after a print, whatever way the print ends.
#include "suite/lista/vedrix_lista.h"

#include "platform/numbered_error.h"
#include "platform/printer_system.h"
#include "platform/text.h"
#include "ui/control.h"
#include "ui/form.h"

namespace tolvane {

namespace {

// Holds the print-running flag up for the length of a print.
class RunningPrint {
  public:
    RunningPrint(bool& running, const std::function<void(int)>& flag)
        : running_(running), flag_(flag) {
        running_ = true;
        if (flag_) flag_(1);
    }
    ~RunningPrint() {
        running_ = false;
        if (flag_) flag_(0);
    }
    RunningPrint(const RunningPrint&) = delete;
    RunningPrint& operator=(const RunningPrint&) = delete;

  private:
    bool& running_;
    const std::function<void(int)>& flag_;
};

}  // namespace

bool StampaLista::AvviaStampa(ui::Font& pgFont, int piOrientamento, const std::string& psTipo) {
    if (running_) {
        throw NumberedError(errnum::InvalidCall, "Si può lanciare solo una stampa alla volta",
                            "VedrixLista");
    }
    if (!ogOpzSta) {
        throw NumberedError(errnum::ObjectRequired, "Opzioni di stampa assenti", "VedrixLista");
    }
    PageSetup setup;
    setup.landscape = piOrientamento == 2;
    setup.font.family = pgFont.name;
    setup.font.size = pgFont.size > 0 ? pgFont.size : 10;
    setup.font.bold = pgFont.bold;
    setup.font.italic = pgFont.italic;
    RunningPrint running(running_, lista_.oiStaAtt);
    engine_ = std::make_shared<MotoreStampaLista>(ogOpzSta, lista_.listToPrint(psTipo), setup);
    engine_->preview = ofrmVStampa;
    engine_->progress = ofrmStampaInCorso;
    engine_->printerName = (ogPrtStam != nullptr ? *ogPrtStam : Printer()).DeviceName();
    engine_->pdfPrinter = pdfPrinterSettings();
    engine_->columnKinds = lista_.kindsToPrint(psTipo);
    return engine_->Esegui();
}

bool VedrixLista::pressKey(std::string_view key) {
    if (!equalText(key, "Stampa") || !dialog_) return false;
    ListPrintDialog* dialog = dialog_();
    if (dialog == nullptr) return false;
    dialog->ogVedrix(this);
    dialog->window().show();
    return true;
}

std::vector<std::size_t> VedrixLista::columnsToPrint(const std::string& psTipo) const {
    const bool all = equalText(psTipo, "T");
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (all || columns[i].visible) chosen.push_back(i);
    }
    return chosen;
}

std::vector<ListColumnKind> VedrixLista::kindsToPrint(const std::string& psTipo) const {
    std::vector<ListColumnKind> kinds;
    for (std::size_t i : columnsToPrint(psTipo)) kinds.push_back(columns[i].kind);
    return kinds;
}

PrintList VedrixLista::listToPrint(const std::string& psTipo) const {
    PrintList list;
    list.title = title;
    const std::vector<std::size_t> chosen = columnsToPrint(psTipo);
    for (std::size_t i : chosen) list.captions.push_back(columns[i].caption);
    for (const auto& row : rows) {
        std::vector<std::string> cells;
        for (std::size_t i : chosen) cells.push_back(i < row.size() ? row[i] : std::string());
        list.rows.push_back(std::move(cells));
    }
    return list;
}

}  // namespace tolvane

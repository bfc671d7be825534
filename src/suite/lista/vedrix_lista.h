// The least of the list-editing component VedrixLista that printing a list needs: the list's
// columns and rows, its print object ogSta, and the "Stampa" key that shows the list print
// dialog. Never lays a page out nor shows a message: the engine prints, the dialog reports.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "suite/stampa/motore_stampa_lista.h"

namespace tolvane {

namespace ui {
class Form;
struct Font;
}  // namespace ui
class CurrentPrinter;
class OpzStampa;
class VedrixLista;

// The list print dialog as the list component sees it; the dialog window implements it.
class ListPrintDialog {
  public:
    virtual ~ListPrintDialog() = default;
    virtual ui::Form& window() = 0;
    // The list to print, set before the dialog is shown; cleared by the dialog once it printed.
    virtual void ogVedrix(VedrixLista* pgVedrix) = 0;
};

// The list's print object: what one print needs, set by the dialog, and the run itself.
class StampaLista {
  public:
    explicit StampaLista(VedrixLista& lista) : lista_(lista) {}

    PrintPreviewWindow* ofrmVStampa = nullptr;
    PrintProgressWindow* ofrmStampaInCorso = nullptr;
    CurrentPrinter* ogPrtStam = nullptr;
    std::shared_ptr<OpzStampa> ogOpzSta;

    // Prints the list where the options say: piOrientamento 1 portrait, 2 landscape, -1 not
    // chosen (portrait); psTipo "T" every column, "V" or "" the visible ones. The print-running
    // flag is up, through the owner's oiStaAtt, for as long as the engine runs. False when the
    // user stopped it; a NumberedError when it could not be made or another print is running.
    bool AvviaStampa(ui::Font& pgFont, int piOrientamento, const std::string& psTipo);
    bool running() const { return running_; }
    // The engine of the last print (the preview may still be paging it).
    const std::shared_ptr<MotoreStampaLista>& engine() const { return engine_; }

  private:
    VedrixLista& lista_;
    bool running_ = false;
    std::shared_ptr<MotoreStampaLista> engine_;
};

class VedrixLista {
  public:
    struct Column {
        std::string caption;
        bool visible = true;
        // The kind of the field the column shows; Unknown: its values tell.
        ListColumnKind kind = ListColumnKind::Unknown;
    };

    VedrixLista() = default;
    VedrixLista(const VedrixLista&) = delete;
    VedrixLista& operator=(const VedrixLista&) = delete;

    // The list as the grid shows it; the owner window keeps it current.
    std::vector<Column> columns;
    std::vector<std::vector<std::string>> rows;
    // The print's name (section of its saved option sets) and the title on its pages.
    std::string printName;
    std::string title;

    // The owner's print-running property oiStaAtt (1 while a print runs, 0 after).
    std::function<void(int)> oiStaAtt;

    StampaLista ogSta{*this};

    // The list print dialog the owner hands over at its load, reached afresh at each use as a
    // default instance is: a dialog closed with its exit button comes back as a new one. (The
    // dialog takes the print-in-progress window's default instance for each print.)
    void setPrintDialog(std::function<ListPrintDialog*()> dialog) { dialog_ = std::move(dialog); }

    // A toolbar key of the list; "Stampa" shows the list print dialog for this list. False for
    // a key this component does not handle, or when no dialog was handed over.
    bool pressKey(std::string_view key);

    // Called by the dialog's print button: hands the print to ogSta.
    bool AvviaStampa(ui::Font& pgFont, int piOrientamento, const std::string& psTipo) {
        return ogSta.AvviaStampa(pgFont, piOrientamento, psTipo);
    }

    // The list cut to the columns of psTipo ("T" all, otherwise the visible ones).
    PrintList listToPrint(const std::string& psTipo) const;
    // The kinds of those columns, in the same order.
    std::vector<ListColumnKind> kindsToPrint(const std::string& psTipo) const;

  private:
    std::vector<std::size_t> columnsToPrint(const std::string& psTipo) const;

    std::function<ListPrintDialog*()> dialog_;
};

}  // namespace tolvane

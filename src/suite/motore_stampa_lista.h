// Our print engine for the lists: lays a list's captions and rows out into pages of fixed-pitch
// text and sends them to a printer (a PostScript file handed to the print queue), to a file
// (separated or fixed-format text) or into the on-screen preview page by page. Never shows a
// message: a failure is raised to the print object that started it, with nothing left behind.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "suite/invio_email.h"
#include "suite/motore_stampa.h"

namespace tolvane {

namespace ui {
class Form;
}
class OpzStampa;

// The list as it is printed: the captions, and the rows' texts in the same column order.
struct PrintList {
    std::string title;
    std::vector<std::string> captions;
    std::vector<std::vector<std::string>> rows;
};

// One laid-out page: lines of fixed-pitch text.
using PrintPage = std::vector<std::string>;

// An A4 sheet with margins of half an inch, written in a fixed-pitch font whose characters are
// 0.6 of its size wide and whose lines stand 1.2 of its size apart.
struct PageSetup {
    bool landscape = false;
    double fontSize = 10;

    double widthPoints() const { return landscape ? 842 : 595; }
    double heightPoints() const { return landscape ? 595 : 842; }
    int columns() const;
    int lines() const;
};

// Each page opens with the title and the page number, the captions and a rule; columns are as
// wide as their widest text, narrowed (widest first, down to 3 characters) to fit the line.
// An empty list still gives one page, with its headings.
std::vector<PrintPage> layOutList(const PrintList& list, int columns, int lines);
// Captions then rows, one line each. Every field is enclosed in the qualifier, a qualifier inside
// a field is doubled; with no qualifier a separator inside a field becomes a blank, so that
// the columns stay apart. Line breaks inside a field become blanks.
std::string separatedText(const PrintList& list, const std::string& separator,
                          const std::string& qualifier);
// A PostScript document of the pages in a Latin-1 fixed-pitch font, on A4 sheets held upright
// (landscape pages turned on them).
std::string postScriptDocument(const std::vector<PrintPage>& pages, const PageSetup& setup,
                               const std::string& title);
// Fixed-format text: each page exactly FisRighe lines, with FisMrAlt blank lines above and at
// least FisMrBas below, lines cut to FisColonne characters, and with FisUtilComp the
// compressed-print sequences before and after it all, as typed.
std::string fixedFormatText(const std::vector<PrintPage>& pages, const OpzStampa& options);

// The engine as the preview drives it: the page bookkeeping that the preview writes back.
class PagedPrintEngine : public MotoreStampa {
public:
    using MotoreStampa::FinestraStampa;
    using MotoreStampa::MemorizzaPagine;
    using MotoreStampa::PaginaCorrente;
    using MotoreStampa::StampaInterrotta;
    using MotoreStampa::UltimaPagina;
    using MotoreStampa::UltimaPaginaSalvata;
    virtual void PaginaCorrente(long plPagina) = 0;
    virtual void UltimaPagina(long plPagina) = 0;
    virtual void StampaInterrotta(bool pbInterrotta) = 0;
    virtual void MemorizzaPagine(bool pbMemorizza) = 0;
    virtual void UltimaPaginaSalvata(long plPagina) = 0;
    virtual void FinestraStampa(ui::Form* pfrmFinestra) = 0;
};

// What the engine calls of the preview window; its controls it reaches by name ("PicSec",
// "LabMsg", "labPage", "imaMuovi").
class PrintPreviewWindow {
public:
    virtual ~PrintPreviewWindow() = default;
    virtual ui::Form& window() = 0;
    virtual void ogStampa(std::shared_ptr<PagedPrintEngine> pgStampa) = 0;
    virtual void Continua() = 0;
    virtual void SistImgFrecce() = 0;
};

// What the engine calls of the print-in-progress window; the page counter is its "LblPag". It
// is also the print side that an e-mail's settings and login come from.
class PrintProgressWindow : public EmailPrintSide {
public:
    virtual ~PrintProgressWindow() = default;
    virtual ui::Form& window() = 0;
    virtual void ogStampa(std::shared_ptr<MotoreStampa> pgStampa) = 0;
};

class MotoreStampaLista final : public PagedPrintEngine,
                                public std::enable_shared_from_this<MotoreStampaLista> {
public:
    MotoreStampaLista(std::shared_ptr<OpzStampa> options, PrintList list, PageSetup setup);

    // The windows it drives; either may be missing (no preview: a video print is refused).
    PrintPreviewWindow* preview = nullptr;
    PrintProgressWindow* progress = nullptr;
    // The queue name a printer destination goes to (the program's current printer).
    std::string printerName;

    // Produces the print where the options say (a print marked EmailInvia goes out by e-mail).
    // False when the user stopped it; raises a NumberedError when it cannot be produced or
    // sent, leaving no file of its own behind but the PDF an e-mail carries.
    bool Esegui();
    // Pages the last run laid out (all of them, whatever the page range).
    int pageCount() const { return pageCount_; }

    void InterrompiStampa(int piCodice) override;
    OpzStampa* OpzioniMotore() override { return options_.get(); }
    std::string PercorsoFilePagine() const override;
    ui::Form* FinestraStampa() override { return finestra_; }
    long PaginaCorrente() const override { return paginaCorrente_; }
    long UltimaPagina() const override { return ultimaPagina_; }
    bool StampaInterrotta() const override { return interrotta_; }
    bool MemorizzaPagine() const override { return memorizza_; }
    long UltimaPaginaSalvata() const override { return ultimaSalvata_; }
    std::string IdFilePagine() const override { return id_; }
    void PaginaCorrente(long plPagina) override { paginaCorrente_ = plPagina; }
    void UltimaPagina(long plPagina) override { ultimaPagina_ = plPagina; }
    void StampaInterrotta(bool pbInterrotta) override { interrotta_ = pbInterrotta; }
    void MemorizzaPagine(bool pbMemorizza) override { memorizza_ = pbMemorizza; }
    void UltimaPaginaSalvata(long plPagina) override { ultimaSalvata_ = plPagina; }
    void FinestraStampa(ui::Form* pfrmFinestra) override { finestra_ = pfrmFinestra; }

private:
    bool suStampante();
    bool suFile();
    bool aLunghezzaFissa();
    bool aVideo();
    bool inviaPerEmail();
    // First and last page of the options' range within n pages; first > last: none.
    void rangeOf(int n, int& first, int& last) const;
    // Shows the page number in the progress window and lets the stop button through;
    // true when the print is to stop.
    bool progressStep(int page);
    // The pages of the print's range, counted on the progress window (left up); false, with
    // the window down, when the user stopped the print meanwhile.
    bool pagesOfRange(const std::vector<PrintPage>& pages, std::vector<PrintPage>& chosen);
    void showProgress();
    void hideProgress();
    void drawPage(const PrintPage& page);

    std::shared_ptr<OpzStampa> options_;
    PrintList list_;
    PageSetup setup_;
    int pageCount_ = 0;
    bool stop_ = false;
    long paginaCorrente_ = 1;
    long ultimaPagina_ = 1;
    bool interrotta_ = false;
    bool memorizza_ = false;
    long ultimaSalvata_ = 0;
    std::string id_;
    ui::Form* finestra_ = nullptr;
};

}  // namespace tolvane

// Our print engine for the lists: draws a list's pages (ListPageDrawing) and sends them to a
// printer as a PDF job, to the PDF printer's folder, into the preview page by page, or writes the
// list to a file (separated text or a workbook) or as fixed-format text. Never shows a message:
// failures are raised with nothing left behind, what it wrote otherwise is left in its notice.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "output/list_page_drawing.h"
#include "output/list_values.h"
#include "suite/invio_email.h"
#include "suite/motore_stampa.h"
#include "suite/stampante_pdf.h"

namespace tolvane {

namespace ui {
class Form;
}
class OpzStampa;
class SaveFile;

// One page of fixed-format text: its lines.
using PrintPage = std::vector<std::string>;

// Fixed-format pages: each opens with the title and the page number, the captions and a rule;
// columns are as wide as their widest text, narrowed (widest first, down to 3 characters) to fit
// the line. An empty list still gives one page, with its headings.
std::vector<PrintPage> layOutList(const PrintList& list, int columns, int lines);
// Captions then rows, one line each, every value as it is. Every field is enclosed in the
// qualifier, a qualifier inside a field doubled; with no qualifier a field that holds the
// separator, a double quote or a line end is enclosed in double quotes (doubled inside), so that
// the columns stay apart and each value reads back whole.
std::string separatedText(const PrintList& list, const std::string& separator,
                          const std::string& qualifier);
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
    // Enables the preview's arrows that can move from the page it shows, disables the others
    // and has it draw them: after each page drawn, and after each move of the preview's own.
    virtual void enableArrows() = 0;
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

// What the engine calls of the print-in-progress window; the page counter is its "LblPag",
// captioned by "LblPrePag", and while an e-mail goes the two say where to. It is also the print
// side that an e-mail's settings and login come from.
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
    // A print to the PDF printer is written as a PDF into the folder of its file name.
    PdfPrinterSettings pdfPrinter;
    // Opens a PDF written for the PDF printer with the desktop's viewer (when it is asked to).
    std::function<void(const std::string&)> openViewer;
    // The kinds of the list's columns as the list knows them (Unknown, or none: read from the
    // values); files and workbooks type each column by its kind.
    std::vector<ListColumnKind> columnKinds;

    // Produces the print where the options say (a print marked EmailInvia goes out by e-mail).
    // False when the user stopped it; raises a NumberedError when it cannot be produced or
    // sent, leaving no file of its own behind but the PDF an e-mail carries.
    bool Esegui();
    // Pages the last run laid out (all of them, whatever the page range).
    int pageCount() const { return pageCount_; }
    // The print's PDF: the pages of the chosen range, as every destination draws them, written
    // whole at path. False when the user stopped it; raises as Esegui does.
    bool savePdf(const std::string& path);
    // The same into folder, named from the title, date and time and never over an existing
    // file (as on the PDF printer); its path, "" when the user stopped it.
    std::string savePdfInFolder(const std::string& folder);
    // The file the last print to the PDF printer wrote ("" when none).
    const std::string& pdfScritto() const { return pdfScritto_; }
    // What the last print wrote otherwise than the list holds it (values cut to fit a workbook
    // cell), for the user at its end; "" when it wrote everything as it is.
    const std::string& notice() const { return notice_; }

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
    void enableArrows() override;

  private:
    class ProgressShown;

    bool suStampante();
    std::string pdfInFolder(const ListPageDrawing& drawing, int first, int last,
                            const std::string& folder);
    bool suFile();
    bool aLunghezzaFissa();
    bool aVideo();
    // The sheet of the chosen paper of the print's printer in the chosen orientation.
    PageSetup pageSetup();
    bool inviaPerEmail();
    // Records the print's n pages and gives the first and last of the options' range within
    // them; raises when none is in it.
    void rangeOf(int n, int& first, int& last);
    // Shows the page number (0: none) in the progress window and lets the stop button through;
    // true when the print is to stop.
    bool progressStep(int page = 0);
    // The pages first to last as a PDF into file, counted on the progress window; false when
    // the user stopped it (nothing is committed then).
    bool writePdf(const ListPageDrawing& drawing, int first, int last, SaveFile& file);
    // The pages whole at `path`, or nothing there when the print is stopped.
    bool writePdfFile(const ListPageDrawing& drawing, int first, int last, const std::string& path);
    void drawPage(const ListPageDrawing& drawing, int page);

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
    int primaVideo_ = 1;        // first page of the range on screen
    bool videoFinito_ = false;  // its last page drawn: the engine draws no more
    std::string id_;
    std::string pdfScritto_;
    std::string notice_;
    int progressShown_ = 0;
    ui::Form* finestra_ = nullptr;
};

}  // namespace tolvane

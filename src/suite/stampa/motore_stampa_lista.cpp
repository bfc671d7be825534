// The list engine's runs: to the printer through the print queue, to the PDF printer's folder,
// to a file, to a fixed-format file or device, into the preview page by page. Files are written
// whole (SaveFile), so that a failed or stopped print leaves no partial file behind.
#include "suite/stampa/motore_stampa_lista.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "output/messaggio_email.h"
#include "output/page_output.h"
#include "output/workbook_writer.h"
#include "platform/numbered_error.h"
#include "platform/path_map.h"
#include "platform/print_server_waits.h"
#include "platform/printer_system.h"
#include "platform/save_file.h"
#include "platform/scope_guard.h"
#include "platform/text.h"
#include "platform/utf8_check.h"
#include "suite/libgenerale/lib_generale.h"
#include "suite/opzioni/opz_stampa.h"
#include "suite/stampa/invio_email.h"
#include "suite/stampa/pdf_stampa.h"
#include "suite/stampanti/print_queue.h"
#include "ui/controls.h"
#include "ui/desktop.h"

namespace tolvane {

namespace {

constexpr const char* kSource = "MotoreStampaLista";
constexpr int kPrinterError = 482;
constexpr int kNoPrinter = 484;
constexpr double kTwipsPerPoint = 20;

// A file of its own in the temporary folder, removed when it goes out of scope.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& suffix) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / ("tolvane-stampa-XXXXXX" + suffix)).string();
        int fd = mkstemps(pattern.data(), static_cast<int>(suffix.size()));
        if (fd < 0) {
            throw NumberedError(errnum::FileAccess, "Impossibile creare il file di stampa",
                                kSource);
        }
        close(fd);
        path_ = pattern;
    }
    ~TemporaryFile() {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

void writeFileWhole(const std::string& target, const std::string& content) {
    SaveFile::Options options;
    options.source = kSource;
    saveFile(target, content, options);
}

// A printer not found because the print server does not answer is not said to be missing.
void throwIfServerSilent() {
    const std::string server = printerSystem().silentServer();
    if (!server.empty()) throw NumberedError(kPrinterError, silentServerText(server), kSource);
}

// False when the user stopped the print while the server kept it waiting.
bool submit(const PrintJob& job) {
    std::string error;
    const Submitted submitted = printQueue().submit(job, error);
    if (submitted == Submitted::Refused) throw NumberedError(kPrinterError, error, kSource);
    return submitted == Submitted::Accepted;
}

// The list with its number columns' values without their display format.
PrintList withPlainNumbers(const PrintList& list, const std::vector<ListColumnKind>& known) {
    PrintList plain = list;
    const std::vector<ListColumnKind> kinds = listColumnKinds(list, known);
    for (auto& row : plain.rows) {
        for (std::size_t c = 0; c < row.size() && c < kinds.size(); ++c) {
            if (kinds[c] == ListColumnKind::Number) row[c] = plainNumberText(row[c]);
        }
    }
    return plain;
}

// A value that is not UTF-8 (another program may write any bytes into a database) is read as
// Windows-1252, the encoding of the suite's files, which gives every byte a character. Done here
// once for every output: pages, PDF, printers, text files and workbooks all get valid text.
void readAsText(std::string& value) {
    if (!isValidUtf8(value)) value = fromWindows1252(value);
}

std::string threeDigits(long n) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%03ld", n);
    return buffer;
}

std::string nextId() {
    static std::atomic<long> counter{0};
    return std::to_string(getpid()) + "-" + std::to_string(++counter) + "-";
}

template <class T>
T* control(ui::Form& form, const char* name, int index = -1) {
    return dynamic_cast<T*>(form.findControl(name, index));
}

}  // namespace

namespace {

// A name for the print's PDF: the print's title as an attachment is named, with the date and
// time of the print.
std::string pdfBaseName(const std::string& title) {
    std::string base = attachmentNameFor(title);
    base.resize(base.size() - 4);  // ".pdf"
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char when[32];
    std::strftime(when, sizeof when, "_%Y%m%d_%H%M%S", &local);
    return base + when;
}

// The folder the PDF printer's files go to: PdfNomeFile itself when it is a folder, else the
// folder it names a file in.
std::string pdfFolder(const std::string& fileName) {
    if (Trim(fileName).empty()) return {};
    std::string path = mapWindowsPath(Trim(fileName));
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec) || path.back() == '/') return path;
    std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// Hands the file to the desktop's viewer, when the desktop has one, without waiting for it.
void openWithDesktop(const std::string& path) {
    const char* paths = std::getenv("PATH");
    bool found = false;
    for (std::string rest = paths != nullptr ? paths : ""; !found && !rest.empty();) {
        const auto colon = rest.find(':');
        const std::string dir = rest.substr(0, colon);
        found = !dir.empty() && ::access((dir + "/xdg-open").c_str(), X_OK) == 0;
        rest = colon == std::string::npos ? "" : rest.substr(colon + 1);
    }
    if (!found) return;
    const pid_t child = ::fork();
    if (child == 0) {
        // The viewer is left to itself: its parent exits at once and is waited for here.
        if (::fork() == 0) {
            ::execlp("xdg-open", "xdg-open", path.c_str(), static_cast<char*>(nullptr));
        }
        ::_exit(0);
    }
    if (child > 0) ::waitpid(child, nullptr, 0);
}

}  // namespace

// The progress window is up for as long as an object of this class lives; an inner one (the
// pages of a PDF that an e-mail then carries) leaves it to the outer.
class MotoreStampaLista::ProgressShown {
  public:
    explicit ProgressShown(MotoreStampaLista& engine) : engine_(engine) {
        if (engine_.progress == nullptr || engine_.progressShown_++ > 0) return;
        engine_.progress->ogStampa(engine_.shared_from_this());
        engine_.progress->window().show();
    }
    ~ProgressShown() {
        if (engine_.progress == nullptr || --engine_.progressShown_ > 0) return;
        engine_.progress->ogStampa(nullptr);
        if (!engine_.progress->window().unloadedForGood()) engine_.progress->window().hide();
    }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

  private:
    MotoreStampaLista& engine_;
};

MotoreStampaLista::MotoreStampaLista(std::shared_ptr<OpzStampa> options, PrintList list,
                                     PageSetup setup)
    : options_(std::move(options)), list_(std::move(list)), setup_(setup), id_(nextId()) {
    if (!options_)
        throw NumberedError(errnum::ObjectRequired, "Opzioni di stampa assenti", kSource);
    readAsText(list_.title);
    for (std::string& caption : list_.captions) readAsText(caption);
    for (auto& row : list_.rows) {
        for (std::string& value : row) readAsText(value);
    }
}

std::string MotoreStampaLista::PercorsoFilePagine() const {
    return (std::filesystem::temp_directory_path() / "tolvane-pagine-").string();
}

void MotoreStampaLista::InterrompiStampa(int /*piCodice*/) {
    stop_ = true;
    interrotta_ = true;
}

bool MotoreStampaLista::Esegui() {
    stop_ = false;
    interrotta_ = false;
    pdfScritto_.clear();
    notice_.clear();
    const Variant email = options_->LeggiParStampa("EmailInvia");
    bool perEmail = false;
    if (!email.isEmpty() && !email.isNull()) {
        try {
            perEmail = email == Variant(true);
        } catch (const NumberedError&) {
        }
    }
    if (perEmail) return inviaPerEmail();
    switch (options_->StaVid) {
        case OpzStampa::kVideo:
            return aVideo();
        case OpzStampa::kFile:
            return suFile();
        case OpzStampa::kFissa:
            return aLunghezzaFissa();
        default:
            return suStampante();
    }
}

PageSetup MotoreStampaLista::pageSetup() {
    PageSetup setup = setup_;
    if (options_->ForzaVert) setup.landscape = false;
    setup.paper = Paper{};
    if (printerName.empty()) return setup;
    PrintServerWaits waits([this] { return progressStep(); });
    PrinterSystem& printers = printerSystem();
    const long chosen = goLibGen().ValoreLong(options_->LeggiParStampa("NumTipoCarta"));
    const long number = chosen > 0 ? chosen : printers.defaultPaperSize(printerName);
    // The sheet is the one the job asks the printer for, by the printer's own keyword.
    std::vector<std::pair<std::string, std::string>> options;
    if (number > 0) options = printers.mediaOptions(printerName, 0, static_cast<int>(number));
    for (const auto& [name, value] : options) {
        if (equalText(name, "PageSize") || equalText(name, "media")) {
            paperNamed(value, setup.paper);
            return setup;
        }
    }
    // A paper the printer does not offer: the print is on A4, and the options say so. A server
    // that was not heard says nothing of the printer's papers.
    if (chosen > 0 && !waits.gaveUp())
        options_->ScriviParStampa("NumTipoCarta", OpzStampa::kTipoAltro, Variant(0));
    return setup;
}

// The print's PDF, kept in the print folder, goes out as the e-mail's attachment; the progress
// window stays up while it goes.
bool MotoreStampaLista::inviaPerEmail() {
    if (options_->LeggiParStampa("StampaCaption").text().empty()) {
        options_->ScriviParStampa("StampaCaption", OpzStampa::kTipoAltro, Variant(list_.title));
    }
    ProgressShown shown(*this);
    pdfScritto_ = savePdfInFolder(printFolder(*options_));
    if (pdfScritto_.empty()) return false;
    // The page counter says where the mail is going instead, until the sending ends.
    ui::Label* caption = nullptr;
    ui::Label* where = nullptr;
    if (progress != nullptr && !progress->window().unloadedForGood()) {
        caption = control<ui::Label>(progress->window(), "LblPrePag");
        where = control<ui::Label>(progress->window(), "LblPag");
    }
    auto say = [&](const std::string& what, const std::string& value) {
        if (caption == nullptr || progress->window().unloadedForGood()) return;
        caption->setCaption(what);
        if (where != nullptr) where->setCaption(value);
    };
    const std::string pageCaption = caption != nullptr ? caption->caption() : "";
    const std::string page = where != nullptr ? where->caption() : "";
    ScopeGuard restore([&] { say(pageCaption, page); });
    EmailSendingWatch watch;
    watch.sending = [&](const std::string& destination) {
        say("Invio dell'email in corso:", destination);
    };
    watch.stop = [this] {
        ui::DoEvents();
        return stop_;
    };
    InviaEmailStampa(*options_, progress, pdfScritto_, list_.title, watch);
    return true;
}

void MotoreStampaLista::rangeOf(int n, int& first, int& last) {
    pageCount_ = n;
    const LibGenerale& lib = goLibGen();
    long from = lib.ValoreLong(options_->LeggiParStampa("PaginaDa"));
    long to = lib.ValoreLong(options_->LeggiParStampa("PaginaA"));
    first = static_cast<int>(std::max(1L, from));
    last = to > 0 ? static_cast<int>(std::min<long>(to, n)) : n;
    if (first > last) {
        throw NumberedError(errnum::InvalidCall,
                            "Nessuna pagina da stampare nell'intervallo scelto", kSource);
    }
}

bool MotoreStampaLista::progressStep(int page) {
    if (page > 0 && progress != nullptr && !progress->window().unloadedForGood()) {
        if (auto* label = control<ui::Label>(progress->window(), "LblPag")) {
            label->setCaption(threeDigits(page));
        }
    }
    ui::DoEvents();
    return stop_;
}

bool MotoreStampaLista::writePdf(const ListPageDrawing& drawing, int first, int last,
                                 SaveFile& file) {
    PdfPages pdf(file, list_.title);
    ProgressShown shown(*this);
    for (int p = first; p <= last; ++p) {
        pdf.add(drawing, p);
        if (progressStep(p)) return false;
    }
    pdf.finish();
    return true;
}

bool MotoreStampaLista::savePdf(const std::string& path) {
    stop_ = false;
    ListPageDrawing drawing(list_, pageSetup());
    int first = 0;
    int last = 0;
    rangeOf(drawing.pageCount(), first, last);
    return writePdfFile(drawing, first, last, path);
}

bool MotoreStampaLista::writePdfFile(const ListPageDrawing& drawing, int first, int last,
                                     const std::string& path) {
    SaveFile::Options options;
    options.source = kSource;
    SaveFile file(path, options);
    if (!writePdf(drawing, first, last, file)) return false;
    file.commit();
    return true;
}

bool MotoreStampaLista::suStampante() {
    if (printerName.empty()) {
        throwIfServerSilent();
        throw NumberedError(kNoPrinter, "Nessuna stampante disponibile per la stampa", kSource);
    }
    // The stop button stays at hand while the print server keeps the print waiting.
    ProgressShown shown(*this);
    PrintServerWaits waits([this] { return progressStep(); });
    ListPageDrawing drawing(list_, pageSetup());
    int first = 0;
    int last = 0;
    rangeOf(drawing.pageCount(), first, last);
    if (isPdfPrinter(printerName, pdfPrinter.word)) {
        const std::string folder = pdfFolder(pdfPrinter.fileName);
        if (folder.empty()) {
            throw NumberedError(errnum::FileAccess,
                                "Cartella dei file pdf non indicata: impostare il nome del file "
                                "pdf nei parametri Pdf/Email",
                                kSource);
        }
        pdfScritto_ = pdfInFolder(drawing, first, last, folder);
        if (pdfScritto_.empty()) return false;
        if (pdfPrinter.open) (openViewer ? openViewer : openWithDesktop)(pdfScritto_);
        return true;
    }
    TemporaryFile job(".pdf");
    if (!writePdfFile(drawing, first, last, job.path())) return false;
    // The tray and the paper chosen for the print go with it, and one copy.
    const LibGenerale& lib = goLibGen();
    auto media = printerSystem().mediaOptions(
        printerName, static_cast<int>(lib.ValoreLong(options_->LeggiParStampa("NumCassetto"))),
        static_cast<int>(lib.ValoreLong(options_->LeggiParStampa("NumTipoCarta"))));
    media.emplace_back("copies", "1");
    return submit({printerName, job.path(), list_.title, false, std::move(media)});
}

std::string MotoreStampaLista::savePdfInFolder(const std::string& folder) {
    stop_ = false;
    ListPageDrawing drawing(list_, pageSetup());
    int first = 0;
    int last = 0;
    rangeOf(drawing.pageCount(), first, last);
    return pdfInFolder(drawing, first, last, folder);
}

std::string MotoreStampaLista::pdfInFolder(const ListPageDrawing& drawing, int first, int last,
                                           const std::string& folder) {
    const std::string base = (std::filesystem::path(folder) / pdfBaseName(list_.title)).string();
    for (int k = 1;; ++k) {
        const std::string name = base + (k > 1 ? "_" + std::to_string(k) : "") + ".pdf";
        std::error_code ec;
        if (std::filesystem::exists(name, ec)) continue;
        SaveFile::Options options;
        options.neverReplace = true;
        options.source = kSource;
        std::unique_ptr<SaveFile> file;
        try {
            file = std::make_unique<SaveFile>(name, options);
        } catch (const NumberedError& e) {
            throw NumberedError(errnum::FileAccess,
                                "Impossibile scrivere il file pdf nella cartella " + folder + ": " +
                                    e.description(),
                                kSource);
        }
        if (!writePdf(drawing, first, last, *file)) return {};
        // A file of the same name made meanwhile is kept: the print takes the next name.
        if (file->commit()) return name;
    }
}

bool MotoreStampaLista::suFile() {
    if (Trim(options_->FileName).empty()) {
        throw NumberedError(errnum::FileAccess, "Nome del file di stampa mancante", kSource);
    }
    pageCount_ = 1;
    ProgressShown shown(*this);
    if (progressStep(1)) return false;
    // "Tolgo il formato nei campi numerici" is for plain text and workbooks; the separated text
    // for Excel keeps every value as shown.
    if (options_->FileForm == 2) {
        notice_ = cutCellsNotice(
            list_, writeWorkbook(list_, columnKinds, options_->NumNoForm, options_->FileName),
            options_->FileName);
        return true;
    }
    std::string text = options_->FileForm == 1 && options_->NumNoForm
                           ? separatedText(withPlainNumbers(list_, columnKinds), options_->SepCampi,
                                           options_->DelimStr)
                           : separatedText(list_, options_->SepCampi, options_->DelimStr);
    // Excel reads a separated file without a byte-order mark in the machine's single-byte set.
    if (options_->FileForm == 0) text.insert(0, kUtf8Bom);
    writeFileWhole(options_->FileName, text);
    return true;
}

bool MotoreStampaLista::aLunghezzaFissa() {
    const OpzStampa& opz = *options_;
    if (Trim(opz.FisFileName).empty()) {
        throw NumberedError(errnum::FileAccess, "Nome del file di stampa mancante", kSource);
    }
    int length = opz.FisRighe > 0 ? opz.FisRighe : 66;
    int body = std::max(1, length - std::max(0, opz.FisMrAlt) - std::max(0, opz.FisMrBas));
    std::vector<PrintPage> pages =
        layOutList(list_, opz.FisColonne > 0 ? opz.FisColonne : 80, body);
    int first = 0;
    int last = 0;
    rangeOf(static_cast<int>(pages.size()), first, last);
    std::vector<PrintPage> chosen;
    {
        ProgressShown shown(*this);
        for (int p = first; p <= last; ++p) {
            chosen.push_back(pages[p - 1]);
            if (progressStep(p)) return false;
        }
    }
    // Fixed-pitch printers and the programs that read these files take one byte a character.
    const std::string text = toWindows1252(fixedFormatText(chosen, opz));
    if (!opz.FisStampante) {
        writeFileWhole(opz.FisFileName, text);
        return true;
    }
    ProgressShown shown(*this);
    PrintServerWaits waits([this] { return progressStep(); });
    const std::vector<PrinterInfo> queues = printersAt(printerSystem(), opz.FisFileName);
    if (queues.empty()) {
        throwIfServerSilent();
        throw NumberedError(kNoPrinter, "Stampante non trovata: " + opz.FisFileName, kSource);
    }
    if (queues.size() > 1) {
        std::string names;
        for (const PrinterInfo& queue : queues) names += (names.empty() ? "" : ", ") + queue.name;
        throw NumberedError(kNoPrinter,
                            "La porta " + opz.FisFileName + " appartiene a più stampanti (" +
                                names + "): scegliere la stampante nelle opzioni di stampa",
                            kSource);
    }
    TemporaryFile job(".txt");
    writeFileWhole(job.path(), text);
    return submit({queues.front().name, job.path(), list_.title, true, {}});
}

void MotoreStampaLista::drawPage(const ListPageDrawing& drawing, int page) {
    ui::Form& window = preview->window();
    auto* picture = control<ui::PictureBox>(window, "PicSec");
    if (picture == nullptr) {
        throw NumberedError(errnum::ObjectRequired, "Pagina dell'anteprima assente", kSource);
    }
    const double factor = options_->Fatt > 0 ? options_->Fatt : 1;
    picture->setWidth(drawing.widthPoints() * kTwipsPerPoint * factor);
    picture->setHeight(drawing.heightPoints() * kTwipsPerPoint * factor);
    picture->cls();
    PageImage image = pageImage(drawing, page, factor);
    auto shown = std::make_shared<ui::Picture>();
    shown->format = "png";
    shown->data = std::move(image.png);
    shown->width = image.width;
    shown->height = image.height;
    picture->setPicture(std::move(shown));
    // The preview lays its scroll bars out again for the page's size.
    window.move(window.left(), window.top(), window.width(), window.height());
}

bool MotoreStampaLista::aVideo() {
    if (preview == nullptr) {
        throw NumberedError(errnum::ObjectRequired, "Finestra di anteprima assente", kSource);
    }
    ListPageDrawing drawing(list_, pageSetup());
    int first = 0;
    int last = 0;
    rangeOf(drawing.pageCount(), first, last);
    memorizza_ = options_->MemVid == 1;
    primaVideo_ = first;
    videoFinito_ = false;
    ui::Form& window = preview->window();
    window.show();
    if (auto* label = control<ui::Label>(window, "LabMsg")) label->setCaption("");
    preview->ogStampa(shared_from_this());
    paginaCorrente_ = first;
    ultimaPagina_ = first;
    if (auto* label = control<ui::Label>(window, "labPage")) {
        label->setCaption("Pag." + threeDigits(first));
    }
    for (;;) {
        long p = std::clamp<long>(paginaCorrente_, first, last);
        paginaCorrente_ = p;
        drawPage(drawing, static_cast<int>(p));
        bool ended = p >= last;
        if (ended) {
            if (auto* label = control<ui::Label>(window, "LabMsg"))
                label->setCaption("Stampa Terminata");
        }
        videoFinito_ = ended;
        enableArrows();
        // The last page ends the print: the preview stays up for paging among kept pages.
        if (ended) return true;
        preview->Continua();
        if (interrotta_ || stop_ || window.unloadedForGood()) return false;
    }
}

void MotoreStampaLista::enableArrows() {
    if (preview == nullptr) return;
    // Back only among kept pages and not before the range; ahead to a kept page, or to a new one
    // while the print has more.
    const bool back = memorizza_ && paginaCorrente_ > primaVideo_;
    const bool keptAhead = memorizza_ && paginaCorrente_ < ultimaPagina_;
    const bool next = keptAhead || !videoFinito_;
    for (int i = 1; i <= 4; ++i) {
        if (auto* arrow = control<ui::Image>(preview->window(), "imaMuovi", i))
            arrow->setEnabled(i <= 2 ? back : i == 3 ? next : keptAhead);
    }
    preview->SistImgFrecce();
}

}  // namespace tolvane

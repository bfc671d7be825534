// The list engine's runs: to the printer through the print queue, to a file, to a fixed-format
// file or device, into the preview page by page. Files are written whole under a temporary
// name and renamed, so that a failed or stopped print leaves no partial file behind.
#include "suite/motore_stampa_lista.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/numbered_error.h"
#include "platform/printer_system.h"
#include "platform/text.h"
#include "suite/invio_email.h"
#include "suite/lib_generale.h"
#include "suite/opz_stampa.h"
#include "suite/pdf_stampa.h"
#include "suite/print_queue.h"
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
            throw NumberedError(errnum::FileAccess, "Impossibile creare il file di stampa", kSource);
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

void writeAll(const std::string& path, const std::string& content) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file != nullptr;
    if (ok) ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    if (file != nullptr && std::fclose(file) != 0) ok = false;
    if (!ok) {
        throw NumberedError(errnum::FileAccess, "Impossibile scrivere il file " + path, kSource);
    }
}

// The whole content under a temporary name beside the target, then renamed onto it.
void writeFileWhole(const std::string& target, const std::string& content) {
    std::string temporary = target + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) {
        throw NumberedError(errnum::FileAccess, "Impossibile scrivere il file " + target, kSource);
    }
    // The temporary file is private; the file it becomes has the permissions of the file it
    // replaces, or those of any new file.
    struct stat existing {};
    mode_t mode = 0;
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    close(fd);
    try {
        writeAll(temporary, content);
    } catch (...) {
        std::remove(temporary.c_str());
        throw;
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw NumberedError(errnum::FileAccess, "Impossibile scrivere il file " + target, kSource);
    }
}

void submit(PrintJob job, const std::string& content) {
    TemporaryFile file(job.raw ? ".txt" : ".ps");
    writeAll(file.path(), content);
    job.file = file.path();
    std::string error;
    if (!printQueue().submit(job, error)) {
        throw NumberedError(kPrinterError,
                            "La stampante " + job.printer + " non ha accettato la stampa: " + error,
                            kSource);
    }
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

MotoreStampaLista::MotoreStampaLista(std::shared_ptr<OpzStampa> options, PrintList list,
                                     PageSetup setup)
    : options_(std::move(options)), list_(std::move(list)), setup_(setup), id_(nextId()) {
    if (!options_) throw NumberedError(errnum::ObjectRequired, "Opzioni di stampa assenti", kSource);
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
        case OpzStampa::kVideo: return aVideo();
        case OpzStampa::kFile: return suFile();
        case OpzStampa::kFissa: return aLunghezzaFissa();
        default: return suStampante();
    }
}

// The print's PDF, kept in the print folder, goes out as the e-mail's attachment.
bool MotoreStampaLista::inviaPerEmail() {
    PageSetup setup = setup_;
    if (options_->ForzaVert) setup.landscape = false;
    std::vector<PrintPage> chosen;
    if (!pagesOfRange(layOutList(list_, setup.columns(), setup.lines()), chosen)) return false;
    if (options_->LeggiParStampa("StampaCaption").text().empty()) {
        options_->ScriviParStampa("StampaCaption", OpzStampa::kTipoAltro, Variant(list_.title));
    }
    try {
        const std::string pdf =
            writePrintPdf(postScriptDocument(chosen, setup, list_.title), *options_, list_.title);
        InviaEmailStampa(*options_, progress, pdf, list_.title);
    } catch (...) {
        hideProgress();
        throw;
    }
    hideProgress();
    return true;
}

void MotoreStampaLista::rangeOf(int n, int& first, int& last) const {
    const LibGenerale& lib = goLibGen();
    long from = lib.ValoreLong(options_->LeggiParStampa("PaginaDa"));
    long to = lib.ValoreLong(options_->LeggiParStampa("PaginaA"));
    first = static_cast<int>(std::max(1L, from));
    last = to > 0 ? static_cast<int>(std::min<long>(to, n)) : n;
    if (first > n) last = 0;
}

void MotoreStampaLista::showProgress() {
    if (progress == nullptr) return;
    progress->ogStampa(shared_from_this());
    progress->window().show();
}

void MotoreStampaLista::hideProgress() {
    if (progress == nullptr) return;
    progress->ogStampa(nullptr);
    if (!progress->window().unloadedForGood()) progress->window().hide();
}

bool MotoreStampaLista::progressStep(int page) {
    if (progress != nullptr && !progress->window().unloadedForGood()) {
        if (auto* label = control<ui::Label>(progress->window(), "LblPag")) {
            label->setCaption(threeDigits(page));
        }
    }
    ui::DoEvents();
    return stop_;
}

bool MotoreStampaLista::pagesOfRange(const std::vector<PrintPage>& pages,
                                     std::vector<PrintPage>& chosen) {
    pageCount_ = static_cast<int>(pages.size());
    int first = 0;
    int last = 0;
    rangeOf(pageCount_, first, last);
    if (first > last) {
        throw NumberedError(errnum::InvalidCall, "Nessuna pagina da stampare nell'intervallo scelto",
                            kSource);
    }
    showProgress();
    for (int p = first; p <= last; ++p) {
        chosen.push_back(pages[p - 1]);
        if (progressStep(p)) {
            hideProgress();
            return false;
        }
    }
    return true;
}

bool MotoreStampaLista::suStampante() {
    if (printerName.empty()) {
        throw NumberedError(kNoPrinter, "Nessuna stampante disponibile per la stampa", kSource);
    }
    PageSetup setup = setup_;
    if (options_->ForzaVert) setup.landscape = false;
    std::vector<PrintPage> pages = layOutList(list_, setup.columns(), setup.lines());
    std::vector<PrintPage> chosen;
    if (!pagesOfRange(pages, chosen)) return false;
    try {
        // The tray and the paper chosen for the print go with it.
        const LibGenerale& lib = goLibGen();
        auto media = printerSystem().mediaOptions(
            printerName, static_cast<int>(lib.ValoreLong(options_->LeggiParStampa("NumCassetto"))),
            static_cast<int>(lib.ValoreLong(options_->LeggiParStampa("NumTipoCarta"))));
        submit({printerName, {}, list_.title, false, std::move(media)},
               postScriptDocument(chosen, setup, list_.title));
    } catch (...) {
        hideProgress();
        throw;
    }
    hideProgress();
    return true;
}

bool MotoreStampaLista::suFile() {
    if (Trim(options_->FileName).empty()) {
        throw NumberedError(errnum::FileAccess, "Nome del file di stampa mancante", kSource);
    }
    if (options_->FileForm == 2) {
        throw NumberedError(errnum::InvalidCall,
                            "Il formato Excel non è disponibile: scegliere un file di testo",
                            kSource);
    }
    pageCount_ = 1;
    showProgress();
    if (progressStep(1)) {
        hideProgress();
        return false;
    }
    try {
        writeFileWhole(options_->FileName,
                       separatedText(list_, options_->SepCampi, options_->DelimStr));
    } catch (...) {
        hideProgress();
        throw;
    }
    hideProgress();
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
    std::vector<PrintPage> chosen;
    if (!pagesOfRange(pages, chosen)) return false;
    try {
        std::string text = fixedFormatText(chosen, opz);
        if (!opz.FisStampante) {
            writeFileWhole(opz.FisFileName, text);
        } else {
            std::string queue;
            for (const PrinterInfo& printer : printerSystem().printers()) {
                if (equalText(printer.port, opz.FisFileName) || equalText(printer.name, opz.FisFileName)) {
                    queue = printer.name;
                    break;
                }
            }
            if (queue.empty()) {
                throw NumberedError(kNoPrinter, "Stampante non trovata: " + opz.FisFileName, kSource);
            }
            submit({queue, {}, list_.title, true, {}}, text);
        }
    } catch (...) {
        hideProgress();
        throw;
    }
    hideProgress();
    return true;
}

void MotoreStampaLista::drawPage(const PrintPage& page) {
    ui::Form& window = preview->window();
    auto* picture = control<ui::PictureBox>(window, "PicSec");
    if (picture == nullptr) {
        throw NumberedError(errnum::ObjectRequired, "Pagina dell'anteprima assente", kSource);
    }
    double factor = options_->Fatt > 0 ? options_->Fatt : 1;
    picture->setWidth(setup_.widthPoints() * kTwipsPerPoint * factor);
    picture->setHeight(setup_.heightPoints() * kTwipsPerPoint * factor);
    picture->cls();
    picture->setPicture(nullptr);
    ui::Font font;
    font.name = "Courier New";
    font.size = setup_.fontSize * factor;
    picture->setFont(font);
    for (const std::string& line : page) picture->print(line);
    // The preview lays its scroll bars out again for the page's size.
    window.move(window.left(), window.top(), window.width(), window.height());
}

bool MotoreStampaLista::aVideo() {
    if (preview == nullptr) {
        throw NumberedError(errnum::ObjectRequired, "Finestra di anteprima assente", kSource);
    }
    PageSetup setup = setup_;
    if (options_->ForzaVert) setup.landscape = false;
    setup_ = setup;
    std::vector<PrintPage> pages = layOutList(list_, setup.columns(), setup.lines());
    pageCount_ = static_cast<int>(pages.size());
    int first = 0;
    int last = 0;
    rangeOf(pageCount_, first, last);
    if (first > last) {
        throw NumberedError(errnum::InvalidCall, "Nessuna pagina da stampare nell'intervallo scelto",
                            kSource);
    }
    memorizza_ = options_->MemVid == 1;
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
        drawPage(pages[p - 1]);
        bool ended = p >= last;
        if (ended) {
            if (auto* label = control<ui::Label>(window, "LabMsg")) label->setCaption("Stampa Terminata");
        }
        for (int i = 1; i <= 4; ++i) {
            if (auto* arrow = control<ui::Image>(window, "imaMuovi", i)) {
                arrow->setEnabled(i == 3 ? !ended : memorizza_);
            }
        }
        preview->SistImgFrecce();
        // The last page ends the print: the preview stays up for paging among kept pages.
        if (ended) return true;
        preview->Continua();
        if (interrotta_ || stop_ || window.unloadedForGood()) return false;
    }
}

}  // namespace tolvane

// The preview window's lifecycle, paging, page files and layout of the viewing area.
// The engine draws and waits in Continua; the window only pages, keeps and shows pages.
#include "printing/frm_v_stampa.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <new>
#include <sstream>

#include "common/globali.h"
#include "common/servizi_finestre.h"
#include "platform/numbered_error.h"
#include "platform/scope_guard.h"
#include "platform/text.h"
#include "startup/programma.h"
#include "suite/lib_generale.h"
#include "suite/opz_stampa.h"
#include "ui/desktop.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

constexpr long kPicTastiHeight = 480;
constexpr long kBarSize = 255;
constexpr long kMargin = 100;
constexpr long kMaxRange = 32767;
// Drawn text kept in a page file: one line per printed line.
constexpr const char* kTextFormat = "txt";

std::string threeDigits(long n) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%03ld", n);
    return buffer;
}

// A 16x16 arrow: kind 1 first, 2 previous, 3 next, 4 last; grey when disabled.
std::shared_ptr<const ui::Picture> arrow(int kind, bool enabled) {
    std::ostringstream xpm;
    xpm << "/* XPM */\nstatic const char *freccia[] = {\n\"16 16 2 1\",\n\"  c None\",\n\". c "
        << (enabled ? "#000080" : "#A0A0A0") << "\",\n";
    for (int y = 0; y < 16; ++y) {
        std::string row(16, ' ');
        if (y >= 3 && y <= 12) {
            int half = std::abs(y * 2 - 15) / 2;
            bool left = kind <= 2;
            for (int x = 5; x <= 10; ++x) {
                if (left ? x >= 5 + half : x <= 10 - half) row[x] = '.';
            }
            if (kind == 1) row[3] = row[4] = '.';
            if (kind == 4) row[11] = row[12] = '.';
        }
        xpm << '"' << row << '"' << (y < 15 ? ",\n" : "\n");
    }
    xpm << "};\n";
    auto picture = std::make_shared<ui::Picture>();
    picture->format = "xpm";
    picture->data = xpm.str();
    picture->width = 16;
    picture->height = 16;
    return picture;
}

long ceilDiv(long value, long by) {
    return static_cast<long>(std::ceil(static_cast<double>(value) / by));
}

}  // namespace

FrmVStampa::FrmVStampa() : Form("FrmVStampa") {
    setCaption("Visualizzazione Stampa");
    move(0, 0, 12000, 9000);
    setHandlesResize(true);
    // The screen adaptation finds the window's zoom key by name.
    expose("osRisVidKey", [this](std::vector<Variant>&) { return Variant(osRisVidKey); });
    PicTasti.setBackColor(0xC0C0C0);
    PicTasti.move(0, 0, 12000, kPicTastiHeight);
    comEsci.setCaption("&Esci");
    comEsci.move(60, 60, 900, 360);
    for (int i = 1; i <= 4; ++i) {
        imaMuovi.add(i, &PicTasti).move(1000 + (i - 1) * 300 + (i >= 3 ? 900 : 0), 90, 240, 240);
    }
    labPage.setCaption("Pag.000");
    labPage.setFont({"Arial", 10});
    labPage.move(1640, 110, 840, 270);
    LabMsg.setFont({"MS Sans Serif", 8});
    LabMsg.move(3200, 110, 6000, 270);
    PicPrinc.setBackColor(0x808080);
    PicSec.setBackColor(backColor());
    vscPosVert.setWidth(kBarSize);
    hscPosOri.setHeight(kBarSize);
    for (int i = 1; i <= 4; ++i) ImlFrecce.add(arrow(i, true));
    for (int i = 1; i <= 4; ++i) ImlFrecce.add(arrow(i, false));

    comEsci.on.onClick = [this] { comEsci_Click(); };
    imaMuovi.on.onClick = [this](int index) { imaMuovi_Click(index); };
    hscPosOri.on.onChange = [this] { PicSec.setLeft(-hscPosOri.value()); };
    hscPosOri.on.onScroll = hscPosOri.on.onChange;
    vscPosVert.on.onChange = [this] { PicSec.setTop(-vscPosVert.value()); };
    vscPosVert.on.onScroll = vscPosVert.on.onChange;
}

FrmVStampa::~FrmVStampa() { CancellaFilePagine(); }

std::string FrmVStampa::fileDellaPagina(long plPagina) const {
    return msFilePagine + "." + threeDigits(plPagina);
}

void FrmVStampa::ogStampa(std::shared_ptr<PagedPrintEngine> pgStampa) {
    ogStampa_ = std::move(pgStampa);
    if (!ogStampa_) return;
    // A new print in a preview still open: the pages of the one before are of no more use.
    CancellaFilePagine();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char minuteSecond[8];
    std::snprintf(minuteSecond, sizeof minuteSecond, "%02d%02d", local.tm_min, local.tm_sec);
    msFilePagine = ogStampa_->PercorsoFilePagine() + ogStampa_->IdFilePagine() + minuteSecond;
    ogStampa_->UltimaPaginaSalvata(0);
    ogStampa_->PaginaCorrente(1);
    ogStampa_->UltimaPagina(1);
    labPage.setCaption("Pag." + threeDigits(ogStampa_->PaginaCorrente()));
    OpzStampa* opzioni = ogStampa_->OpzioniMotore();
    miPaginaDa = opzioni == nullptr
                     ? 0
                     : goLibGen().ValoreIntero(
                           opzioni->LeggiParStampa("PaginaDa", OpzStampa::kTipoAltro), true, true);
}

void FrmVStampa::SistImgFrecce() {
    for (int i = 1; i <= 4; ++i) {
        imaMuovi(i).setPicture(ImlFrecce.picture(imaMuovi(i).enabled() ? i : i + 4));
    }
}

void FrmVStampa::Continua() {
    mbContinua = false;
    // Only the user's next step ends the wait: the front end may sleep until it comes.
    while (!mbStop) {
        ui::WaitForEvents();
        if (mbContinua) break;
    }
    mbStop = false;
}

void FrmVStampa::Form_Load() {
    setKeyPreview(true);
    mbStop = false;
    obAttivo = true;
    for (int i = 1; i <= 4; ++i) imaMuovi(i).setEnabled(false);
    SistImgFrecce();
    PicPrinc.setScaleMode(1);
    PicSec.setScaleMode(1);
    PicSec.setAutoSize(false);
    PicSec.setLeft(0);
    PicSec.setTop(0);
    PicSec.setTop(PicTasti.height());
    DimensionaPagina();
    LabMsg.setCaption("");
    osRisVidKey = "StaVid";
    odRisVidVal = AdattaRisVid(*this, -2, 0);
}

void FrmVStampa::Form_Activate() {
    DimensionaPagina();
    SistImgFrecce();
}

void FrmVStampa::Form_Resize() { DimensionaPagina(); }

void FrmVStampa::Form_KeyDown(int& KeyCode, int Shift) { GestTastoF1(*this, KeyCode, Shift, true); }

void FrmVStampa::DimensionaPagina() {
    if (windowState() == ui::WindowState::Minimized) return;
    const double T = PicTasti.height();
    const double SW = scaleWidth();
    const double SH = scaleHeight();
    PicTasti.setWidth(SW);
    PicPrinc.move(0, T, SW, std::max(0.0, SH - T));
    bool taller = PicSec.height() > PicPrinc.height();
    bool wider = PicSec.width() > PicPrinc.width();
    if (!taller && !wider) {
        vscPosVert.setVisible(false);
        hscPosOri.setVisible(false);
        PicSec.setLeft(0);
        PicSec.setTop(0);
        return;
    }
    // Each bar narrows the area in the other direction: a page that fits only without the other
    // bar needs its own too, or that bar would be placed below (or beside) the window.
    wider = wider || PicSec.width() > SW - vscPosVert.width();
    taller = taller || PicSec.height() > SH - T - hscPosOri.height();
    double W = std::max(0.0, taller ? SW - vscPosVert.width() : SW);
    double H = std::max(0.0, wider ? SH - T - hscPosOri.height() : SH - T);
    PicPrinc.move(0, T, W, H);
    hscPosOri.move(0, T + H, W, hscPosOri.height());
    vscPosVert.move(W, T, vscPosVert.width(), H);

    long horizontal = std::max(0L, static_cast<long>(PicSec.width() - W) + kMargin);
    // A page wider than the range can scroll gives up its far edge rather than fail.
    hscPosOri.setMin(-kMargin);
    hscPosOri.setMax(std::min(horizontal, kMaxRange));
    long vertical = static_cast<long>(PicSec.height() - H) + kMargin;
    if (vertical > kMaxRange) {
        ui::MsgBox(
            "La lunghezza del foglio può essere al massimo di 32.666 mmm. (vedi parametri "
            "stampante selezionata)",
            ui::msgbox::OkOnly, "Stampa a video");
        vertical = kMaxRange;
    }
    vscPosVert.setMin(-kMargin);
    vscPosVert.setMax(std::max(-kMargin, vertical));

    const bool verticalOn = PicSec.height() > H;
    const bool horizontalOn = PicSec.width() > W;
    vscPosVert.setEnabled(verticalOn);
    vscPosVert.setVisible(verticalOn);
    hscPosOri.setEnabled(horizontalOn);
    hscPosOri.setVisible(horizontalOn);
    if (verticalOn) {
        long exceed = static_cast<long>(PicSec.height() - H);
        vscPosVert.setSmallChange(ceilDiv(exceed, 100) + 1);
        vscPosVert.setLargeChange(ceilDiv(exceed, 10) + 1);
    }
    if (horizontalOn) {
        long exceed = static_cast<long>(PicSec.width() - W);
        hscPosOri.setSmallChange(ceilDiv(exceed, 100) + 1);
        hscPosOri.setLargeChange(ceilDiv(exceed, 10) + 1);
    }
    if (!verticalOn) PicPrinc.setWidth(SW);
    if (!horizontalOn) PicPrinc.setHeight(std::max(0.0, SH - T));
}

void FrmVStampa::SalvaPagina(long plPagina) {
    ui::Picture page;
    if (PicSec.picture() && PicSec.printedLines().empty()) {
        page = *PicSec.picture();
    } else {
        page.format = kTextFormat;
        for (const std::string& line : PicSec.printedLines()) page.data += line + "\n";
    }
    page.width = static_cast<int>(PicSec.width());
    page.height = static_cast<int>(PicSec.height());
    ui::SavePicture(page, fileDellaPagina(plPagina));
}

void FrmVStampa::MostraPagina() {
    labPage.setCaption("Pag." + threeDigits(ogStampa_->PaginaCorrente()));
    Clessidra(true);
    ScopeGuard hourglass([] { Clessidra(false); });
    const std::shared_ptr<const ui::Picture> page =
        ui::LoadPicture(fileDellaPagina(ogStampa_->PaginaCorrente()));
    hourglass.dismiss();
    PicSec.cls();
    PicSec.setPicture(nullptr);
    if (page->width > 0) PicSec.setWidth(page->width);
    if (page->height > 0) PicSec.setHeight(page->height);
    if (page->format == kTextFormat) {
        std::istringstream lines(page->data);
        for (std::string line; std::getline(lines, line);) PicSec.print(line);
    } else {
        PicSec.setPicture(page);
    }
    Clessidra(false);
}

void FrmVStampa::MemoriaEsaurita() {
    ui::MsgBox(
        "Non c'è abbastanza memoria per memorizzare le pagine:\nProvare con una dimensione "
        "di caratteri minore.\nMEMORIZZAZIONE DISABILITATA",
        ui::msgbox::OkOnly, ui::desktop().appTitle());
    ogStampa_->MemorizzaPagine(false);
    for (int i : {1, 2, 4}) imaMuovi(i).setEnabled(false);
    SistImgFrecce();
    if (ui::desktop().mousePointer() == ui::pointer::Hourglass) Clessidra(false);
    ogStampa_->PaginaCorrente(ogStampa_->UltimaPagina());
    labPage.setCaption("Pag." + threeDigits(ogStampa_->PaginaCorrente()));
}

void FrmVStampa::imaMuovi_Click(int Index) {
    try {
        hscPosOri.setValue(0);
        vscPosVert.setValue(0);
    } catch (const std::exception&) {
        // A bar whose range leaves out 0 keeps its place.
    }
    if (!ogStampa_) return;
    // Held for the whole step: a message shown on the way lets other events through.
    const std::shared_ptr<PagedPrintEngine> tenuto = ogStampa_;
    PagedPrintEngine& motore = *tenuto;
    try {
        if (motore.PaginaCorrente() == motore.UltimaPagina() &&
            motore.PaginaCorrente() > motore.UltimaPaginaSalvata() && motore.MemorizzaPagine()) {
            Clessidra(true);
            SalvaPagina(motore.PaginaCorrente());
            Clessidra(false);
            motore.UltimaPaginaSalvata(motore.PaginaCorrente());
        }
        switch (Index) {
            case 1:
                if (motore.MemorizzaPagine() && motore.PaginaCorrente() >= miPaginaDa) {
                    motore.PaginaCorrente(miPaginaDa > 0 ? miPaginaDa : 1);
                    MostraPagina();
                }
                break;
            case 2:
                if (motore.PaginaCorrente() > std::max(1, miPaginaDa) && motore.MemorizzaPagine()) {
                    motore.PaginaCorrente(motore.PaginaCorrente() - 1);
                    MostraPagina();
                }
                break;
            case 3:
                motore.PaginaCorrente(motore.PaginaCorrente() + 1);
                if (motore.MemorizzaPagine() && motore.PaginaCorrente() <= motore.UltimaPagina()) {
                    MostraPagina();
                } else if (!equalText(LabMsg.caption(), "Stampa Terminata")) {
                    labPage.setCaption("Pag." + threeDigits(motore.PaginaCorrente()));
                    motore.UltimaPagina(motore.PaginaCorrente());
                    PicSec.cls();
                    PicSec.setPicture(nullptr);
                    mbContinua = true;
                } else {
                    motore.PaginaCorrente(motore.PaginaCorrente() - 1);
                }
                break;
            case 4:
                if (motore.MemorizzaPagine()) {
                    motore.PaginaCorrente(motore.UltimaPagina());
                    MostraPagina();
                }
                break;
            default:
                break;
        }
    } catch (const std::bad_alloc&) {
        MemoriaEsaurita();
        return;
    } catch (const NumberedError& e) {
        if (ui::desktop().mousePointer() == ui::pointer::Hourglass) Clessidra(false);
        ui::MsgBox("Errore " + std::string(e.what()) + " in gestione pagine a video (" +
                       std::to_string(e.number()) + ")",
                   ui::msgbox::OkOnly, ui::desktop().appTitle());
    } catch (const std::exception& e) {
        if (ui::desktop().mousePointer() == ui::pointer::Hourglass) Clessidra(false);
        ui::MsgBox("Errore " + std::string(e.what()) + " in gestione pagine a video (0)",
                   ui::msgbox::OkOnly, ui::desktop().appTitle());
    }
    // The engine sets which arrows can move from the page the bookkeeping now names, also
    // after a page that could not be shown.
    motore.enableArrows();
}

void FrmVStampa::comEsci_Click() {
    if (ogStampa_) ogStampa_->StampaInterrotta(true);
    ui::DoEvents();
    mbStop = true;
    if (ogStampa_) ogStampa_->InterrompiStampa(2);
    if (giStaAtt == 0) unload();
}

void FrmVStampa::CancellaFilePagine() const {
    if (msFilePagine.empty()) return;
    namespace fs = std::filesystem;
    const fs::path base(msFilePagine);
    const std::string prefix = base.filename().string() + ".";
    std::error_code ec;
    fs::path folder = base.parent_path().empty() ? fs::path(".") : base.parent_path();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) == 0) {
            std::error_code removeError;
            fs::remove(it->path(), removeError);
        }
    }
}

void FrmVStampa::Form_Unload(bool& Cancel) {
    if (giStaAtt == 1) {
        ui::MsgBox("Non si puo' uscire\nStampa ancora attiva",
                   ui::msgbox::OkOnly | ui::msgbox::Critical, "Visualizzazione Stampe");
        Cancel = true;
        return;
    }
    obAttivo = false;
    try {
        CancellaFilePagine();
        if (ogStampa_) {
            ogStampa_->UltimaPaginaSalvata(0);
            ogStampa_->PaginaCorrente(1);
            ogStampa_->UltimaPagina(1);
            ogStampa_->StampaInterrotta(true);
            ogStampa_->InterrompiStampa(1);
        }
    } catch (const std::exception& e) {
        const auto* numbered = dynamic_cast<const NumberedError*>(&e);
        ui::MsgBox("Errore " + std::string(e.what()) + " in chiusura stampa a video (" +
                       std::to_string(numbered != nullptr ? numbered->number() : 0) + ")",
                   ui::msgbox::OkOnly, ui::desktop().appTitle());
        ogStampa_.reset();
        ChiudiProgramma(false);
        return;
    }
    try {
        if (ogStampa_) {
            if (ui::Form* finestra = ogStampa_->FinestraStampa()) {
                if (finestra != this && finestra->loaded()) finestra->unload();
            }
            ogStampa_->FinestraStampa(nullptr);
        }
    } catch (const std::exception&) {
        // The engine's own window goes its way; the preview closes regardless.
    }
    ogStampa_.reset();
    ChiudiProgramma(false);
}

}  // namespace tolvane

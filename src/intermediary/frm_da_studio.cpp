// The frame of frmDaStudio: its controls laid out from the record's declaration, the load of the
// one TabStudio row, the pages, the keys, the close and the hand-over to the menu.
// A failed load is reported and leaves the window unable to save; it opens no database itself.
#include "intermediary/frm_da_studio.h"

#include "common/globali.h"
#include "common/servizi_finestre.h"
#include "intermediary/campi_studio.h"
#include "startup/form_registry.h"
#include "startup/programma.h"
#include "suite/menu_client.h"
#include "suite/servizio_decodifiche.h"
#include "ui/desktop.h"

namespace tolvane {

namespace {

const char* const kTitolo = "Dati per comunicazione annuale IVA";

struct TabPagina {
    const char* caption;
    const char* chiave;
};
constexpr TabPagina kTabPagine[frmDaStudio::kNumeroPagine] = {
    {"(1) Dati Generali", "DatiGen"},
    {"(2) Dati per invio telematico", "DatiInvioTel"},
    {"(3) Fornitore persona fisica", "FornPersFisica"},
    {"(4) Fornitore persona non fisica", "FornPersNonFisica"},
    {"(5) Fornitore C.A.F.", "FornitoreCAF"},
};

const char* const kTitoloF24Persone = "Per record \"A\"  trasmissione telematica F24";
const char* const kTitoloF24Caf = "Per record \"A\" trasmissione telematica F24";

// The fields of each page in the order of the layout (the record's table gives the rest).
const int kCampiPagina1[] = {30, 40, 35, 55, 57, 58};
const int kCampiImpegno[] = {42, 44, 46};
const int kCampiPagina2[] = {2040, 2020};
const int kCampiPagina3[] = {3010, 3020, 3030, 3040, 3050, 3060, 3070, 3080, 3090, 3100};
const int kCampiPagina4[] = {4010, 4020, 4030, 4040, 4050, 4060, 4070, 4080, 4090};
const int kCampiPagina5[] = {5010, 5020, 5030, 5040, 5050};

// Layout in twips: one row per field inside its page, captions on the left.
constexpr double kMargine = 240;
constexpr double kAltezzaRiga = 390;
constexpr double kAltezzaCampo = 300;
constexpr double kLarghezzaDidascalia = 5400;
constexpr double kLarghezzaCarattere = 120;

double larghezzaCampo(int lunghezza) {
    if (lunghezza <= 0) return 2400;
    double larghezza = lunghezza * kLarghezzaCarattere + 120;
    return larghezza < 600 ? 600 : larghezza > 4200 ? 4200 : larghezza;
}

// Puts the controls of one page (or of a frame on it) one row under the other.
class Impaginatore {
  public:
    Impaginatore(frmDaStudio& form, ui::Control& contenitore, double primaRiga = 180)
        : form_(form), contenitore_(contenitore), y_(primaRiga) {}

    void titolo(ui::Label& titolo) {
        titolo.move(kMargine, y_, kLarghezzaDidascalia + 3600, kAltezzaCampo);
        y_ += kAltezzaRiga;
    }

    void campo(int numero) {
        const CampoStudio& dichiarato = *CampoStudioDi(numero);
        const double x = kMargine + kLarghezzaDidascalia;
        ui::TextBox& casella = form_.txt.add(numero, &contenitore_);
        if (dichiarato.lunghezza > 0) casella.setMaxLength(dichiarato.lunghezza);
        casella.move(x, y_, larghezzaCampo(dichiarato.lunghezza), kAltezzaCampo);
        if (dichiarato.genere == GenereCampoStudio::Flag) {
            casella.setVisible(false);
            ui::CheckBox& che = form_.Che.add(numero, &contenitore_);
            che.setCaption(dichiarato.didascalia);
            che.move(kMargine, y_, kLarghezzaDidascalia + 600, kAltezzaCampo);
            che.setVisible(!dichiarato.nascosto);
        } else if (dichiarato.genere == GenereCampoStudio::Sesso) {
            casella.setVisible(false);
            const char* const voci[] = {"Maschio", "Femmina"};
            for (int i = 0; i < 2; ++i) {
                ui::OptionButton& opzione = form_.OptSessoFor.add(i, &contenitore_);
                opzione.setCaption(voci[i]);
                opzione.move(x + i * 1800, y_, 1600, kAltezzaCampo);
            }
        } else {
            ui::Label& didascalia = form_.Didascalia.add(numero, &contenitore_);
            didascalia.setCaption(dichiarato.didascalia);
            didascalia.move(kMargine, y_, kLarghezzaDidascalia - 120, kAltezzaCampo);
            didascalia.setVisible(!dichiarato.nascosto);
            casella.setVisible(!dichiarato.nascosto);
        }
        y_ += kAltezzaRiga;
    }

    template <std::size_t N>
    void campi(const int (&numeri)[N]) {
        for (int numero : numeri) campo(numero);
    }

    // A control of its own, placed on the next row (or rows).
    void riga(ui::Control& controllo, double x, double larghezza, int righe = 1) {
        controllo.move(x, y_, larghezza, kAltezzaCampo + (righe - 1) * kAltezzaRiga);
        y_ += righe * kAltezzaRiga;
    }

  private:
    frmDaStudio& form_;
    ui::Control& contenitore_;
    double y_;
};

}  // namespace

frmDaStudio::frmDaStudio()
    : ui::Form("frmDaStudio"),
      txt(*this, "txt"),
      Didascalia(*this, "Didascalia"),
      Che(*this, "Che"),
      OptSessoFor(*this, "OptSessoFor"),
      PicPagine(*this, "PicPagine"),
      LabTitolo(*this, "LabTitolo"),
      comOk(*this, "comOk") {
    txt.on.onGotFocus = [this](int i) { txt_GotFocus(i); };
    txt.on.onLostFocus = [this](int i) { txt_LostFocus(i); };
    txt.on.onKeyUp = [this](int i, int& keyCode, int shift) { txt_KeyUp(i, keyCode, shift); };
    Che.on.onClick = [this](int i) { Che_Click(i); };
    OptSessoFor.on.onClick = [this](int i) { OptSessoFor_Click(i); };
    comOk.on.onClick = [this](int i) { comOk_Click(i); };
    CreaControlli();

    expose("PassaA", [this](std::vector<Variant>&) {
        PassaA();
        return Variant();
    });
    expose("txt_KeyUp", [this](std::vector<Variant>& args) {
        if (args.size() < 3) throw NumberedError(errnum::InvalidCall, "Argomenti mancanti", name());
        int keyCode = args[1].toInteger();
        txt_KeyUp(args[0].toInteger(), keyCode, args[2].toInteger());
        return Variant();
    });
    expose("oiLoadOk",
           [this](std::vector<Variant>&) { return Variant(static_cast<std::int16_t>(miLoadOk)); });
}

frmDaStudio::~frmDaStudio() = default;

GestoreRs& frmDaStudio::Rs() {
    if (!mgRs) mgRs = std::make_unique<GestoreRs>();
    return *mgRs;
}

void frmDaStudio::CreaControlli() {
    setCaption(kTitolo);
    move(0, 0, 11400, 8400);
    TasPagine = &add<ui::TabStrip>("TasPagine");
    TasPagine->move(120, 120, 11040, 7080);
    for (const TabPagina& tab : kTabPagine) TasPagine->addTab(tab.caption, tab.chiave);
    TasPagine->on.onBeforeClick = [this](bool& cancel) { TasPagine_BeforeClick(cancel); };
    TasPagine->on.onClick = [this] { TasPagine_Click(); };
    for (int pagina = 1; pagina <= kNumeroPagine; ++pagina) CreaPagina(pagina);
    addPages(PicPagine.name());

    ui::CommandButton& ok = comOk.add(3);
    ok.setCaption("&Conferma dati");
    ok.setToolTipText("Ok");
    ok.move(7320, 7440, 1800, 420);
    ComAnnulla = &add<ui::CommandButton>("ComAnnulla");
    // A picture button; its caption stands in for the picture here.
    ComAnnulla->setCaption("Annulla");
    ComAnnulla->setToolTipText("Annulla");
    ComAnnulla->move(9360, 7440, 1800, 420);
    ComAnnulla->on.onClick = [this] { ComAnnulla_Click(); };
}

void frmDaStudio::CreaPagina(int piPagina) {
    ui::PictureBox& pic = PicPagine.add(piPagina);
    pic.move(TasPagine->clientLeft(), TasPagine->clientTop(), TasPagine->clientWidth(),
             TasPagine->clientHeight());
    pic.setVisible(piPagina == 1);
    Impaginatore pagina(*this, pic);
    switch (piPagina) {
        case 1: {
            ui::Label& titolo = LabTitolo.add(1, &pic);
            titolo.setCaption("INTERMEDIARIO");
            pagina.titolo(titolo);
            pagina.campi(kCampiPagina1);
            LabImpegno = &add<ui::Label>("LabImpegno", &pic);
            LabImpegno->setCaption(
                "Impegno: dati ripetuti sulla singola ditta. Se là non sono compilati, verranno "
                "utilizzati questi");
            pagina.riga(*LabImpegno, kMargine, kLarghezzaDidascalia + 3600);
            pagina.campi(kCampiImpegno);
            pagina.campo(32);
            LabTipiFornitore = &add<ui::Label>("LabTipiFornitore", &pic);
            LabTipiFornitore->setCaption("Tipo Fornitore");
            pagina.riga(*LabTipiFornitore, kMargine, kLarghezzaDidascalia - 120);
            TxtTipiFornitore = &add<ui::TextBox>("TxtTipiFornitore", &pic);
            TxtTipiFornitore->setMultiLine(true);
            TxtTipiFornitore->setLocked(true);
            TxtTipiFornitore->setTabStop(false);
            TxtTipiFornitore->setText(
                "01 - Soggetti che inviano le proprie dichiarazioni\r\n10 - Intermediari");
            pagina.riga(*TxtTipiFornitore, kMargine, kLarghezzaDidascalia, 2);

            FraStampaAghi = &add<ui::Frame>("FraStampaAghi", &pic);
            FraStampaAghi->setCaption("Per stampa su stampante ad aghi: ");
            FraStampaAghi->setVisible(false);
            Impaginatore cornice(*this, *FraStampaAghi, 240);
            cornice.campo(70);
            cornice.campo(80);
            pagina.riga(*FraStampaAghi, kMargine, kLarghezzaDidascalia + 3000, 3);
            pagina.campo(60);
            LabSecondaPagina = &add<ui::Label>("LabSecondaPagina", &pic);
            LabSecondaPagina->setCaption("DATI PER SECONDA PAGINA DELLA DICHIARAZIONE PERIODICA:");
            LabSecondaPagina->setVisible(false);
            pagina.riga(*LabSecondaPagina, kMargine, kLarghezzaDidascalia + 3600);
            pagina.campo(10);
            pagina.campo(20);
            break;
        }
        case 2:
            pagina.campi(kCampiPagina2);
            TxtTipiFornitoreEsteso = &add<ui::TextBox>("TxtTipiFornitoreEsteso", &pic);
            TxtTipiFornitoreEsteso->setMultiLine(true);
            TxtTipiFornitoreEsteso->setLocked(true);
            TxtTipiFornitoreEsteso->setTabStop(false);
            TxtTipiFornitoreEsteso->setVisible(false);
            TxtTipiFornitoreEsteso->setText(
                "01 - Sogg.che inviano le proprie dichiarazioni usando il canale internet\r\n"
                "02 - Sogg.che inviano le proprie dichiarazioni usando il canale Entratel\r\n"
                "03 - CAF dipendenti e pensionati\r\n"
                "05 - CAF imprese\r\n"
                "09 - Società ed enti\r\n"
                "10 - Altri intermediari");
            pagina.riga(*TxtTipiFornitoreEsteso, kMargine, kLarghezzaDidascalia, 6);
            break;
        case 3:
        case 4:
        case 5: {
            ui::Label& titolo = LabTitolo.add(piPagina, &pic);
            titolo.setCaption(piPagina == 5 ? kTitoloF24Caf : kTitoloF24Persone);
            pagina.titolo(titolo);
            if (piPagina == 3) pagina.campi(kCampiPagina3);
            if (piPagina == 4) pagina.campi(kCampiPagina4);
            if (piPagina == 5) pagina.campi(kCampiPagina5);
            break;
        }
        default:
            break;
    }
}

void frmDaStudio::Form_Load() {
    setHelpContextID(kContestoHelp);
    try {
        msCaption = caption();
        miLoadOk = -1;
        InizioCaricoForm(*this);
        VisStudio();
        // The fields sized by their columns take a width to match.
        for (const CampoStudio& campo : CampiStudio()) {
            if (campo.lunghezza != kDimensioneColonna) continue;
            txt(campo.campo).setWidth(larghezzaCampo(txt(campo.campo).maxLength()));
        }
        FineCaricoForm(*this);
        // The window opens on tab 1, the others disabled, as if it had been chosen.
        miPagCorrente = 1;
        SistemaPagina(miPagCorrente);
        miLoadOk = 1;
    } catch (const std::exception& e) {
        ErroreCaricoForm(std::nullopt, std::nullopt, msCaption + "\r\n", "", &e);
        gbInChiusura = true;
    }
}

void frmDaStudio::Form_Unload(bool&) {
    mgRs.reset();
    msRsStudio.clear();
    if (miLoadOk != 1) return;
    // The decoding service belongs to the window that opened a company database; this one
    // opened none, so releasing it would leave the company form without its look-ups.
    if (!gbInChiusura) AttivaMenu("");
    gbInChiusura = false;
    ChiudiProgramma(false);
}

void frmDaStudio::ComAnnulla_Click() { unload(); }

void frmDaStudio::Form_KeyDown(int& KeyCode, int Shift) {
    int shift = Shift;
    if (GestTastiForm(KeyCode, shift, *this) <= 0) TastiComandiLista(*this, KeyCode, Shift);
}

void frmDaStudio::Form_KeyPress(int& KeyAscii) { FiltraKeyAscii(*this, KeyAscii); }

void frmDaStudio::TasPagine_BeforeClick(bool&) {}

void frmDaStudio::TasPagine_Click() {
    const int pagina = TasPagine->selectedIndex();
    if (pagina == miPagCorrente) return;
    miPagCorrente = pagina;
    SistemaPagina(miPagCorrente);
    int campoIniziale = 0;
    switch (pagina) {
        case 1:
            campoIniziale = 60;
            break;  // hidden: the focus goes on to the page's first field
        case 2:
            campoIniziale = 2040;
            break;
        case 3:
            campoIniziale = 3010;
            break;
        case 4:
            campoIniziale = 4010;
            break;
        case 5:
            campoIniziale = 5010;
            break;
        default:
            return;
    }
    PrimoCampo(txt(campoIniziale), true);
}

void frmDaStudio::SistemaPagina(int& piCorrente) {
    ui::PictureBox& corrente = PicPagine(piCorrente);
    corrente.move(TasPagine->clientLeft(), TasPagine->clientTop(), TasPagine->clientWidth(),
                  TasPagine->clientHeight());
    corrente.zOrder(0);
    corrente.setEnabled(true);
    corrente.setVisible(true);
    // The display draws only the page in front: the others are hidden as well as disabled.
    for (const auto& [indice, pic] : PicPagine) {
        if (indice == piCorrente) continue;
        pic->setEnabled(false);
        pic->setVisible(false);
    }
}

int frmDaStudio::PaginaDi(const ui::Control& campo) const {
    for (const ui::Control* c = campo.container(); c != nullptr; c = c->container()) {
        if (c->isArrayElement() && c->name() == PicPagine.name()) return c->index();
    }
    return 0;
}

void frmDaStudio::PassaA() {
    if (goMenuClient) goMenuClient->PassaAProgramma(kTitolo, name(), osKeySec);
}

void registraFrmDaStudio() {
    registraForm("frmdastudio", [](const ApriFormArgs& args) {
        if (frmDaStudio* aperta = ui::desktop().find<frmDaStudio>(); aperta && aperta->loaded()) {
            MostraForm(*aperta);
            return;
        }
        frmDaStudio& f = ui::desktop().load<frmDaStudio>();
        if (f.oiLoadOk() != 1) {
            // The failure has been reported: a half-loaded window is not left to the user.
            f.unload();
            ChiudiProgramma(false);
            return;
        }
        f.osKeySec = args.osKeySec;
        f.osKeyLancia = args.osKeyLancia;
        f.osKeySecLancia = args.osKeySecLancia;
        f.osParamLancia = args.osParamLancia;
        MostraForm(f);
    });
}

}  // namespace tolvane

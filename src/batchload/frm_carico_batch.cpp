// The batch window's controls and events outside the run: opening, folder choice, keys, stop,
// closing and the menu's pass-to command. Never closes while a run lasts.
#include "batchload/frm_carico_batch.h"

#include <algorithm>

#include "batchload/batch_messages.h"
#include "batchload/frm_ric_val_base.h"
#include "common/globali.h"
#include "common/msg_com.h"
#include "common/parametri_menu.h"
#include "common/servizi_finestre.h"
#include "startup/form_registry.h"
#include "startup/programma.h"
#include "suite/elencovalori/elenco_valori.h"
#include "suite/menu/menu_client.h"
#include "ui/desktop.h"

namespace tolvane {

namespace {

// The loader's messages through the program's message window.
int messaggioCarico(const BatchMessage& m) {
    auto pulsante = [&](std::size_t i) {
        return i < m.buttons.size() ? std::optional<std::string>(m.buttons[i]) : std::nullopt;
    };
    return frmMsgCom::msgCom(m.text, m.buttons.empty() ? std::string("&Ok") : m.buttons[0],
                             pulsante(1), pulsante(2));
}

}  // namespace

frmCaricoBatch::frmCaricoBatch() : Form("frmCaricoBatch") {
    setCaption("Caricamento Batch di dati da file ascii");
    move(0, 0, 9360, 7800);
    DriCarica.move(120, 120, 3000, 315);
    LabTitoloDir.setCaption("Directory contenente i dati da caricare:");
    LabTitoloDir.move(120, 480, 3000, 255);
    DirCarica.move(3240, 480, 5900, 1200);
    LabDirCarica.move(3240, 1740, 5900, 255);
    FraObbligatori.setCaption("Dati Obbligatori se caricati movimenti contabili");
    FraObbligatori.move(120, 2040, 9000, 2760);
    LabCliFor.setCaption("Caricamento CLIENTI e FORNITORI:");
    LabCliFor.move(120, 4920, 3500, 255);
    CheCodFisc.setCaption("E' stato gestito in Dos il secondo Cod.Fiscale?");
    CheCodFisc.move(3720, 4920, 5400, 255);

    PicMsgElab.move(120, 5400, 9000, 900);
    PicMsgElab.setVisible(false);
    LabMsgElab.setCaption("Caricamento in corso");
    LabMsgElab.move(120, 60, 8700, 255);
    Label1(0).setCaption("Letti:");
    Label1(0).move(120, 360, 600, 255);
    LabFatti.setCaption("1");
    LabFatti.move(780, 360, 1000, 255);
    LabDi.setCaption("di");
    LabDi.move(1840, 360, 300, 255);
    LabErrori.setCaption("Errori:");
    LabErrori.move(1840, 360, 600, 255);
    labDaFare.setCaption("999999");
    labDaFare.move(2500, 360, 1000, 255);
    Label1(1).setCaption("Records");
    Label1(1).move(3560, 360, 900, 255);
    proDaFare.move(4560, 360, 4300, 255);

    comOk.setCaption("&Carica");
    comOk.move(4440, 7020, 1455, 435);
    ComAnnulla.setCaption("&Esci");
    ComAnnulla.move(6000, 7020, 1455, 435);
    ComStop.setCaption("&Interrompi");
    ComStop.move(7560, 7020, 1455, 435);
    ComStop.setVisible(false);

    DriCarica.on.onChange = [this] { DriCarica_Change(); };
    DirCarica.on.onChange = [this] { DirCarica_Change(); };
    comOk.on.onClick = [this] { comOk_Click(); };
    ComAnnulla.on.onClick = [this] { ComAnnulla_Click(); };
    ComStop.on.onClick = [this] { ComStop_Click(); };
    txt.on.onGotFocus = [](int) { EvidenziaCampo(); };
    expose("PassaA", [this](std::vector<Variant>&) {
        PassaA();
        return Variant();
    });
    expose("RicValDefault", [this](std::vector<Variant>& args) {
        return RicValDefault(args.empty() ? std::string() : args[0].text());
    });
    expose("ChiediValBase", [this](std::vector<Variant>&) { return ChiediValBase(); });
}

frmCaricoBatch::~frmCaricoBatch() = default;

bool frmCaricoBatch::CreaCampi() {
    // Positions inside the frame. Two rows of three VAT accounts, each a group / mastro /
    // account triple with "/" between the parts.
    ui::Frame* frame = &FraObbligatori;
    for (int i = 0; i < 6; ++i) {
        const int base = 10 + 30 * i;
        const double top = 300 + (i / 3) * 360;
        const double left = 3120 + (i % 3) * 1980;
        ui::Label& riga = LabCampo.add(base, frame);
        riga.setCaption(i % 3 == 0 ? "Conti Iva Nei Movimenti Gruppo/mastro/conto:" : "");
        riga.move(120, top, i % 3 == 0 ? 2940 : 0, 255);
        txt.add(base, frame).move(left, top, 360, 285);
        LabBarra.add(base, frame).setCaption("/");
        LabBarra(base).move(left + 380, top, 120, 255);
        LabCampo.add(base + 10, frame)
            .move(left + 500, top, 0, 255);  // keeps the boxes in one column
        txt.add(base + 10, frame).move(left + 520, top, 360, 285);
        LabBarra.add(base + 10, frame).setCaption("/");
        LabBarra(base + 10).move(left + 900, top, 120, 255);
        LabCampo.add(base + 20, frame).move(left + 1020, top, 0, 255);
        txt.add(base + 20, frame).move(left + 1040, top, 800, 285);
    }
    const struct {
        int indice;
        const char* didascalia;
        double left, top;
    } altri[] = {
        {190, "Causali Nota di credito: 1:", 3120, 1140},
        {200, "2:", 4620, 1140},
        {210, "3:", 6120, 1140},
        {220, "Causali Trasportatori: 1:", 3120, 1560},
        {230, "2:", 4620, 1560},
        {240, "M-mensile/T-Trimestale", 3120, 2340},
    };
    for (const auto& a : altri) {
        ui::Label& didascalia = LabCampo.add(a.indice, frame);
        didascalia.setCaption(a.didascalia);
        didascalia.move(a.left == 3120 ? 120 : a.left - 300, a.top, a.left == 3120 ? 2940 : 280,
                        255);
        txt.add(a.indice, frame).move(a.left, a.top, 600, 285);
        if (a.indice == 230) {
            ui::Label& nota = add<ui::Label>("LabNotaTrasp", frame);
            nota.setCaption("SOLO per caricamento fatture/Nc TRASPORTATORI");
            nota.move(3120, 1920, 5000, 255);
        }
    }
    return true;
}

void frmCaricoBatch::Form_Load() {
    msTitolo = caption();
    loadOk_ = -1;
    try {
        InizioCaricoForm(*this, "");
        setHelpContextID(3702);
        mbFineElab = false;
        gsSoloAsci = LeggiPersonal("Carica", "SoloAsci", "");
        for (std::size_t i = 0; i <= 5; ++i) {
            const int base = 10 + 30 * static_cast<int>(i);
            txt(base).setText(gasGruppoIva[i]);
            txt(base + 10).setText(gasMastroIva[i]);
            txt(base + 20).setText(gasContoIva[i]);
        }
        for (std::size_t j = 0; j <= 2; ++j)
            txt(190 + 10 * static_cast<int>(j)).setText(gasCauNotaCred[j]);
        gsConnDbMenu = gsIdDbase;
        LabDirCarica.setCaption(DirCarica.path());
        // A message stops the run for a while: the load's last counts stand beside it.
        batchMessageHook() = [](const BatchMessage& m) {
            const frmCaricoBatch* f = ui::desktop().find<frmCaricoBatch>();
            if (f && f->progresso_) f->progresso_->showPending();
            return messaggioCarico(m);
        };
        FineCaricoForm(*this);
        loadOk_ = 1;
    } catch (const std::exception& e) {
        ErroreCaricoForm(std::nullopt, std::nullopt, "", msTitolo + "\n", &e);
        gbInChiusura = true;
        loadOk_ = -1;
    }
}

void frmCaricoBatch::Form_Unload(bool& Cancel) {
    // A run also lasts after a stop was asked, until its fix-up is over.
    if (giStatoCarica != 0) {
        Cancel = true;
        return;
    }
    if (loadOk_ != 1) return;
    if (!mbFineElab && frmMsgCom::msgCom("Confermi annullamento caricamento batch", "&Si",
                                         std::string("&No")) != 1) {
        Cancel = true;
        return;
    }
    batchMessageHook() = nullptr;
    ChiudiProgramma(false);
}

void frmCaricoBatch::Form_KeyDown(int& KeyCode, int Shift) {
    if (GestTastiForm(KeyCode, Shift, *this) <= 0) TastiComandiLista(*this, KeyCode, Shift);
}

void frmCaricoBatch::Form_KeyPress(int& KeyAscii) { KeyAscii = FiltraKeyAscii(*this, KeyAscii); }

void frmCaricoBatch::DriCarica_Change() {
    try {
        DirCarica.setPath(DriCarica.drive());
    } catch (const NumberedError&) {
        // A drive that is not ready leaves the folder list where it was.
    }
}

void frmCaricoBatch::DirCarica_Change() { LabDirCarica.setCaption(DirCarica.path()); }

void frmCaricoBatch::ComStop_Click() {
    if (frmMsgCom::msgCom("Confermi Interruzione Caricamento", "Si", std::string("No")) == 1)
        giStatoCarica = 2;
}

void frmCaricoBatch::ComAnnulla_Click() { unload(); }

void frmCaricoBatch::PassaA() {
    if (goMenuClient)
        goMenuClient->PassaAProgramma("Caricamento Dati Batch", "frmCaricoBatch", "Tutti");
}

void frmCaricoBatch::StatoPulsanti(bool pbInCorso) {
    comOk.setVisible(!pbInCorso);
    ComAnnulla.setVisible(!pbInCorso);
    ComStop.setVisible(pbInCorso);
    PicMsgElab.setVisible(pbInCorso);
    if (pbInCorso) {
        Label1(0).setCaption("Letti:");
        Label1(1).setCaption("Records");
    }
}

void frmCaricoBatch::MostraProgresso(const ProgressoElab& progresso) {
    // Only what changed reaches the controls: each change is drawn.
    LabMsgElab.setCaption(progresso.phaseText());
    LabFatti.setCaption(std::to_string(progresso.value()));
    labDaFare.setCaption(std::to_string(progresso.secondNumber()));
    LabErrori.setVisible(progresso.labErroriVisible());
    LabDi.setVisible(progresso.labDiVisible());
    double max = proDaFare.max();
    double value = 0;
    if (progresso.shareRead() >= 0) {
        // While a file is read the bar follows its bytes; the counts beside it are lines.
        max = 100;
        value = std::clamp(progresso.shareRead(), 0.0, 1.0) * 100;
    } else if (progresso.labDiVisible() && progresso.secondNumber() > 0) {
        max = static_cast<double>(progresso.secondNumber());
        value = static_cast<double>(std::clamp(progresso.value(), 0L, progresso.secondNumber()));
    }
    proDaFare.setMax(max);
    proDaFare.setValue(value);
}

void registraFrmCaricoBatch() {
    registraForm("frmcaricobatch", [](const ApriFormArgs& args) {
        frmCaricoBatch& f = ui::desktop().instance<frmCaricoBatch>();
        f.osKeySec = args.osKeySec;
        MostraForm(f);
    });
}

}  // namespace tolvane

// The preview size window and the way the print options dialog opens it.
// A closed (not confirmed) window gives nothing back, so no choice is taken by accident.
#include "printing/dimensione_anteprima.h"

#include <algorithm>

#include "common/servizi_finestre.h"
#include "printing/frm_scelta_stam.h"
#include "ui/desktop.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {
constexpr int kMinimo = 50;
constexpr int kMassimo = 180;
}  // namespace

frmVStaPar::frmVStaPar() : Form("frmVStaPar") {
    setCaption("Grandezza visualizzazione stampe");
    move(0, 0, 6000, 3000);
    VsbProp.setMin(kMinimo);
    VsbProp.setMax(kMassimo);
    VsbProp.setSmallChange(5);
    VsbProp.setLargeChange(25);
    VsbProp.setValue(kMinimo);
    VsbProp.move(120, 120, 255, 2200);
    LabProp.setFont({"Arial", 10});
    LabProp.setCaption("100");
    LabProp.move(480, 120, 600, 300);
    PicProva.move(1200, 120, 4600, 1500);
    CheMemVid.setFont({"Arial", 8});
    CheMemVid.setCaption("Memorizza pagine");
    CheMemVid.move(1200, 1800, 2400, 300);
    CmdOk.setCaption("OK");
    CmdOk.move(4600, 1800, 1200, 400);

    VsbProp.on.onChange = [this] { RidisegnaProva(); };
    VsbProp.on.onScroll = [this] { RidisegnaProva(); };
    LabProp.on.onDblClick = [this] { LabProp_DblClick(); };
    CmdOk.on.onClick = [this] { CmdOk_Click(); };
}

void frmVStaPar::Form_Activate() { RidisegnaProva(); }

void frmVStaPar::RidisegnaProva() {
    LabProp.setCaption(std::to_string(VsbProp.value()));
    PicProva.cls();
    ui::Font font = PicProva.font();
    font.name = "Arial";
    font.size = VsbProp.value() / 100.0 * 10;
    PicProva.setFont(font);
    PicProva.print("Testo di Prova. Grandezza dei Caratteri in stampa, ");
    PicProva.print("usando come Font base Arial di grandezza 10 ");
}

void frmVStaPar::LabProp_DblClick() {
    VsbProp.setValue(67);
    RidisegnaProva();
    CheMemVid.setValue(ui::check::Checked);
}

void frmVStaPar::CmdOk_Click() { hide(); }

bool MostraFrmVStaPar(int& piValore, int& piMemVid) {
    frmVStaPar& finestra = ui::desktop().load<frmVStaPar>();
    finestra.VsbProp.setValue(std::clamp(piValore, kMinimo, kMassimo));
    finestra.CheMemVid.setValue(piMemVid == 1 ? ui::check::Checked : ui::check::Unchecked);
    MostraForm(finestra, true, 1, 0);
    if (finestra.unloadedForGood()) return false;
    piValore = finestra.VsbProp.value();
    piMemVid = finestra.CheMemVid.value() == ui::check::Checked ? 1 : 0;
    finestra.unload();
    return true;
}

void collegaFrmVStaPar() { FrmSceltaStam::extensions().previewSize = MostraFrmVStaPar; }

}  // namespace tolvane

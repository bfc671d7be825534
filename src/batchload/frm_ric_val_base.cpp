// The base-value prompt: its controls, keys and the two buttons, which only hide the window so
// that the batch window can read what was typed. Never reads or writes a database.
#include "batchload/frm_ric_val_base.h"

#include "common/servizi_finestre.h"
#include "platform/numbered_error.h"

namespace tolvane {

frmRicValBase::frmRicValBase() : Form("frmRicValBase") {
    setCaption("Richiesta Valori Base");
    move(0, 0, 6600, 5400);
    Label1.setCaption("Inserire i valori richiesti");
    Label1.move(120, 120, 6000, 255);
    comOk.setCaption("&Ok");
    comOk.setDefault(true);
    comOk.move(3600, 4560, 1215, 375);
    ComAnnulla.setCaption("&Annulla");
    ComAnnulla.setCancel(true);
    ComAnnulla.move(4920, 4560, 1215, 375);
    comOk.on.onClick = [this] {
        obOk = true;
        hide();
    };
    ComAnnulla.on.onClick = [this] {
        obOk = false;
        hide();
    };
    txt.on.onGotFocus = [](int) { EvidenziaCampo(); };
}

bool frmRicValBase::CreaRighe() {
    for (int i = 0; i < kRighe; ++i) {
        ui::Label& etichetta = Lab.add(i);
        etichetta.move(120, 480 + i * 390, 3000, 285);
        ui::TextBox& casella = txt.add(i);
        casella.move(3240, 480 + i * 390, 2895, 285);
    }
    return true;
}

std::string& frmRicValBase::elemento(Elenco& elenco, int indice, const char* nome) {
    if (indice < 0 || indice > kRighe)
        throw NumberedError(errnum::Subscript, "Subscript out of range", nome);
    return elenco[static_cast<std::size_t>(indice)];
}

std::string& frmRicValBase::osRottura(int piC) { return elemento(rottura_, piC, "osRottura"); }
std::string& frmRicValBase::ovContat(int piC) { return elemento(contat_, piC, "ovContat"); }
std::string& frmRicValBase::osNomeTab(int piIndice) {
    return elemento(nomeTab_, piIndice, "osNomeTab");
}
std::string& frmRicValBase::osNomeCampo(int piIndice) {
    return elemento(nomeCampo_, piIndice, "osNomeCampo");
}

void frmRicValBase::Form_Load() { setKeyPreview(true); }

void frmRicValBase::Form_KeyDown(int& KeyCode, int Shift) {
    if (GestTastiForm(KeyCode, Shift, *this) <= 0) TastiComandiLista(*this, KeyCode, Shift);
}

void frmRicValBase::Form_KeyPress(int& KeyAscii) { KeyAscii = FiltraKeyAscii(*this, KeyAscii); }

}  // namespace tolvane

// The common key handling of the windows: key-press filter, key-down handler (with find and
// replace in the active text box), list command keys, field moves, F1 help and the help
// buttons. Keys reach the windows only through the model.
#include <cctype>
#include <optional>

#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "platform/numbered_error.h"
#include "platform/text.h"
#include "ui/desktop.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

std::string gsUltimoCercato;  // proposed again by the next find or replace

// Unlike InputBox, tells a cancel from an empty answer (replacing with nothing is allowed).
std::optional<std::string> Chiedi(const std::string& prompt, const std::string& titolo,
                                  const std::string& proposta = {}) {
    ui::ModalScope modal;
    return ui::desktop().driver().inputBox(ui::InputRequest{prompt, titolo, proposta});
}

std::optional<std::string> ChiediCercato(const std::string& titolo) {
    auto cercato = Chiedi("Testo da cercare:", titolo, gsUltimoCercato);
    if (!cercato || cercato->empty()) return std::nullopt;
    gsUltimoCercato = *cercato;
    return cercato;
}

// Selects the next occurrence after the selection, starting again from the top.
void TrovaInCampo(ui::TextBox& box) {
    auto cercato = ChiediCercato("Trova");
    if (!cercato) return;
    long pos = InStr(box.selStart() + box.selLength() + 1, box.text(), *cercato);
    if (pos == 0) pos = InStr(1, box.text(), *cercato);
    if (pos == 0) {
        frmMsgCom::msgCom("Testo non trovato", "&Ok");
        return;
    }
    box.setSelStart(static_cast<int>(pos - 1));
    box.setSelLength(static_cast<int>(Len(*cercato)));
}

// Replaces every occurrence; a result longer than the field may hold is refused whole.
void SostituisciInCampo(ui::TextBox& box) {
    if (box.locked()) return;
    auto cercato = ChiediCercato("Sostituisci");
    if (!cercato) return;
    if (InStr(1, box.text(), *cercato) == 0) {
        frmMsgCom::msgCom("Testo non trovato", "&Ok");
        return;
    }
    auto nuovo = Chiedi("Sostituisci con:", "Sostituisci");
    if (!nuovo) return;
    std::string risultato = Replace(box.text(), *cercato, *nuovo);
    if (box.maxLength() > 0 && Len(risultato) > static_cast<std::size_t>(box.maxLength())) {
        frmMsgCom::msgCom("Testo troppo lungo per il campo", "&Ok");
        return;
    }
    box.setText(risultato);
}

}  // namespace

int FiltraKeyAscii(int KeyAscii) {
    if (KeyAscii == ui::key::Escape) return 0;
    if (KeyAscii == ui::key::Return) return gbInvioPassa ? KeyAscii : 0;
    if (KeyAscii == '.' && equalText(gsPuntoDecimale, "S") &&
        ui::desktop().lastKeyCode() == ui::key::Decimal &&
        (ui::desktop().lastShift() & ui::shift::Shift) == 0) {
        return ',';
    }
    return KeyAscii;
}

int FiltraKeyAscii(ui::Form&, int& KeyAscii) {
    KeyAscii = FiltraKeyAscii(KeyAscii);
    return KeyAscii;
}

bool GestTastoF1(ui::Form& form, int KeyCode, int Shift, bool) {
    if (KeyCode != ui::key::F1) return false;
    ui::HelpRequest request;
    request.file = gsFileHelp;
    if (Shift == ui::shift::None) {
        request.command = 0;
        request.contextID = form.helpContextID();
        for (ui::Control* c = form.activeControl(); c != nullptr; c = c->container()) {
            if (c->helpContextID() != 0) {
                request.contextID = c->helpContextID();
                break;
            }
        }
    } else if (Shift == ui::shift::Ctrl) {
        request.command = 1;
    } else if (Shift == ui::shift::Alt) {
        request.command = 2;
    } else {
        return false;
    }
    ui::desktop().driver().help(request);
    return true;
}

int GestTastiForm(int& KeyCode, int& Shift, ui::Form& form) {
    if (GestTastoF1(form, KeyCode, Shift)) {
        KeyCode = 0;
        return 1;
    }
    bool lettera = KeyCode >= 'A' && KeyCode <= 'Z';
    if (lettera && Shift == ui::shift::Ctrl && !gsTastiCtrl.empty() &&
        InStr(1, gsTastiCtrl, std::string(1, static_cast<char>(KeyCode))) == 0) {
        KeyCode = 0;  // a Ctrl key that the setting does not allow
        return 1;
    }
    ui::Control* active = form.activeControl();
    bool trova = KeyCode == 'F';
    if (Shift != ui::shift::Ctrl || (!trova && KeyCode != 'H') || active == nullptr ||
        active->kind() != ui::ControlKind::TextBox) {
        return 0;
    }
    KeyCode = 0;
    auto& box = static_cast<ui::TextBox&>(*active);
    if (trova) {
        TrovaInCampo(box);
    } else {
        SostituisciInCampo(box);
    }
    return 1;
}

void TastiComandiLista(ui::Form& form, int& KeyCode, int Shift) {
    auto it = gmTastiComandiLista.find({KeyCode, Shift});
    if (it == gmTastiComandiLista.end()) return;
    for (ui::Control* c : form.controls()) {
        if (c->kind() != ui::ControlKind::Toolbar) continue;
        auto& toolbar = static_cast<ui::Toolbar&>(*c);
        if (toolbar.findButton(it->second) == nullptr) continue;
        KeyCode = 0;
        toolbar.pressButton(it->second);
        return;
    }
    if (!form.hasMember("ButtonComando")) return;
    KeyCode = 0;
    form.callByName("ButtonComando", {Variant(it->second)});
}

void TastiCampo(int, int Shift) {
    ui::Form* form = ui::desktop().focusForm();
    if (form == nullptr) return;
    ui::Control* next =
        form->nextInTabOrder(form->activeControl(), (Shift & ui::shift::Shift) != 0);
    if (next != nullptr) form->moveFocus(*next);
}

void FocusPerHelp(ui::Form& form, int piIndice, int KeyCode, int Shift) {
    ui::Control* field = form.findControl("txt", piIndice);
    if (field == nullptr) {
        throw NumberedError(
            errnum::NoSuchArrayElement,
            "Control array element '" + std::to_string(piIndice) + "' doesn't exist", "txt");
    }
    field->setFocus();
    ui::DoEvents();
    int code = KeyCode;
    field->raiseKeyUp(code, Shift);
}

}  // namespace tolvane

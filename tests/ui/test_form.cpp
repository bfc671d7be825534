// The test window's layout and its event log.
#include "test_form.h"

namespace tolvane::ui::testing {

frmProva::frmProva() : Form("frmProva") {
    PicPagine1.setTabStop(false);
    PicPagine2.setTabStop(false);
    PicPagine2.setVisible(false);
    for (int i : {10, 20, 30}) txt.add(i, &PicPagine1);
    txt.add(2000, &PicPagine2);
    for (int i : {1, 2}) Che.add(i, &PicPagine1);
    for (int i : {0, 1}) Opt.add(i, &PicPagine1);
    Combo.addItem("Lire");
    Combo.addItem("Euro");
    TasPagine.addTab("(1) Dati", "Dati");
    TasPagine.addTab("(2) Altro", "Altro");
    for (Control* last : std::vector<Control*>{&Combo, &TasPagine, &comOk, &ComAnnulla}) {
        last->setTabIndex(static_cast<int>(controls().size()) - 1);
    }

    auto note = [this](const std::string& what) { log.push_back(what); };
    txt.on.onGotFocus = [note](int i) { note("GotFocus txt(" + std::to_string(i) + ")"); };
    txt.on.onLostFocus = [note](int i) { note("LostFocus txt(" + std::to_string(i) + ")"); };
    txt.on.onChange = [note](int i) { note("Change txt(" + std::to_string(i) + ")"); };
    txt.on.onKeyDown = [note](int i, int& k, int) {
        note("KeyDown txt(" + std::to_string(i) + ") " + std::to_string(k));
    };
    txt.on.onKeyPress = [note](int i, int& a) {
        note("KeyPress txt(" + std::to_string(i) + ") " + std::to_string(a));
    };
    txt.on.onKeyUp = [note](int i, int& k, int) {
        note("KeyUp txt(" + std::to_string(i) + ") " + std::to_string(k));
    };
    Che.on.onClick = [note](int i) { note("Click Che(" + std::to_string(i) + ")"); };
    Opt.on.onClick = [note](int i) { note("Click Opt(" + std::to_string(i) + ")"); };
    Combo.on.onClick = [note] { note("Click Combo"); };
    comOk.on.onGotFocus = [note] { note("GotFocus comOk"); };
    comOk.on.onClick = [note] { note("Click comOk"); };
    ComAnnulla.on.onClick = [note] { note("Click ComAnnulla"); };
    TasPagine.on.onBeforeClick = [note](bool&) { note("BeforeClick TasPagine"); };
    TasPagine.on.onClick = [note] { note("Click TasPagine"); };
}

void frmProva::Form_QueryUnload(bool& Cancel, UnloadMode mode) {
    log.push_back("QueryUnload " + std::to_string(static_cast<int>(mode)));
    Cancel = cancelUnload;
}

void frmProva::Form_KeyDown(int& KeyCode, int) {
    log.push_back("Form_KeyDown " + std::to_string(KeyCode));
    if (swallowKeyDown) KeyCode = 0;
}

void frmProva::Form_KeyPress(int& KeyAscii) {
    log.push_back("Form_KeyPress " + std::to_string(KeyAscii));
    if (swallowKeyPress) KeyAscii = 0;
}

frmAltra::frmAltra() : Form("frmAltra") {
    txtNome.on.onGotFocus = [this] { log.push_back("GotFocus txtNome"); };
    txtNome.on.onLostFocus = [this] { log.push_back("LostFocus txtNome"); };
}

}  // namespace tolvane::ui::testing

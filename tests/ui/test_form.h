// A small window for the window model's own tests: two pages of fields, check boxes, options,
// a combo, buttons, a tab strip; every event is written to a log.
#pragma once

#include <string>
#include <vector>

#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane::ui::testing {

class frmProva : public Form {
  public:
    frmProva() : Form("frmProva") {
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
        auto field = [note](const char* event, int i, int code = -1) {
            const std::string key = code < 0 ? "" : " " + std::to_string(code);
            note(std::string(event) + " txt(" + std::to_string(i) + ")" + key);
        };
        txt.on.onGotFocus = [field](int i) { field("GotFocus", i); };
        txt.on.onLostFocus = [field](int i) { field("LostFocus", i); };
        txt.on.onChange = [field](int i) { field("Change", i); };
        txt.on.onKeyDown = [field](int i, int& k, int) { field("KeyDown", i, k); };
        txt.on.onKeyPress = [field](int i, int& a) { field("KeyPress", i, a); };
        txt.on.onKeyUp = [field](int i, int& k, int) { field("KeyUp", i, k); };
        Che.on.onClick = [note](int i) { note("Click Che(" + std::to_string(i) + ")"); };
        Opt.on.onClick = [note](int i) { note("Click Opt(" + std::to_string(i) + ")"); };
        Combo.on.onClick = [note] { note("Click Combo"); };
        comOk.on.onGotFocus = [note] { note("GotFocus comOk"); };
        comOk.on.onClick = [note] { note("Click comOk"); };
        ComAnnulla.on.onClick = [note] { note("Click ComAnnulla"); };
        TasPagine.on.onBeforeClick = [note](bool&) { note("BeforeClick TasPagine"); };
        TasPagine.on.onClick = [note] { note("Click TasPagine"); };
    }

    PictureBox& PicPagine1 = add<PictureBox>("PicPagine1");
    PictureBox& PicPagine2 = add<PictureBox>("PicPagine2");
    ControlArray<TextBox> txt{*this, "txt"};
    ControlArray<CheckBox> Che{*this, "Che"};
    ControlArray<OptionButton> Opt{*this, "Opt"};
    ComboBox& Combo = add<ComboBox>("Combo");
    TabStrip& TasPagine = add<TabStrip>("TasPagine");
    CommandButton& comOk = add<CommandButton>("comOk");
    CommandButton& ComAnnulla = add<CommandButton>("ComAnnulla");
    Label& LabInfo = add<Label>("LabInfo");

    std::vector<std::string> log;
    bool cancelUnload = false;
    bool swallowKeyDown = false;
    bool swallowKeyPress = false;

    void Form_Load() override { log.push_back("Load"); }
    void Form_Activate() override { log.push_back("Activate"); }
    void Form_Deactivate() override { log.push_back("Deactivate"); }
    void Form_QueryUnload(bool& Cancel, UnloadMode mode) override {
        log.push_back("QueryUnload " + std::to_string(static_cast<int>(mode)));
        Cancel = cancelUnload;
    }
    void Form_Unload(bool&) override { log.push_back("Unload"); }
    void Form_KeyDown(int& KeyCode, int) override {
        log.push_back("Form_KeyDown " + std::to_string(KeyCode));
        if (swallowKeyDown) KeyCode = 0;
    }
    void Form_KeyPress(int& KeyAscii) override {
        log.push_back("Form_KeyPress " + std::to_string(KeyAscii));
        if (swallowKeyPress) KeyAscii = 0;
    }
    void Form_KeyUp(int& KeyCode, int) override {
        log.push_back("Form_KeyUp " + std::to_string(KeyCode));
    }
};

// A second window, to see that focus events stay inside one window.
class frmAltra : public Form {
  public:
    frmAltra() : Form("frmAltra") {
        txtNome.on.onGotFocus = [this] { log.push_back("GotFocus txtNome"); };
        txtNome.on.onLostFocus = [this] { log.push_back("LostFocus txtNome"); };
    }
    TextBox& txtNome = add<TextBox>("txtNome");
    std::vector<std::string> log;
};

}  // namespace tolvane::ui::testing

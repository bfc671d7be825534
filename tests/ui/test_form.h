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
    frmProva();

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
    void Form_QueryUnload(bool& Cancel, UnloadMode mode) override;
    void Form_Unload(bool&) override { log.push_back("Unload"); }
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_KeyPress(int& KeyAscii) override;
    void Form_KeyUp(int& KeyCode, int) override {
        log.push_back("Form_KeyUp " + std::to_string(KeyCode));
    }
};

// A second window, to see that focus events stay inside one window.
class frmAltra : public Form {
  public:
    frmAltra();
    TextBox& txtNome = add<TextBox>("txtNome");
    std::vector<std::string> log;
};

}  // namespace tolvane::ui::testing

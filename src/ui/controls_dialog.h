// The file, folder and font dialogs. They open only through the driver, never by themselves.
#pragma once

#include <string>

#include "ui/control.h"

namespace tolvane::ui {

// File, folder and font dialogs; they open through the driver and keep the answer in their
// properties. With cancelError set, a cancel raises 32755.
class CommonDialog : public Control {
  public:
    CommonDialog(Form& form, std::string name, int index);

    std::string dialogTitle;
    std::string fileName;
    std::string fileTitle;
    std::string filter;  // "Testo|*.txt|Tutti|*.*"
    int filterIndex = 1;
    long flags = 0;
    bool cancelError = false;
    std::string initDir;
    std::string defaultExt;
    Font dialogFont;  // the font proposed to, then chosen in, the font dialog

    void showOpen();
    void showSave();
    void showFolder();
    void showFont();
    bool canTakeFocus() const override { return false; }
};

}  // namespace tolvane::ui

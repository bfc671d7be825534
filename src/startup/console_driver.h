// The driver of a run without a display: every message goes to the standard error stream and
// is answered with its default button. Never lets a window be worked in: a modal form is
// refused, dialogs come back cancelled.
#pragma once

#include "ui/driver.h"

namespace tolvane {

class ConsoleDriver : public ui::Driver {
  public:
    ConsoleDriver();
    ~ConsoleDriver() override;

    int message(const ui::MessageRequest& request) override;
    void runModal(ui::Form& form) override;
    ui::FileDialogAnswer fileDialog(const ui::FileDialogRequest& request) override;
    std::optional<ui::Font> fontDialog(const ui::FontDialogRequest& request) override;
    std::optional<std::string> inputBox(const ui::InputRequest& request) override;
    void help(const ui::HelpRequest& request) override;
    void beep() override;
    void doEvents() override {}
};

}  // namespace tolvane

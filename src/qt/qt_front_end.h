// The Qt front end of the window model: one Qt window per loaded form, kept in step with the
// model through its observer interface, and the Qt driver for everything modal. The only part
// of the program that includes Qt; it never holds program logic.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ui/driver.h"
#include "ui/observer.h"

class QEventLoop;
class QScreen;

namespace tolvane::qt {

class FormView;

class QtFrontEnd : public ui::UiObserver, public ui::Driver {
  public:
    // Needs a QApplication; installs itself as the desktop's observer and driver, and builds
    // the windows of the forms already loaded.
    QtFrontEnd();
    ~QtFrontEnd() override;
    QtFrontEnd(const QtFrontEnd&) = delete;
    QtFrontEnd& operator=(const QtFrontEnd&) = delete;

    // The Qt window of a form and the widget of a control (nullptr when there is none).
    QWidget* windowOf(const ui::Form& form) const;
    QWidget* widgetOf(const ui::Control& control) const;
    // The window as drawn (offscreen too).
    QImage grab(ui::Form& form);

    // Leaves every modal loop: the program is ending.
    void leaveModalLoops();

    // Observer
    void controlChanged(ui::Control& control, ui::Property property) override;
    void controlAdded(ui::Control& control) override;
    void formChanged(ui::Form& form, ui::Property property) override;
    void formLoaded(ui::Form& form) override;
    void formShown(ui::Form& form, bool modal) override;
    void formHidden(ui::Form& form) override;
    void formUnloaded(ui::Form& form) override;
    void focusChanged(ui::Form& form, ui::Control* control) override;
    void activeFormChanged(ui::Form* form) override;
    void mousePointerChanged(int pointer) override;

    // Driver
    int message(const ui::MessageRequest& request) override;
    void runModal(ui::Form& form) override;
    ui::FileDialogAnswer fileDialog(const ui::FileDialogRequest& request) override;
    std::optional<ui::Font> fontDialog(const ui::FontDialogRequest& request) override;
    std::optional<std::string> inputBox(const ui::InputRequest& request) override;
    void help(const ui::HelpRequest& request) override;
    void beep() override;
    void doEvents() override;
    // Waits for the next event, a short while at most, so that a loop waiting for the user
    // does not spin.
    void waitForEvents() override;

    // Answers the next message windows without showing them (tests and screenshots): each
    // call of message() takes the first answer; none left means shown for real.
    void setMessageAnswerer(std::function<int(const ui::MessageRequest&)> answerer) {
        answerer_ = std::move(answerer);
    }

  private:
    FormView* view(const ui::Form& form) const;
    FormView& ensureView(ui::Form& form);
    void dropView(ui::Form& form);
    // The window a form (nullptr: a message) opens over: the active form's, else Qt's active one.
    QWidget* ownerWindow(const ui::Form* form) const;

    std::map<const ui::Form*, FormView*> views_;
    std::map<const ui::Form*, QPointer<QWidget>> owners_;  // of each window being opened
    std::vector<QEventLoop*> loops_;
    std::function<int(const ui::MessageRequest&)> answerer_;
    bool waitCursor_ = false;
};

// The message window as a Qt dialog (also what the screenshot tool draws), sized to the room of
// its screen (the primary one when none is given).
QWidget* makeMessageDialog(const ui::MessageRequest& request, int* pressed,
                           QScreen* screen = nullptr);

// What Qt draws on its own (message-box buttons, file, font and input dialogs) in Italian, as the
// program's own texts, with numbers kept to the C rules. Needs the QApplication; the program, the
// screenshot tool and the tests start with it.
void useProgramLanguage();

// Runs the program: a QApplication, the front end, the start-up, then the event loop until the
// program ends. Returns the exit code.
int runProgram(int argc, char** argv, const std::function<bool()>& start);

}  // namespace tolvane::qt

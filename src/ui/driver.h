// The one way out to the user for everything modal: message windows, modal forms, common
// dialogs, input prompts, help. A display back end implements it for real; tests script it.
// The window logic never talks to a toolkit directly.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/control.h"

namespace tolvane::ui {

class Form;

struct MessageRequest {
    enum class Source { MessageWindow, MessageBox };
    Source source = Source::MessageBox;
    std::string text;
    std::string title;
    std::vector<std::string> buttons;  // captions as shown, "&" marks the access key
    int defaultButton = 1;             // 1-based
    int icon = 0;                      // message-box icon style (16, 32, 48, 64), 0 none
    bool sound = false;
    // Layout wishes of the message window; a back end may honour them.
    int width = 80;
    int sides = 600;
    double fontSize = 0;  // 0: the window's own
    int buttonWidth = 0;  // 0: the window's own
    bool alwaysTextBox = false;
};

struct FileDialogRequest {
    enum class Kind { Open, Save, Folder };
    Kind kind = Kind::Open;
    std::string title;
    std::string fileName;
    std::string initDir;
    std::string filter;
    int filterIndex = 1;
    std::string defaultExt;
    long flags = 0;
};

struct FileDialogAnswer {
    bool cancelled = true;
    std::string fileName;  // full path; for a folder, the folder
    int filterIndex = 1;
};

struct FontDialogRequest {
    std::string title;
    Font font;
    long flags = 0;
};

struct InputRequest {
    std::string prompt;
    std::string title;
    std::string defaultText;
};

struct HelpRequest {
    std::string file;
    int contextID = 0;
    int command = 0;  // 0 topic by context, 1 contents, 2 index
};

class Driver {
  public:
    virtual ~Driver() = default;

    // Returns the 1-based number of the pressed button.
    virtual int message(const MessageRequest& request) = 0;
    // Lets the user work in a modal form; returns once the form is hidden or unloaded.
    virtual void runModal(Form& form) = 0;
    virtual FileDialogAnswer fileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<Font> fontDialog(const FontDialogRequest& request) = 0;
    // nullopt: cancelled.
    virtual std::optional<std::string> inputBox(const InputRequest& request) = 0;
    virtual void help(const HelpRequest& request) = 0;
    virtual void beep() = 0;
    // Called at every DoEvents point before the queued user actions run.
    virtual void doEvents() = 0;
    // A DoEvents point of a loop that only waits for the user: may block until something
    // happens (a short while at most). The default is a plain DoEvents.
    virtual void waitForEvents() { doEvents(); }
};

// Thrown when a modal interaction reaches a driver that did not expect it; carries the text
// that would have been shown. Derived from nothing in std::exception, so that no handler of
// the window logic, which traps std::exception, takes it for a run-time error of the program.
class UnexpectedWindow {
  public:
    explicit UnexpectedWindow(std::string text) : text_(std::move(text)) {}
    const char* what() const noexcept { return text_.c_str(); }

  private:
    std::string text_;
};

}  // namespace tolvane::ui

// The driver of headless tests: answers every modal interaction from the test's script, in
// order, and records all that was shown. A window that the script did not expect fails the
// test with its text (the failure hook, then UnexpectedWindow thrown).
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/driver.h"
#include "ui/form.h"

namespace tolvane::ui {

class ScriptedDriver : public Driver {
  public:
    enum class Kind { Message, Form, FileDialog, FontDialog, Input };

    struct Shown {
        Kind kind = Kind::Message;
        std::string title;
        std::string text;  // message text, form name, dialog title or prompt
        std::vector<std::string> buttons;
        int answer = 0;  // pressed button (messages)
        MessageRequest::Source source = MessageRequest::Source::MessageBox;
    };

    // Installs itself as the desktop's driver; the destructor puts the default one back.
    ScriptedDriver();
    ~ScriptedDriver() override;

    // Script steps, consumed in order. A text to match is looked for inside the shown text
    // (case-insensitive); an empty one matches anything.
    ScriptedDriver& answerMessage(std::string textPart, int button);
    ScriptedDriver& answerMessage(std::string textPart, std::string buttonCaption);
    // The actions run as the user inside the modal form; they must hide or unload it.
    ScriptedDriver& onForm(std::string formName, std::function<void(Form&)> actions);
    ScriptedDriver& chooseFile(std::string fileName, int filterIndex = 1);
    ScriptedDriver& chooseFolder(std::string folder);
    ScriptedDriver& cancelFileDialog();
    ScriptedDriver& chooseFont(Font font);
    ScriptedDriver& cancelFontDialog();
    ScriptedDriver& answerInput(std::string text);
    ScriptedDriver& cancelInput();
    // Runs an action (as the user) at the n-th DoEvents point from now (1: the next one).
    ScriptedDriver& atDoEvents(int n, std::function<void()> action);

    // What was shown, in order.
    const std::vector<Shown>& shown() const { return shown_; }
    std::vector<std::string> messageTexts() const;
    std::size_t pendingSteps() const { return steps_.size(); }
    // A line per step not yet used; empty when the script ran to its end.
    std::string pendingDescription() const;
    const std::vector<std::string>& failures() const { return failures_; }
    const std::vector<HelpRequest>& helpShown() const { return help_; }
    int beeps() const { return beeps_; }

    // Called with the text of every failure before UnexpectedWindow is thrown (a test
    // framework's failure report, say).
    void setFailureHook(std::function<void(const std::string&)> hook) { hook_ = std::move(hook); }

    int message(const MessageRequest& request) override;
    void runModal(Form& form) override;
    FileDialogAnswer fileDialog(const FileDialogRequest& request) override;
    std::optional<Font> fontDialog(const FontDialogRequest& request) override;
    std::optional<std::string> inputBox(const InputRequest& request) override;
    void help(const HelpRequest& request) override;
    void beep() override;
    void doEvents() override;

  private:
    struct Step {
        Kind kind = Kind::Message;
        std::string match;
        int button = 0;
        std::string buttonCaption;
        std::function<void(Form&)> formActions;
        FileDialogAnswer file;
        std::optional<Font> font;
        std::optional<std::string> input;
    };

    Step take(Kind kind, const std::string& shownText, const std::string& what);
    [[noreturn]] void fail(const std::string& text);

    std::deque<Step> steps_;
    std::vector<Shown> shown_;
    std::vector<std::string> failures_;
    std::vector<HelpRequest> help_;
    std::multimap<long, std::function<void()>> timed_;  // by DoEvents count
    int beeps_ = 0;
    std::function<void(const std::string&)> hook_;
};

}  // namespace tolvane::ui

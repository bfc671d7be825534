// Answers modal interactions from a test's script and records what was shown; anything the
// script did not foresee is reported through the failure hook and thrown.
#include "ui/scripted_driver.h"

#include "platform/text.h"
#include "ui/desktop.h"

namespace tolvane::ui {

namespace {

std::string withoutAccessKey(std::string_view caption) { return Replace(caption, "&", ""); }

const char* kindName(ScriptedDriver::Kind kind) {
    switch (kind) {
        case ScriptedDriver::Kind::Message:
            return "message";
        case ScriptedDriver::Kind::Form:
            return "modal window";
        case ScriptedDriver::Kind::FileDialog:
            return "file dialog";
        case ScriptedDriver::Kind::FontDialog:
            return "font dialog";
        case ScriptedDriver::Kind::Input:
            return "input prompt";
    }
    return "window";
}

}  // namespace

ScriptedDriver::ScriptedDriver() { desktop().setDriver(this); }

ScriptedDriver::~ScriptedDriver() {
    if (&desktop().driver() == this) desktop().setDriver(nullptr);
    if (!steps_.empty() && failures_.empty() && hook_) {
        hook_("Script steps never used:\n" + pendingDescription());
    }
}

ScriptedDriver& ScriptedDriver::answerMessage(std::string textPart, int button) {
    Step s;
    s.kind = Kind::Message;
    s.match = std::move(textPart);
    s.button = button;
    steps_.push_back(std::move(s));
    return *this;
}

ScriptedDriver& ScriptedDriver::answerMessage(std::string textPart, std::string buttonCaption) {
    Step s;
    s.kind = Kind::Message;
    s.match = std::move(textPart);
    s.buttonCaption = std::move(buttonCaption);
    steps_.push_back(std::move(s));
    return *this;
}

ScriptedDriver& ScriptedDriver::onForm(std::string formName, std::function<void(Form&)> actions) {
    Step s;
    s.kind = Kind::Form;
    s.match = std::move(formName);
    s.formActions = std::move(actions);
    steps_.push_back(std::move(s));
    return *this;
}

ScriptedDriver& ScriptedDriver::chooseFile(std::string fileName, int filterIndex) {
    Step s;
    s.kind = Kind::FileDialog;
    s.file = FileDialogAnswer{false, std::move(fileName), filterIndex};
    steps_.push_back(std::move(s));
    return *this;
}

ScriptedDriver& ScriptedDriver::chooseFolder(std::string folder) {
    return chooseFile(std::move(folder));
}

ScriptedDriver& ScriptedDriver::cancelFileDialog() {
    Step s;
    s.kind = Kind::FileDialog;
    s.file = FileDialogAnswer{};
    steps_.push_back(std::move(s));
    return *this;
}

ScriptedDriver& ScriptedDriver::chooseFont(Font font) {
    Step s;
    s.kind = Kind::FontDialog;
    s.font = std::move(font);
    steps_.push_back(std::move(s));
    return *this;
}

ScriptedDriver& ScriptedDriver::cancelFontDialog() {
    Step s;
    s.kind = Kind::FontDialog;
    steps_.push_back(std::move(s));
    return *this;
}

ScriptedDriver& ScriptedDriver::answerInput(std::string text) {
    Step s;
    s.kind = Kind::Input;
    s.input = std::move(text);
    steps_.push_back(std::move(s));
    return *this;
}

ScriptedDriver& ScriptedDriver::cancelInput() {
    Step s;
    s.kind = Kind::Input;
    steps_.push_back(std::move(s));
    return *this;
}

ScriptedDriver& ScriptedDriver::atDoEvents(int n, std::function<void()> action) {
    timed_.emplace(desktop().doEventsCount() + (n < 1 ? 1 : n), std::move(action));
    return *this;
}

std::vector<std::string> ScriptedDriver::messageTexts() const {
    std::vector<std::string> out;
    for (const auto& s : shown_) {
        if (s.kind == Kind::Message) out.push_back(s.text);
    }
    return out;
}

std::string ScriptedDriver::pendingDescription() const {
    std::string out;
    for (const auto& s : steps_) {
        out += "  ";
        out += kindName(s.kind);
        if (!s.match.empty()) out += " \"" + s.match + "\"";
        out += "\n";
    }
    return out;
}

void ScriptedDriver::fail(const std::string& text) {
    failures_.push_back(text);
    if (hook_) hook_(text);
    throw UnexpectedWindow(text);
}

ScriptedDriver::Step ScriptedDriver::take(Kind kind, const std::string& shownText,
                                          const std::string& detail) {
    std::string what = std::string(kindName(kind)) + " \"" + shownText + "\"" + detail;
    if (steps_.empty()) fail("Unexpected " + what);
    const Step& next = steps_.front();
    if (next.kind != kind) {
        fail("Unexpected " + what + " while the script waits for a " + kindName(next.kind) +
             (next.match.empty() ? "" : " \"" + next.match + "\""));
    }
    bool matches = kind == Kind::Form ? next.match.empty() || equalText(next.match, shownText)
                                      : next.match.empty() || InStr(1, shownText, next.match) > 0;
    if (!matches) fail("Unexpected " + what + " while the script waits for \"" + next.match + "\"");
    Step step = std::move(steps_.front());
    steps_.pop_front();
    return step;
}

int ScriptedDriver::message(const MessageRequest& request) {
    Shown shown{Kind::Message, request.title, request.text, request.buttons, 0, request.source};
    shown_.push_back(shown);
    std::string buttons;
    for (const auto& b : request.buttons) buttons += (buttons.empty() ? "" : ", ") + b;
    Step step = take(Kind::Message, request.text, " [" + buttons + "]");
    int pressed = step.button;
    if (!step.buttonCaption.empty()) {
        pressed = 0;
        for (std::size_t i = 0; i < request.buttons.size(); ++i) {
            if (equalText(withoutAccessKey(request.buttons[i]),
                          withoutAccessKey(step.buttonCaption))) {
                pressed = static_cast<int>(i) + 1;
                break;
            }
        }
    }
    if (pressed < 1 || pressed > static_cast<int>(request.buttons.size())) {
        fail("The script presses a button that the message \"" + request.text +
             "\" does not have [" + buttons + "]");
    }
    shown_.back().answer = pressed;
    return pressed;
}

void ScriptedDriver::runModal(Form& form) {
    shown_.push_back(Shown{Kind::Form, form.caption(), form.name(), {}, 0, {}});
    Step step = take(Kind::Form, form.name(), "");
    if (step.formActions) step.formActions(form);
    if (form.visible() && form.loaded()) {
        fail("The modal window " + form.name() + " is still open after its script");
    }
}

FileDialogAnswer ScriptedDriver::fileDialog(const FileDialogRequest& request) {
    shown_.push_back(Shown{Kind::FileDialog, request.title, request.title, {}, 0, {}});
    return take(Kind::FileDialog, request.title, "").file;
}

std::optional<Font> ScriptedDriver::fontDialog(const FontDialogRequest& request) {
    shown_.push_back(Shown{Kind::FontDialog, request.title, request.title, {}, 0, {}});
    return take(Kind::FontDialog, request.title, "").font;
}

std::optional<std::string> ScriptedDriver::inputBox(const InputRequest& request) {
    shown_.push_back(Shown{Kind::Input, request.title, request.prompt, {}, 0, {}});
    return take(Kind::Input, request.prompt, "").input;
}

void ScriptedDriver::help(const HelpRequest& request) { help_.push_back(request); }

void ScriptedDriver::beep() { ++beeps_; }

void ScriptedDriver::doEvents() {
    long now = desktop().doEventsCount();
    while (!timed_.empty() && timed_.begin()->first <= now) {
        auto action = std::move(timed_.begin()->second);
        timed_.erase(timed_.begin());
        action();
    }
}

}  // namespace tolvane::ui

// The session of the window model: forms, activation, modal depth, DoEvents queue, driver,
// observers, and the plain message box and input prompt built on the driver.
#include "ui/desktop.h"

#include <algorithm>

#include "platform/print_server_waits.h"
#include "platform/text.h"
#include "ui/controls.h"
#include "ui/ui_constants.h"

namespace tolvane::ui {

namespace {

// In force when nobody installed a driver: a modal interaction then is a fault.
class RefusingDriver : public Driver {
  public:
    int message(const MessageRequest& r) override {
        throw UnexpectedWindow("Message window with no driver: " + r.text);
    }
    void runModal(Form& form) override {
        throw UnexpectedWindow("Modal window with no driver: " + form.name());
    }
    FileDialogAnswer fileDialog(const FileDialogRequest& r) override {
        throw UnexpectedWindow("File dialog with no driver: " + r.title);
    }
    std::optional<Font> fontDialog(const FontDialogRequest& r) override {
        throw UnexpectedWindow("Font dialog with no driver: " + r.title);
    }
    std::optional<std::string> inputBox(const InputRequest& r) override {
        throw UnexpectedWindow("Input prompt with no driver: " + r.prompt);
    }
    void help(const HelpRequest&) override {}
    void beep() override {}
    void doEvents() override {}
};

constexpr int kMaxActionsPerDoEvents = 10000;

}  // namespace

Desktop::Desktop() : defaultDriver_(std::make_unique<RefusingDriver>()) {
    // Wherever the program waits on a print server, the user sees it busy.
    setPrintServerWaitShown([this](bool waiting) { printServerWait(waiting); });
}

Desktop::~Desktop() {
    setPrintServerWaitShown(nullptr);
    observers_.clear();
    zOrder_.clear();
    activeForm_ = nullptr;
    auto forms = std::move(forms_);
    forms.clear();
}

void Desktop::adopt(std::unique_ptr<Form> form) { forms_.push_back(std::move(form)); }

Form* Desktop::findForm(std::string_view name) const {
    for (const auto& form : forms_) {
        if (!form->unloadedForGood() && equalText(form->name(), name)) return form.get();
    }
    return nullptr;
}

std::vector<Form*> Desktop::loadedForms() const {
    std::vector<Form*> out;
    for (const auto& form : forms_) {
        if (form->loaded()) out.push_back(form.get());
    }
    return out;
}

Control* Desktop::activeControl() const {
    Form* form = focusForm();
    return form != nullptr ? form->activeControl() : nullptr;
}

void Desktop::popModalForm(Form& form) {
    auto it = std::find(modalForms_.rbegin(), modalForms_.rend(), &form);
    if (it != modalForms_.rend()) modalForms_.erase(std::next(it).base());
}

Driver& Desktop::driver() { return driver_ != nullptr ? *driver_ : *defaultDriver_; }

void Desktop::setDriver(Driver* driver) { driver_ = driver; }

void Desktop::addObserver(UiObserver* observer) {
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
        observers_.push_back(observer);
    }
}

void Desktop::removeObserver(UiObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void Desktop::setMousePointer(int pointer) {
    if (pointer == mousePointer_) return;
    mousePointer_ = pointer;
    notify([&](UiObserver& o) { o.mousePointerChanged(pointer); });
}

void Desktop::printServerWait(bool waiting) {
    if (waiting) {
        if (serverWaits_++ > 0) return;
        pointerBeforeWait_ = mousePointer_;
        setMousePointer(pointer::Hourglass);
    } else if (serverWaits_ > 0 && --serverWaits_ == 0) {
        setMousePointer(pointerBeforeWait_);
    }
}

void Desktop::post(std::function<void()> action) { queue_.push_back(std::move(action)); }

int Desktop::doEvents() {
    ++doEventsCount_;
    driver().doEvents();
    return runQueued();
}

int Desktop::waitForEvents() {
    ++doEventsCount_;
    driver().waitForEvents();
    return runQueued();
}

int Desktop::runQueued() {
    int ran = 0;
    while (!queue_.empty() && ran < kMaxActionsPerDoEvents) {
        auto action = std::move(queue_.front());
        queue_.pop_front();
        ++ran;
        action();
    }
    return ran;
}

void Desktop::fireTimers() {
    for (Form* form : loadedForms()) {
        for (Control* c : form->controls()) {
            if (c->kind() == ControlKind::Timer) static_cast<Timer*>(c)->tick();
        }
    }
}

void Desktop::keyWentDown(int keyCode, int shift) {
    lastKeyCode_ = keyCode;
    lastShift_ = shift;
}

void Desktop::reset() {
    observers_.clear();
    zOrder_.clear();
    activeForm_ = nullptr;
    lastFocusForm_ = nullptr;
    modalForms_.clear();
    auto forms = std::move(forms_);
    forms_.clear();
    forms.clear();
    modalDepth_ = 0;
    driver_ = nullptr;
    mousePointer_ = 0;
    serverWaits_ = 0;
    appTitle_ = "Tolvane";
    queue_.clear();
    doEventsCount_ = 0;
    lastKeyCode_ = 0;
    lastShift_ = 0;
}

void Desktop::activate(Form* form) {
    if (form == activeForm_) return;
    Form* old = activeForm_;
    activeForm_ = form;
    if (form != nullptr) {
        zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), form), zOrder_.end());
        zOrder_.push_back(form);
    }
    notify([&](UiObserver& o) { o.activeFormChanged(form); });
    if (old != nullptr) old->raiseDeactivate();
    if (form != nullptr && activeForm_ == form) form->raiseActivate();
}

void Desktop::formShown(Form& form, bool modal) {
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), &form), zOrder_.end());
    zOrder_.push_back(&form);
    notify([&](UiObserver& o) { o.formShown(form, modal); });
}

void Desktop::formHidden(Form& form) {
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), &form), zOrder_.end());
    notify([&](UiObserver& o) { o.formHidden(form); });
    if (activeForm_ == &form) activate(zOrder_.empty() ? nullptr : zOrder_.back());
}

void Desktop::formUnloaded(Form& form) {
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), &form), zOrder_.end());
    if (lastFocusForm_ == &form) lastFocusForm_ = nullptr;
    if (activeForm_ == &form) activate(zOrder_.empty() ? nullptr : zOrder_.back());
    notify([&](UiObserver& o) { o.formUnloaded(form); });
}

void Desktop::forget(Form& form) {
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), &form), zOrder_.end());
    modalForms_.erase(std::remove(modalForms_.begin(), modalForms_.end(), &form),
                      modalForms_.end());
    if (activeForm_ == &form) activeForm_ = nullptr;
    if (lastFocusForm_ == &form) lastFocusForm_ = nullptr;
}

Desktop& desktop() {
    static Desktop instance;
    return instance;
}

int DoEvents() { return desktop().doEvents(); }
int WaitForEvents() { return desktop().waitForEvents(); }

int MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    struct Choice {
        const char* caption;
        int answer;
    };
    std::vector<Choice> choices;
    switch (buttons & 7) {
        case msgbox::OkCancel:
            choices = {{"OK", msgbox::AnswerOk}, {"Annulla", msgbox::AnswerCancel}};
            break;
        case msgbox::AbortRetryIgnore:
            choices = {{"Interrompi", msgbox::AnswerAbort},
                       {"Riprova", msgbox::AnswerRetry},
                       {"Ignora", msgbox::AnswerIgnore}};
            break;
        case msgbox::YesNoCancel:
            choices = {{"Sì", msgbox::AnswerYes},
                       {"No", msgbox::AnswerNo},
                       {"Annulla", msgbox::AnswerCancel}};
            break;
        case msgbox::YesNo:
            choices = {{"Sì", msgbox::AnswerYes}, {"No", msgbox::AnswerNo}};
            break;
        case msgbox::RetryCancel:
            choices = {{"Riprova", msgbox::AnswerRetry}, {"Annulla", msgbox::AnswerCancel}};
            break;
        default:
            choices = {{"OK", msgbox::AnswerOk}};
            break;
    }
    MessageRequest request;
    request.source = MessageRequest::Source::MessageBox;
    request.text = prompt;
    request.title = title.empty() ? desktop().appTitle() : title;
    for (const auto& c : choices) request.buttons.push_back(c.caption);
    request.icon = buttons & 0x70;
    int def = ((buttons >> 8) & 3) + 1;
    request.defaultButton = def <= static_cast<int>(choices.size()) ? def : 1;
    int pressed = 0;
    {
        ModalScope modal;
        pressed = desktop().driver().message(request);
    }
    if (pressed < 1 || pressed > static_cast<int>(choices.size())) {
        throw UnexpectedWindow("No such button " + std::to_string(pressed) + " in: " + prompt);
    }
    return choices[static_cast<std::size_t>(pressed - 1)].answer;
}

std::string InputBox(const std::string& prompt, const std::string& title,
                     const std::string& defaultText) {
    InputRequest request{prompt, title.empty() ? desktop().appTitle() : title, defaultText};
    std::optional<std::string> answer;
    {
        ModalScope modal;
        answer = desktop().driver().inputBox(request);
    }
    return answer.value_or(std::string());
}

}  // namespace tolvane::ui

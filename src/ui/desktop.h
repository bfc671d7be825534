// The session of the window model: registry of forms (one default instance per window), the
// active form, the modal stack, the mouse pointer, the queue of user actions let through at
// DoEvents, the driver and the observers. One per program; tests reset it.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/driver.h"
#include "ui/form.h"
#include "ui/observer.h"

namespace tolvane::ui {

class Desktop {
  public:
    Desktop();
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // The default instance of a window, created (not loaded) when there is none; an instance
    // that was unloaded is replaced by a fresh one, as reloading a window starts it anew.
    template <class F>
    F& instance() {
        if (F* existing = find<F>()) return *existing;
        auto form = std::make_unique<F>();
        F& ref = *form;
        adopt(std::move(form));
        return ref;
    }
    // The default instance, loaded (Form_Load has run).
    template <class F>
    F& load() {
        F& form = instance<F>();
        if (!form.loaded()) form.load();
        return form;
    }
    template <class F>
    F* find() const {
        for (const auto& form : forms_) {
            if (form->unloadedForGood()) continue;
            if (auto* typed = dynamic_cast<F*>(form.get())) return typed;
        }
        return nullptr;
    }
    // A live instance by window name (case-insensitive), nullptr when none.
    Form* findForm(std::string_view name) const;
    // Loaded forms, in load order.
    std::vector<Form*> loadedForms() const;

    Form* activeForm() const { return activeForm_; }
    // The active form's focused control; with no active form (windows loaded but never shown,
    // as in many tests) the form where the focus last moved.
    Control* activeControl() const;
    Form* focusForm() const { return activeForm_ != nullptr ? activeForm_ : lastFocusForm_; }
    int modalDepth() const { return modalDepth_; }
    // The modal window on top, nullptr when none: a user reaches no other window meanwhile.
    Form* topModalForm() const { return modalForms_.empty() ? nullptr : modalForms_.back(); }

    Driver& driver();
    // nullptr puts back the default driver, which refuses every modal interaction.
    void setDriver(Driver* driver);

    void addObserver(UiObserver* observer);
    void removeObserver(UiObserver* observer);

    int mousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);
    // The hourglass while a print server keeps the program waiting, then the pointer as it was.
    void printServerWait(bool waiting);

    // The program's title, used by message boxes without one.
    const std::string& appTitle() const { return appTitle_; }
    void setAppTitle(std::string title) { appTitle_ = std::move(title); }

    // User actions posted by a back end (or a test) wait here until the next DoEvents point.
    void post(std::function<void()> action);
    std::size_t pendingActions() const { return queue_.size(); }
    // Runs the driver's hook and then every queued action; returns how many ran.
    int doEvents();
    // The same for a loop that only waits for the user: the driver may wait for an event.
    int waitForEvents();
    long doEventsCount() const { return doEventsCount_; }

    // Fires every enabled timer of the loaded forms once (there is no wall time here).
    void fireTimers();

    // The last key that went down, with its shift state (the key-press filter reads it).
    int lastKeyCode() const { return lastKeyCode_; }
    int lastShift() const { return lastShift_; }

    // Drops every form, the queue, the driver and the observers: a clean start for a test.
    void reset();

    // Used by Form and Control.
    void activate(Form* form);
    void formShown(Form& form, bool modal);
    void formHidden(Form& form);
    void formUnloaded(Form& form);
    void enterModal() { ++modalDepth_; }
    void leaveModal() { --modalDepth_; }
    void pushModalForm(Form& form) { modalForms_.push_back(&form); }
    void popModalForm(Form& form);
    void focusMovedIn(Form& form) { lastFocusForm_ = &form; }
    void keyWentDown(int keyCode, int shift);
    // A form object going away: the desktop forgets every pointer to it.
    void forget(Form& form);
    template <class Fn>
    void notify(Fn&& fn) {
        auto copy = observers_;
        for (UiObserver* o : copy) fn(*o);
    }

  private:
    void adopt(std::unique_ptr<Form> form);
    int runQueued();

    std::vector<std::unique_ptr<Form>> forms_;  // unloaded ones stay until reset
    std::vector<Form*> zOrder_;                 // visible forms, most recently active last
    Form* activeForm_ = nullptr;
    Form* lastFocusForm_ = nullptr;
    std::vector<Form*> modalForms_;
    int modalDepth_ = 0;
    std::unique_ptr<Driver> defaultDriver_;
    Driver* driver_ = nullptr;
    std::vector<UiObserver*> observers_;
    int mousePointer_ = 0;
    int serverWaits_ = 0;
    int pointerBeforeWait_ = 0;
    std::string appTitle_ = "Tolvane";
    std::deque<std::function<void()>> queue_;
    long doEventsCount_ = 0;
    int lastKeyCode_ = 0;
    int lastShift_ = 0;
};

Desktop& desktop();

// Counts a modal interaction for as long as it lasts (the close of the program waits for it).
class ModalScope {
  public:
    ModalScope() { desktop().enterModal(); }
    ~ModalScope() { desktop().leaveModal(); }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

// DoEvents: lets queued user actions (a stop button) through.
int DoEvents();
// DoEvents for a loop that does nothing but wait for the user (a preview waiting for its next
// page): lets the display wait for an event instead of spinning.
int WaitForEvents();

// The plain message box: returns the answer constant (msgbox::AnswerYes ...).
int MsgBox(const std::string& prompt, int buttons = 0, const std::string& title = {});
// The input prompt: "" when cancelled.
std::string InputBox(const std::string& prompt, const std::string& title = {},
                     const std::string& defaultText = {});

}  // namespace tolvane::ui

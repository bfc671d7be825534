// Cleanup that runs when a scope ends, however it ends: closing a window, restoring a value,
// removing what a step that did not finish had made. Never hides the failure that ended a scope.
#pragma once

#include <exception>
#include <utility>

namespace tolvane {

// Runs `action` when the scope ends unless dismissed. When an exception is leaving the scope, a
// failure of the action itself is dropped so that the caller learns the first failure; on a
// normal exit the action's failure goes through.
template <class Action>
class ScopeGuard {
  public:
    explicit ScopeGuard(Action action)
        : action_(std::move(action)), uncaught_(std::uncaught_exceptions()) {}
    ~ScopeGuard() noexcept(false) {
        if (dismissed_) return;
        if (std::uncaught_exceptions() == uncaught_) {
            action_();
            return;
        }
        try {
            action_();
        } catch (...) {  // the failure already leaving the scope is the one to report
        }
    }
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;

    // The scope's work is done and kept: the action no longer runs.
    void dismiss() { dismissed_ = true; }

  private:
    Action action_;
    int uncaught_;
    bool dismissed_ = false;
};

}  // namespace tolvane

// The handlers of the window model by name, for tests that say which of them a window's code has
// and which ran. Names only: never sets or runs a handler.
#pragma once

#include <iterator>

#include "ui/control.h"

namespace tolvane::testing {

inline constexpr const char* kHandlerNames[] = {
    "Click", "DblClick", "Change",   "Scroll", "GotFocus",    "LostFocus",
    "Timer", "KeyDown",  "KeyPress", "KeyUp",  "BeforeClick", "ButtonClick"};
static_assert(std::size(kHandlerNames) == static_cast<std::size_t>(ui::Handler::ButtonClick) + 1);

inline const char* handlerName(ui::Handler h) { return kHandlerNames[static_cast<int>(h)]; }

}  // namespace tolvane::testing

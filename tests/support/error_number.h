// The number of the NumberedError an action raises, for tests of the system's error numbers.
// Never hides another kind of exception: anything else escapes to fail the test.
#pragma once

#include <functional>

#include "platform/numbered_error.h"

namespace tolvane::testing {

// 0 when the action raises nothing.
inline int errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const NumberedError& e) {
        return e.number();
    }
    return 0;
}

// The NumberedError an action raises, to read its text too; number 0 when it raises none.
inline NumberedError errorRaised(const std::function<void()>& action) {
    try {
        action();
    } catch (const NumberedError& e) {
        return e;
    }
    return NumberedError(0, "");
}

}  // namespace tolvane::testing

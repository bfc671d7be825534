// Cleanup guards: the cleanup runs on every exit unless dismissed, and the failure that ended
// the scope is the one the caller learns, also when the cleanup fails too.
#include "platform/scope_guard.h"

#include <gtest/gtest.h>

#include "support/error_number.h"

namespace tolvane {
namespace {

using testing::errorOf;

TEST(ScopeGuard, FirstFailureWinsAndDismissKeepsTheWork) {
    struct Case {
        int work;     // error number the scope raises, 0 none
        int cleanup;  // error number the cleanup raises, 0 none
        bool dismiss;
        int raised;
        int cleanups;
    };
    const Case cases[] = {
        {0, 0, false, 0, 1},    {53, 0, false, 53, 1}, {0, 75, false, 75, 1},
        {53, 75, false, 53, 1}, {0, 0, true, 0, 0},    {53, 0, true, 53, 0},
    };
    for (const Case& c : cases) {
        int cleanups = 0;
        int raised = errorOf([&] {
            ScopeGuard guard([&] {
                ++cleanups;
                if (c.cleanup != 0) throw NumberedError(c.cleanup, "cleanup");
            });
            if (c.dismiss) guard.dismiss();
            if (c.work != 0) throw NumberedError(c.work, "work");
        });
        EXPECT_EQ(raised, c.raised) << c.work << "/" << c.cleanup << "/" << c.dismiss;
        EXPECT_EQ(cleanups, c.cleanups) << c.work << "/" << c.cleanup << "/" << c.dismiss;
    }
}

}  // namespace
}  // namespace tolvane

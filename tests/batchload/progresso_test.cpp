// The progress object lets window events through at most every 50 ms.
#include <gtest/gtest.h>

#include "batchload/progresso_elab.h"

namespace tolvane {
namespace {

TEST(ProgressoElabTest, EventsAreLetThroughAtMostEvery50Ms) {
    ProgressoElab progress;
    long pumped = 0;
    progress.eventPump = [&] { ++pumped; };
    auto now = std::chrono::steady_clock::time_point{};
    progress.setClock([&] { return now; });
    const struct {
        int advanceMs;
        bool events;
        long expectedPumps;
    } steps[] = {{0, true, 1}, {10, true, 1},   {39, true, 1},
                 {1, true, 2}, {100, false, 2}, {0, true, 3}};
    for (const auto& s : steps) {
        now += std::chrono::milliseconds(s.advanceMs);
        progress.AvanzaElab(1, std::nullopt, s.events);
        EXPECT_EQ(pumped, s.expectedPumps) << "after +" << s.advanceMs << " ms";
    }
}

}  // namespace
}  // namespace tolvane

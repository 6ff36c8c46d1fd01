#include "app/CommandStatePacer.h"

#include <gtest/gtest.h>

namespace {

/// Updates in `seconds` of a loop making `passesPerSecond` passes.
int UpdatesIn(double seconds, double passesPerSecond) {
    CommandStatePacer pacer;
    int updates = 0;
    const long passes = static_cast<long>(seconds * passesPerSecond);
    for (long pass = 0; pass < passes; ++pass) {
        if (pacer.Due(static_cast<double>(pass) / passesPerSecond)) {
            ++updates;
        }
    }
    return updates;
}

TEST(CommandStatePacerTest, SixtyUpdatesASecondWhateverTheLoopsSpeedAndNoCatchingUp) {
    const struct {
        double passesPerSecond;
        int low, high;
    } cases[] = {
        {100000.0, 599, 601}, // a loop with nothing to draw spins freely
        {400.0, 599, 601},
        {61.0, 599, 610}, // just above the rate: every pass or nearly
        {20.0, 200, 200}, // a slow loop: every pass, the missed updates dropped
    };
    for (const auto& c : cases) {
        const int updates = UpdatesIn(10.0, c.passesPerSecond);
        EXPECT_GE(updates, c.low) << c.passesPerSecond;
        EXPECT_LE(updates, c.high) << c.passesPerSecond;
    }
}

TEST(CommandStatePacerTest, TheFirstCallIsDueAndAClockThatStandsStillGivesNoMore) {
    CommandStatePacer pacer;
    EXPECT_TRUE(pacer.Due(5.0));
    EXPECT_FALSE(pacer.Due(5.0));
    EXPECT_FALSE(pacer.Due(5.0 + 0.5 / 60.0));
    EXPECT_TRUE(pacer.Due(5.0 + 1.0 / 60.0));
}

} // namespace

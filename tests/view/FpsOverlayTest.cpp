#include "view/FpsOverlay.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

TEST(FpsOverlayTest, GreyPulsesUpAndDownUsingEachEndTwice) {
    FpsOverlay overlay;
    std::vector<int> levels;
    for (int i = 0; i < 3 * 54; ++i) {
        levels.push_back(overlay.StepGrey());
    }

    std::vector<int> period;
    for (int level = 8; level <= 208; level += 8) {
        period.push_back(level);
    }
    period.push_back(208);
    for (int level = 200; level >= 0; level -= 8) {
        period.push_back(level);
    }
    period.push_back(0);
    ASSERT_EQ(period.size(), 54u);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        ASSERT_EQ(levels[i], period[i % 54]) << "frame " << i;
    }
}

TEST(FpsOverlayTest, TrianglesOfAFrameLeaveOutTheGrid) {
    const struct {
        std::uint32_t previous;
        std::uint32_t total;
        int shown;
    } cases[] = {
        {0, 576, 0},       // the grid alone
        {1000, 1676, 100}, // the grid and 100 triangles of a model
        {50000, 600, 24},  // the device was rebuilt and counts from 0 again
        {576, 576, -576},  // nothing drawn at all
    };
    for (const auto& row : cases) {
        FpsOverlay overlay;
        overlay.SetPreviousTotal(row.previous);
        EXPECT_EQ(overlay.TrianglesThisFrame(row.total), row.shown)
            << row.previous << " -> " << row.total;
    }
}

TEST(FpsOverlayTest, StartsHiddenAndToggles) {
    FpsOverlay overlay;
    EXPECT_FALSE(overlay.IsShown());
    overlay.Toggle();
    EXPECT_TRUE(overlay.IsShown());
    overlay.Toggle();
    EXPECT_FALSE(overlay.IsShown());
}

} // namespace

#include "commands/UndoHistory.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "UndoFixture.h"
#include "commands/EditScope.h"

namespace {

class UndoHistoryTest : public UndoFixture {
protected:
    /// One step turning part p's key at `time` (a key of its own each time).
    void KeyStep(UndoHistory& history, int p, float time) {
        EditScope scope(&history, context, QStringLiteral("key"), EditScope::PartAnimation,
                        PartAnimation(p));
        PartAnimation(p)->AddScaleKey(time, 2, 2, 2);
    }
};

TEST_F(UndoHistoryTest, TheOldestStepsGoFirstWhenTheBytesPassTheBudget) {
    UndoHistory measured;
    KeyStep(measured, 0, 1);
    const std::size_t step = measured.Bytes();
    ASSERT_GT(step, 0u);

    // Room for three steps of this size: the fourth and later push the oldest out.
    UndoHistory history(100, 3 * step + step / 2);
    for (int i = 0; i < 8; ++i) {
        KeyStep(history, i % kParts, float(1000 + i));
    }
    EXPECT_EQ(history.Count(), 8); // dropped steps stay as marks
    EXPECT_LE(history.Bytes(), 3 * step + step / 2);
    int undone = 0;
    while (history.Undo() != 0) {
        ++undone;
    }
    EXPECT_EQ(undone, 3);
    // The three newest keys are gone again; the older ones stay, as nothing can take them back.
    for (int i = 0; i < 8; ++i) {
        const auto& keys = PartAnimation(i % kParts)->Keys();
        const auto at = std::count_if(keys.begin(), keys.end(), [i](const rm::AnimationKey& k) {
            return k.dvTime == float(1000 + i);
        });
        EXPECT_EQ(at, i < 5 ? 1 : 0) << "step " << i;
    }
}

TEST_F(UndoHistoryTest, TheNewestStepIsKeptWhateverItsSize) {
    UndoHistory history(100, 1);
    KeyStep(history, 1, 5);
    KeyStep(history, 2, 5);
    EXPECT_EQ(history.Undo(), 1);
    EXPECT_EQ(history.Undo(), 0);
}

TEST_F(UndoHistoryTest, AtMostTheStepLimitIsKept) {
    UndoHistory history(3);
    for (int i = 0; i < 5; ++i) {
        KeyStep(history, 0, float(2000 + i));
    }
    EXPECT_EQ(history.Count(), 3);
    history.SetLimits(2, UndoHistory::kDefaultByteLimit);
    EXPECT_EQ(history.Count(), 0);
    for (int i = 0; i < 4; ++i) {
        KeyStep(history, 0, float(3000 + i));
    }
    EXPECT_EQ(history.Count(), 2);
}

} // namespace

#include "commands/EditScope.h"

#include <gtest/gtest.h>

#include "UndoFixture.h"
#include "commands/UndoHistory.h"

namespace {

using EditScopeTest = UndoFixture;

TEST_F(EditScopeTest, AScopeThatChangedNothingItMayTouchPushesNothing) {
    UndoHistory history;
    {
        EditScope scope(&history, QStringLiteral("nothing"),
                        EditScope::PartAnimation | EditScope::ModelFrames, PartAnimation(2));
    }
    EXPECT_EQ(history.Count(), 0);
    {
        // The pose moved, but the scope may touch only keys: no step of a pose alone.
        EditScope scope(&history, QStringLiteral("keys only"), EditScope::PartAnimation,
                        PartAnimation(2));
        parts[2]->SetPosition(parts[1], 0, 5, 0);
    }
    EXPECT_EQ(history.Count(), 0);
    EXPECT_EQ(history.Bytes(), 0u);
}

TEST_F(EditScopeTest, AScopeOpenedInsideAnotherAddsToItsOneStep) {
    UndoHistory history;
    const SceneImage before = PictureOfAll(model.get());
    {
        EditScope drag(&history, QStringLiteral("drag"),
                       EditScope::PartAnimation | EditScope::ModelFrames, PartAnimation(2));
        parts[2]->SetPosition(parts[1], 0, 5, 0);
        {
            // What the inner scope may touch is pictured when it opens, before its change.
            EditScope add(&history, QStringLiteral("add key"), EditScope::AnimationSets);
            PartAnimation(4)->AddScaleKey(30, 2, 2, 2);
            animation->UpdateTotalKeyTimeBuffer();
        }
        EXPECT_EQ(history.Count(), 0);
        PartAnimation(2)->AddPositionKey(30, 0, 5, 0);
    }
    ASSERT_EQ(history.Count(), 1);
    EXPECT_EQ(history.UndoText(), QStringLiteral("drag"));
    const SceneImage after = PictureOfAll(model.get());
    ASSERT_EQ(history.Undo(), 1);
    EXPECT_TRUE(SameAs(before));
    ASSERT_EQ(history.Redo(), 1);
    EXPECT_TRUE(SameAs(after));
}

TEST_F(EditScopeTest, WithoutAHistoryAScopeRecordsNothing) {
    EditScope scope(nullptr, QStringLiteral("none"), EditScope::AnimationSets);
    PartAnimation(0)->AddScaleKey(30, 2, 2, 2);
    scope.Close();
    SUCCEED();
}

} // namespace

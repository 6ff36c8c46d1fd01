#include "commands/EditScope.h"

#include <QUndoStack>
#include <gtest/gtest.h>

#include "UndoFixture.h"
#include "commands/EditStep.h"
#include "commands/IKeyFrameHost.h"
#include "commands/KeyFrameCommand.h"
#include "commands/SceneChange.h"
#include "commands/UndoHistory.h"
#include "platform/rm/MeshBuilder.h"

namespace {

using EditScopeTest = UndoFixture;

TEST_F(EditScopeTest, AScopeThatChangedNothingItMayTouchPushesNothing) {
    UndoHistory history;
    {
        EditScope scope(&history, context, QStringLiteral("nothing"),
                        EditScope::PartAnimation | EditScope::ModelFrames, PartAnimation(2));
    }
    EXPECT_EQ(history.Count(), 0);
    {
        // The pose moved, but the scope may touch only keys: no step of a pose alone.
        EditScope scope(&history, context, QStringLiteral("keys only"), EditScope::PartAnimation,
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
        EditScope drag(&history, context, QStringLiteral("drag"),
                       EditScope::PartAnimation | EditScope::ModelFrames, PartAnimation(2));
        parts[2]->SetPosition(parts[1], 0, 5, 0);
        {
            // What the inner scope may touch is pictured when it opens, before its change.
            EditScope add(&history, context, QStringLiteral("add key"), EditScope::AnimationSets);
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

TEST_F(EditScopeTest, AClearUnderAnOpenScopeEndsItWithoutAStep) {
    UndoHistory history;
    {
        EditScope scope(&history, context, QStringLiteral("skin"), EditScope::AnimationSets);
        PartAnimation(1)->AddScaleKey(30, 2, 2, 2);
        history.ClearKeepingState();
        EXPECT_EQ(history.OpenScope(), nullptr);
    }
    EXPECT_EQ(history.Count(), 0);
    EXPECT_EQ(history.Bytes(), 0u);
    // The next scope is an outermost one again and makes its own step.
    {
        EditScope scope(&history, context, QStringLiteral("key"), EditScope::PartAnimation,
                        PartAnimation(1));
        PartAnimation(1)->AddScaleKey(40, 2, 2, 2);
    }
    ASSERT_EQ(history.Count(), 1);
    EXPECT_EQ(history.UndoText(), QStringLiteral("key"));
}

TEST_F(EditScopeTest, AStepPushedBeforeItsEditMakesTheChangeOnlyThen) {
    const SceneImage unchanged = PictureOfAll(model.get());
    SceneImage before = PictureOfAll(model.get());
    PartAnimation(3)->AddScaleKey(30, 2, 2, 2);
    parts[3]->SetPosition(parts[2], 0, 4, 0);
    SceneImage after;
    SceneImage::TakeAfter(before, &after);
    const SceneImage changed = PictureOfAll(model.get());
    const SceneChange change = SceneChange::Between(before, after, nullptr);

    for (const EditStep::Pushed pushed :
         {EditStep::Pushed::AfterItHappened, EditStep::Pushed::BeforeItHappens}) {
        const bool before = pushed == EditStep::Pushed::BeforeItHappens;
        SCOPED_TRACE(before ? "pushed before it happens" : "pushed after it happened");
        if (before) {
            change.Undo();
            ASSERT_TRUE(SameAs(unchanged));
        }
        std::size_t bytes = 0;
        QUndoStack stack;
        stack.push(new EditStep(QStringLiteral("edit"), change, bytes, pushed));
        // Either way the push leaves the scene as the edit made it, never twice changed.
        EXPECT_TRUE(SameAs(changed));
        stack.undo();
        EXPECT_TRUE(SameAs(unchanged));
        stack.redo();
        EXPECT_TRUE(SameAs(changed));
    }
}

/// A key command (it declares the animation sets) that may move a vertex as well.
class OverreachingCommand : public KeyFrameCommand {
public:
    OverreachingCommand(IKeyFrameHost& host, rm::Animation* keys, rm::MeshBuilder* mesh)
        : KeyFrameCommand(host), m_keys(keys), m_mesh(mesh) {}

protected:
    int Run(session::EditContext&) override {
        m_keys->AddScaleKey(30, 2, 2, 2);
        if (m_mesh != nullptr) {
            m_mesh->SetVertex(0, 9, 9, 9);
        }
        return 1;
    }
    const char* StepName() const override { return "overreach"; }

private:
    rm::Animation* m_keys;
    rm::MeshBuilder* m_mesh;
};

class NullHost : public IKeyFrameHost {
public:
    int ShowMessage(const QString&, const QString&, unsigned) override { return 1; }
    void StopPlayback() override {}
    void PoseCurrentAnimation(float) override {}
    int RefreshKeyRange(session::KeyTimeList) override { return 1; }
    void RefreshTimeDisplay() override {}
    int MarkDocumentModified() override { return 1; }
    rm::Frame* GetSelectedPart() const override { return nullptr; }
    QString GetKeyLengthText() const override { return {}; }
    void ShowKeyLength(unsigned) override {}
    int RunPartKeyDialog() override { return 0; }
    UndoHistory* History() override { return &history; }

    UndoHistory history;
};

TEST_F(EditScopeTest, InADebugBuildAnEditThatTouchesMoreThanItsScopeDeclaresStops) {
    if (!EditScope::ChecksUndeclared()) {
        GTEST_SKIP() << "release build: scopes do not check what they did not declare";
    }
    const auto keysOnly = [this](int changed) {
        UndoHistory history;
        EditScope scope(&history, context, QStringLiteral("keys of part 2"),
                        EditScope::PartAnimation, PartAnimation(2));
        PartAnimation(changed)->AddScaleKey(30, 2, 2, 2);
    };
    const auto withoutMeshes = [this] {
        UndoHistory history;
        EditScope scope(&history, context, QStringLiteral("sets"), EditScope::AnimationSets);
        meshes[1]->SetVertex(0, 9, 9, 9);
    };
    const char kStop[] = "EditScope::Close: the edit changed what its scope did not declare";
    EXPECT_DEATH(keysOnly(3), kStop);
    EXPECT_DEATH(withoutMeshes(), kStop);
    NullHost host;
    EXPECT_DEATH(OverreachingCommand(host, PartAnimation(2), meshes[1]).Execute(context), kStop);
    // What a scope declares it may change.
    keysOnly(2);
    EXPECT_EQ(OverreachingCommand(host, PartAnimation(2), nullptr).Execute(context), 1);
    EXPECT_EQ(host.history.Count(), 1);
}

TEST_F(EditScopeTest, WithoutAHistoryAScopeRecordsNothing) {
    EditScope scope(nullptr, context, QStringLiteral("none"), EditScope::AnimationSets);
    PartAnimation(0)->AddScaleKey(30, 2, 2, 2);
    scope.Close();
    SUCCEED();
}

} // namespace

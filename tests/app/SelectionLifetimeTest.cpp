// The selection through the scene's changes: whatever the selection names stays alive and in
// the scene (or the selection lets go of it), and the green box around the selected part is
// part of no weld, no save and no pick.

#include <algorithm>

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/ShellFixture.h"
#include "app/TestCharacters.h"
#include "platform/framework/Document.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/MeshBuilder.h"
#include "resources/CommandIds.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"
#include "view/ViewInteraction.h"

namespace {

namespace ids = resources::ids;
using Key = ViewInteraction::Key;

class SelectionLifetimeTest : public shell_test::ShellFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartWith(dir));
        ASSERT_EQ(OpenFile(QString::fromStdString(shell_test::SampleWalker())), 1);
        ASSERT_NE(Context().currentModel, nullptr);
    }

    /// Picks the part at `index` of the current model (depth first, root 0) as a click does.
    void Pick(int index) {
        rm::Frame* part = ViewInteraction::FrameAt(Context().currentModel->Root(), index);
        ASSERT_EQ(view->Interaction().SelectPart(part, nullptr), 1);
    }

    /// True when the selected visual is one of the selected part's visuals now.
    bool SelectedVisualIsOnPart() {
        rm::Frame* part = Context().selection.Part();
        rm::Visual* visual = Context().selection.Visual();
        if (part == nullptr || visual == nullptr) {
            return false;
        }
        const auto& visuals = part->Visuals();
        return std::any_of(visuals.begin(), visuals.end(),
                           [visual](const auto& each) { return each.Get() == visual; });
    }

    /// Every mesh the model's welds write into.
    std::vector<rm::Mesh*> WeldedMeshes() {
        std::vector<rm::Mesh*> meshes;
        for (const auto& record : Context().currentModel->Welds().Records()) {
            for (const auto& mesh : record.meshes) {
                meshes.push_back(mesh.mesh);
            }
        }
        return meshes;
    }

    QTemporaryDir dir;
};

TEST_F(SelectionLifetimeTest, SkinOnAfterSteppingThroughThePartsLeavesTheSelectionOnTheNewMesh) {
    // A click on the head, Up twice, then the skin replaces every mesh builder.
    Pick(2);
    view->Interaction().KeyDown(Key::Up, false);
    view->Interaction().KeyDown(Key::Up, false);
    ASSERT_NE(Context().selection.Part(), nullptr);
    ui.messageBox.Push(framework::IdYes);
    ui.messageBox.Push(framework::IdOk);
    Menu(ids::SkinOn);
    ASSERT_TRUE(Context().currentModel->SkinOn());
    EXPECT_TRUE(SelectedVisualIsOnPart());

    // The steps that read the old mesh builder after it was freed.
    Menu(ids::AnimationForwardStep);
    ui.messageBox.Push(framework::IdOk);
    ui.messageBox.Push(framework::IdOk);
    Menu(ids::AddKeyFrame);
    Menu(ids::EditUndo);
    Menu(ids::EditRedo);
    EXPECT_TRUE(SelectedVisualIsOnPart());
}

TEST_F(SelectionLifetimeTest, TheSelectionBoxIsNeverWeldedSavedOrKeptAfterADeselect) {
    // Skin On with each part selected in turn: the box around the Arm has its bottom corners
    // on the Body's top corners, as the Arm itself has.
    const QString path =
        shell_test::WriteCharacter(dir.path(), QStringLiteral("two.x"), {0, 10, 20});
    for (int index = 0; index < 2; ++index) {
        SCOPED_TRACE(index);
        ASSERT_EQ(OpenFile(path), 1);
        rm::Frame* part = ViewInteraction::FrameAt(Context().currentModel->Root(), index);
        if (!view->Interaction().SelectPart(part, nullptr)) {
            continue;
        }
        ui.messageBox.Push(framework::IdYes);
        ui.messageBox.Push(framework::IdOk);
        Menu(ids::SkinOn);
        ASSERT_TRUE(Context().currentModel->SkinOn());
        rm::Mesh* box = Context().selection.BoxMesh();
        for (rm::Mesh* mesh : WeldedMeshes()) {
            ASSERT_NE(mesh, box);
        }
        // Deselected, saved and posed again: the welds write only into the model's meshes.
        frame->ClearSelection();
        ASSERT_EQ(frame->GetActiveDocument()->DoSave(dir.filePath(QStringLiteral("skin.x")), 0), 1);
        frame->PoseCurrentAnimation(5);
        frame->PoseCurrentAnimation(10);
    }
}

} // namespace

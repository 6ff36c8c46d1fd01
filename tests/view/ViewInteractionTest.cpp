#include "view/ViewInteraction.h"

#include <algorithm>

#include "app/BarControlIds.h"
#include "platform/framework/Document.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/UiServices.h"
#include "platform/rm/Context.h"
#include "platform/rm/Math.h"
#include "platform/rm/MeshBuilder.h"
#include "support/RmMatchers.h"
#include "timeline/PartTree.h"
#include "timeline/TimelineDock.h"
#include "view/InteractionFixture.h"

namespace {

using testing_rm::RotationNear;
using testing_rm::VectorNear;
namespace ids = resources::ids;

class ViewInteractionTest : public InteractionFixture {
protected:
    void SetUp() override {
        InteractionFixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(OpenWalkerAtTen());
        frame->GetActiveDocument()->SetModifiedFlag(0);
    }

    void SelectByClick(rm::Frame* part) {
        Click(PointOf(part));
        ASSERT_EQ(Context().selection.Part(), part);
    }

    /// The part's rotation relative to its parent.
    static rm::Quaternion Rotation(rm::Frame* part) {
        rm::Quaternion q;
        part->GetQuaternion(part->GetParent(), &q);
        return q;
    }

    static rm::Vector Position(rm::Frame* part) {
        rm::Vector p;
        part->GetPosition(part->GetParent(), &p);
        return p;
    }

    int RootIndex(rm::Frame* part) {
        return ViewInteraction::IndexOf(Context().currentModel->Root(), part);
    }
};

TEST_F(ViewInteractionTest, AClickSelectsThePartUnderTheMouseAndDrawsTheBoxAroundIt) {
    for (const char* name : {"Head", "UpperLeg_L", "LowerArm_R"}) {
        rm::Frame* part = Part(name);
        ASSERT_NE(part, nullptr) << name;
        Click(PointOf(part));
        EXPECT_EQ(Context().selection.Part(), part) << name;
        ASSERT_NE(Context().selection.PlacedBox(g_d3drm), nullptr) << name;
        // The box is the view's: the part carries only its own visuals.
        EXPECT_EQ(part->Visuals().size(), 1u) << name;
        EXPECT_TRUE(Context().selection.Mesh() != nullptr ||
                    Context().selection.MeshBuilder() != nullptr);
        EXPECT_EQ(Context().selection.PartIndex(), RootIndex(part)) << "the index follows the pick";
    }

    // Empty space: the selection and its box go.
    Click(QPoint(2, 2));
    EXPECT_EQ(Context().selection.Part(), nullptr);
    EXPECT_EQ(Context().selection.PlacedBox(g_d3drm), nullptr);
    EXPECT_TRUE(ui.messageBox.Asked().empty());
}

TEST_F(ViewInteractionTest, ARotateDragInAnimationModeKeysTheNewOrientationAtTheKeyTime) {
    rm::Frame* head = Part("Head");
    SelectByClick(head);
    const rm::Quaternion before = Rotation(head);
    const std::size_t keyCount = CPartRecord::Of(head)->animation->Keys().size();
    Drag(Qt::LeftButton, PointOf(head), QPoint(30, 12));

    const auto keys = KeysAt(head, 10.0f, rm::D3DRMANIMATION_ROTATEKEY);
    ASSERT_EQ(keys.size(), 1u) << "the old key at 10 was replaced";
    EXPECT_THAT(keys[0].dqRotateKey, RotationNear(Rotation(head), 1e-4f));
    EXPECT_THAT(Rotation(head), ::testing::Not(RotationNear(before, 1e-3f)));
    EXPECT_EQ(CPartRecord::Of(head)->animation->Keys().size(), keyCount);
    EXPECT_EQ(frame->GetActiveDocument()->IsModified(), 1);
    EXPECT_TRUE(ui.messageBox.Asked().empty());

    // With no axis ticked the turn is none, and the key still holds the orientation.
    for (int axis : {ctl::AxisX, ctl::AxisY, ctl::AxisZ}) {
        Panel().ClickButton(axis);
    }
    const rm::Quaternion held = Rotation(head);
    Drag(Qt::LeftButton, PointOf(head), QPoint(-25, 9));
    EXPECT_THAT(Rotation(head), RotationNear(held, 1e-5f));
    EXPECT_THAT(KeysAt(head, 10.0f, rm::D3DRMANIMATION_ROTATEKEY).at(0).dqRotateKey,
                RotationNear(held, 1e-4f));
}

TEST_F(ViewInteractionTest, AMoveDragKeysThePartsNewPositionAtTheKeyTime) {
    rm::Frame* head = Part("Head");
    SelectByClick(head);
    Panel().ClickButton(ctl::MovePart);
    ASSERT_EQ(Context().mouseFunction, session::MouseFunction::MovePart);
    const rm::Vector before = Position(head);
    Drag(Qt::LeftButton, PointOf(head), QPoint(20, 10));
    const rm::Vector after = Position(head);
    EXPECT_NEAR(after.x - before.x, 20 * 0.02f, 1e-4f);
    const auto keys = KeysAt(head, 10.0f, rm::D3DRMANIMATION_POSITIONKEY);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_THAT(keys[0].dvPositionKey, VectorNear(after, 1e-4f));
    EXPECT_EQ(frame->GetActiveDocument()->IsModified(), 1);
}

TEST_F(ViewInteractionTest, ATurnInTheParentChildModeTurnsTheModelAndWritesNoKey) {
    rm::Frame* arm = Part("UpperArm_L");
    SelectByClick(arm);
    Panel().ClickButton(ctl::ParentChild);
    ASSERT_EQ(Context().operationMode, session::OperationMode::ParentChild);
    const auto keys = CPartRecord::Of(arm)->animation->Keys();
    const rm::Quaternion before = Rotation(arm);
    const rm::Quaternion restBefore = rm::DecomposeMatrix(arm->GetRestTransform()).rotation;
    Drag(Qt::LeftButton, PointOf(arm), QPoint(24, -16));
    // The model's arm turned; the arm shown keeps the turn its rotation keys give it.
    EXPECT_THAT(rm::DecomposeMatrix(arm->GetRestTransform()).rotation,
                ::testing::Not(RotationNear(restBefore, 1e-3f)));
    EXPECT_THAT(Rotation(arm), RotationNear(before, 1e-5f));
    const auto& now = CPartRecord::Of(arm)->animation->Keys();
    ASSERT_EQ(now.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_THAT(now[i].dqRotateKey, RotationNear(keys[i].dqRotateKey, 0.0f)) << i;
    }
}

TEST_F(ViewInteractionTest, ShiftCtrlReparentsToTheRootOrUnderAPartOfTheSubtree) {
    Panel().ClickButton(ctl::ParentChild);
    rm::Frame* root = Context().currentModel->Root();
    rm::Frame* arm = Part("UpperArm_L");
    // On the selected part itself: its parent becomes the model's root.
    SelectByClick(arm);
    Click(PointOf(arm), Qt::ShiftModifier | Qt::ControlModifier);
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    EXPECT_EQ(ui.messageBox.Asked()[0].text,
              QStringLiteral("選択しているパーツの親を\nモデルのRootに変更しました。"));
    EXPECT_EQ(ui.messageBox.Asked()[0].style, 0u);
    EXPECT_EQ(arm->GetParent(), root);
    EXPECT_EQ(Context().selection.Part(), arm) << "the selection stays";

    // On a part inside the selected part's subtree: that part goes to the root first, then
    // the selected part goes under it; no frame ends up under itself.
    rm::Frame* chest = Part("Chest");
    rm::Frame* head = Part("Head");
    SelectByClick(chest);
    ui.messageBox.Clear();
    Click(PointOf(head), Qt::ShiftModifier | Qt::ControlModifier);
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    EXPECT_EQ(ui.messageBox.Asked()[0].text,
              QStringLiteral("選択しているパーツの親を変更しました。"));
    EXPECT_EQ(head->GetParent(), root);
    EXPECT_EQ(chest->GetParent(), head);
    EXPECT_EQ(frame->GetActiveDocument()->IsModified(), 1);

    // Without both keys, or in the animation mode, a click only selects.
    Click(PointOf(arm), Qt::ShiftModifier);
    EXPECT_EQ(Context().selection.Part(), arm);
    EXPECT_EQ(arm->GetParent(), root);
}

TEST_F(ViewInteractionTest, UpAndDownWrapRoundTheModelAndPassFramesWithoutVisuals) {
    rm::Frame* root = Context().currentModel->Root();
    rm::Frame* head = Part("Head");
    // A frame without visuals right after the Head (the model's root has none either).
    rm::Ref<rm::Frame> empty;
    g_d3drm->CreateFrame(head, &empty);
    ASSERT_EQ(RootIndex(empty.Get()), RootIndex(head) + 1);
    SelectByClick(head);
    Key(Qt::Key_Up);
    EXPECT_EQ(Context().selection.Part(), ViewInteraction::FrameAt(root, RootIndex(head) + 2));
    Key(Qt::Key_Down);
    EXPECT_EQ(Context().selection.Part(), head);

    const int count = ViewInteraction::CountFrames(root);
    rm::Frame* last = ViewInteraction::FrameAt(root, count - 1);
    rm::Frame* first = ViewInteraction::FrameAt(root, 1);
    SelectByClick(last);
    Key(Qt::Key_Up);
    EXPECT_EQ(Context().selection.Part(), first) << "past the last frame and the root";
    Key(Qt::Key_Down);
    EXPECT_EQ(Context().selection.Part(), last);
    ASSERT_NE(Context().selection.PlacedBox(g_d3drm), nullptr);
}

TEST_F(ViewInteractionTest, SelectingTheSelectedPartAgainCyclesItsVisualsAndComesRound) {
    rm::Frame* head = Part("Head");
    rm::Ref<rm::Visual> first = head->Visuals().front();
    rm::Ref<rm::MeshBuilder> builder;
    g_d3drm->CreateMeshBuilder(&builder);
    const rm::Vector corners[4] = {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}};
    const std::uint32_t faces[] = {4, 0, 1, 2, 3, 0};
    builder->AddFaces(4, corners, 0, nullptr, faces);
    rm::Ref<rm::Mesh> second;
    builder->CreateMesh(&second);
    head->AddVisual(second.Get());
    ViewInteraction& interaction = view->Interaction();
    std::vector<rm::Visual*> taken;
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(interaction.SelectPart(head, nullptr), 1);
        taken.push_back(Context().selection.Visual());
        // The box is never taken as one of the part's visuals.
        EXPECT_EQ(head->Visuals().size(), 2u);
    }
    EXPECT_EQ(taken,
              (std::vector<rm::Visual*>{first.Get(), second.Get(), first.Get(), second.Get()}));
}

TEST_F(ViewInteractionTest, ACtrlRightDragTenPixelsDownMovesTheCameraTwoUnitsBack) {
    rm::Frame* camera = view->GetCamera();
    rm::Vector before, after, direction, up;
    camera->GetPosition(nullptr, &before);
    camera->GetOrientation(nullptr, &direction, &up);
    Drag(Qt::RightButton, QPoint(200, 200), QPoint(0, 10), 2, Qt::ControlModifier);
    camera->GetPosition(nullptr, &after);
    EXPECT_THAT(after,
                VectorNear(rm::VectorSubtract(before, rm::VectorScale(direction, 2.0f)), 1e-4f));
}

TEST_F(ViewInteractionTest, TheFieldOfViewStaysWithinItsLimits) {
    rm::Viewport* viewport = view->GetViewport();
    const QPoint start(200, 200);
    QTest::mousePress(view, Qt::RightButton, {}, start);
    QTest::mouseEvent(QTest::MouseMove, view, Qt::NoButton, {}, start + QPoint(0, 1));
    QTest::mousePress(view, Qt::LeftButton, {}, start + QPoint(0, 1));
    const struct {
        int y;
        float expected;
    } rows[] = {{41, 0.7f}, {3000, 10.0f}, {-3000, 0.0001f}, {-2960, 0.2001f}};
    for (const auto& row : rows) {
        QTest::mouseEvent(QTest::MouseMove, view, Qt::NoButton, {}, start + QPoint(0, row.y));
        EXPECT_NEAR(viewport->GetField(), row.expected, 1e-4f) << row.y;
    }
    QTest::mouseRelease(view, Qt::LeftButton, {}, start);
    QTest::mouseRelease(view, Qt::RightButton, {}, start);
}

TEST_F(ViewInteractionTest, ArrowsStepKeysAndPartsButNotWithAlt) {
    rm::Frame* head = Part("Head");
    SelectByClick(head);
    Key(Qt::Key_Right);
    EXPECT_EQ(Context().keyTime, 12u);
    Key(Qt::Key_Left);
    EXPECT_EQ(Context().keyTime, 10u);
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right}) {
        Key(key, Qt::AltModifier);
        EXPECT_EQ(Context().selection.Part(), head) << key;
        EXPECT_EQ(Context().keyTime, 10u) << key;
    }
    // Numeric pad 5: the "Top" preset, shown and applied.
    Key(Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(Panel().GetDlgItemText(ctl::CameraView), QStringLiteral("Top"));
    rm::Vector direction, up;
    view->GetCameraPivot()->GetOrientation(nullptr, &direction, &up);
    EXPECT_THAT(direction, VectorNear(rm::Vector{0, -1, 0}, 1e-5f));
    // Turning the camera shows "User" again.
    Drag(Qt::RightButton, QPoint(100, 100), QPoint(10, 0), 1);
    EXPECT_EQ(Panel().GetDlgItemText(ctl::CameraView), QStringLiteral("User"));
}

TEST_F(ViewInteractionTest, APickOfAModelWithoutACharacterOrAnimationSaysSo) {
    // A model root the character list does not know: a stray frame over the Hips.
    rm::Frame* hips = Part("Hips");
    rm::Ref<rm::Frame> stray;
    g_d3drm->CreateFrame(Context().sceneFrame, &stray);
    stray->AddChild(hips);
    Click(PointOf(hips));
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    EXPECT_EQ(ui.messageBox.Asked()[0].text, QStringLiteral("Not Character Data!"));
    EXPECT_EQ(ui.messageBox.Asked()[0].caption, framework::UiServices::AppTitle());
    EXPECT_EQ(ui.messageBox.Asked()[0].style, 0u);
    EXPECT_EQ(Context().currentAnimation, nullptr);
    EXPECT_EQ(Context().currentCharacter, nullptr);
}

TEST_F(ViewInteractionTest, APickOfACharacterWithoutAnAnimationSetSaysSo) {
    ASSERT_EQ(frame->OnCommand(ids::FileNew, framework::CommandSource::Menu), 1);
    ui.fileDialog.Choose(QString::fromStdString(shell_test::SampleWalker()));
    frame->OnCommand(ids::ChangeModel, framework::CommandSource::Menu);
    ASSERT_NE(Context().currentModel, nullptr);
    ASSERT_EQ(Context().currentAnimation, nullptr);
    ui.messageBox.Clear();
    rm::Frame* head = Part("Head");
    Click(PointOf(head));
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    EXPECT_EQ(ui.messageBox.Asked()[0].text, QStringLiteral("Not Animation Data!"));
    EXPECT_EQ(Context().selection.Part(), head) << "the part is picked all the same";
    // Up and Down need an animation set bound to the model.
    Key(Qt::Key_Up);
    EXPECT_EQ(Context().selection.Part(), head);
}

TEST_F(ViewInteractionTest, ASelectedPartWhoseModelLeftTheSceneIsLetGo) {
    rm::Frame* head = Part("Head");
    SelectByClick(head);
    const auto keys = CPartRecord::Of(head)->animation->Keys().size();
    Context().sceneFrame->DeleteChild(Context().currentModel->Root());
    Drag(Qt::LeftButton, QPoint(150, 150), QPoint(20, 0));
    EXPECT_EQ(Context().selection.Part(), nullptr);
    EXPECT_EQ(CPartRecord::Of(head)->animation->Keys().size(), keys);
    EXPECT_EQ(head->Visuals().size(), 1u) << "its box was taken off";
}

} // namespace

namespace {

TEST_F(ViewInteractionTest, SetParentAndSetChildByButtonsLinkWithTheNextClickAndEscapeCancels) {
    rm::Frame* root = Context().currentModel->Root();
    rm::Frame* arm = Part("UpperArm_L");
    rm::Frame* head = Part("Head");
    rm::Frame* leg = Part("UpperLeg_R");
    const struct Row {
        const char* what;
        framework::CommandId button;
        rm::Frame* selected;
        rm::Frame* clicked;
        bool escapeFirst;
        /// Who ends up under whom (null: nothing moves).
        rm::Frame* child;
        rm::Frame* parent;
    } rows[] = {
        {"Set Parent: the arm goes under the head", ids::SetParent, arm, head, false, arm, head},
        {"Set Child: the leg comes under the arm", ids::SetChild, arm, leg, false, leg, arm},
        {"Escape cancels: the click only selects", ids::SetParent, head, leg, true, nullptr,
         nullptr},
    };
    rm::Frame* armParent = arm->GetParent();
    rm::Frame* legParent = leg->GetParent();
    // The buttons are greyed in the animation mode and without a selection.
    SelectByClick(arm);
    EXPECT_FALSE(frame->IsCommandEnabled(ids::SetParent));
    Panel().ClickButton(ctl::ParentChild);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SelectByClick(row.selected);
        rm::Frame* oldParent = row.clicked->GetParent();
        ui.messageBox.Clear();
        ASSERT_TRUE(frame->IsCommandEnabled(row.button));
        frame->OnCommand(row.button, framework::CommandSource::Control);
        EXPECT_NE(view->Interaction().PendingLink(), ViewInteraction::Link::None);
        if (row.escapeFirst) {
            Key(Qt::Key_Escape);
            EXPECT_EQ(view->Interaction().PendingLink(), ViewInteraction::Link::None);
        }
        Click(PointOf(row.clicked));
        EXPECT_EQ(view->Interaction().PendingLink(), ViewInteraction::Link::None)
            << "one click per press of the button";
        if (row.child == nullptr) {
            EXPECT_TRUE(ui.messageBox.Asked().empty());
            EXPECT_EQ(Context().selection.Part(), row.clicked);
            EXPECT_EQ(row.clicked->GetParent(), oldParent);
            continue;
        }
        ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
        EXPECT_EQ(ui.messageBox.Asked()[0].text,
                  QStringLiteral("選択しているパーツの親を変更しました。"));
        EXPECT_EQ(row.child->GetParent(), row.parent);
        EXPECT_EQ(Context().selection.Part(), row.selected) << "the selection stays";
        // The timeline's part tree shows the new tree at once.
        const auto& parts = frame->GetTimeline()->Tree().Parts();
        const auto itemOf = [&](const rm::Frame* part) -> QTreeWidgetItem* {
            for (const auto& r : parts) {
                if (r.frame.Get() == part) {
                    return r.item;
                }
            }
            return nullptr;
        };
        ASSERT_NE(itemOf(row.child), nullptr);
        EXPECT_EQ(itemOf(row.child)->parent(), itemOf(row.parent));
    }
    // Each link is one step: two undos put the leg and the arm back.
    frame->OnCommand(ids::EditUndo, framework::CommandSource::Menu);
    frame->OnCommand(ids::EditUndo, framework::CommandSource::Menu);
    EXPECT_EQ(Part("UpperLeg_R")->GetParent(), legParent);
    EXPECT_EQ(Part("UpperArm_L")->GetParent(), armParent);
    EXPECT_NE(root, nullptr);
}

} // namespace

#include "app/CMainFrame.h"

#include <QAction>
#include <QCoreApplication>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/BarControlIds.h"
#include "app/ProgramState.h"
#include "app/ShellFixture.h"
#include "platform/framework/Document.h"
#include "platform/framework/TrackBar.h"
#include "platform/rm/DebugOutput.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Math.h"
#include "platform/rm/Mesh.h"
#include "resources/CommandIds.h"
#include "scene/CCharacterData.h"

namespace {

using shell_test::ShellFixture;
namespace ids = resources::ids;

::testing::AssertionResult Near(const rm::Vector& actual, const rm::Vector& expected) {
    constexpr float kTolerance = 1e-4f;
    if (std::fabs(actual.x - expected.x) <= kTolerance &&
        std::fabs(actual.y - expected.y) <= kTolerance &&
        std::fabs(actual.z - expected.z) <= kTolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") instead of ("
           << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

class MainFrameTest : public ShellFixture {
protected:
    void SetUp() override { ASSERT_TRUE(Start()); }

    void ChooseCameraView(int index) {
        Panel().SetCurSel(ctl::CameraView, index);
        frame->RouteCommand(ctl::CameraView, framework::Notification::SelEndOk);
    }

    void PivotOrientation(rm::Vector* direction, rm::Vector* up) {
        view->GetCameraPivot()->GetOrientation(nullptr, direction, up);
    }
};

TEST_F(MainFrameTest, StartsInAnimationModeWithRotateAllAxesUserViewAndSpeedOneThirtieth) {
    EXPECT_EQ(Panel().IsDlgButtonChecked(ctl::Animation), 1);
    EXPECT_EQ(Panel().IsDlgButtonChecked(ctl::ParentChild), 0);
    EXPECT_EQ(Panel().IsDlgButtonChecked(ctl::Rotate), 1);
    for (int other : {ctl::MoveModel, ctl::MovePart, ctl::Zoom})
        EXPECT_EQ(Panel().IsDlgButtonChecked(other), 0) << other;
    for (int axis : {ctl::AxisX, ctl::AxisY, ctl::AxisZ})
        EXPECT_EQ(Panel().IsDlgButtonChecked(axis), 1) << axis;
    EXPECT_EQ(Panel().IsDlgButtonChecked(ctl::AxisNegative), 0);
    EXPECT_EQ(Panel().IsDlgItemEnabled(ctl::Zoom), 0);
    EXPECT_EQ(Panel().GetDlgItemText(ctl::CameraView), QStringLiteral("User"));
    EXPECT_EQ(Panel().GetDlgItemText(ctl::SecondGroupLabel), QStringLiteral("animation"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::PlaySpeed), QStringLiteral("1/30"));
    EXPECT_FLOAT_EQ(frame->GetPlaySpeed(), 0.5f);

    EXPECT_EQ(Bar().GetDlgItemText(ctl::Min), QStringLiteral("0.00"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Max), QStringLiteral("0.00"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Length), QStringLiteral("Non"));
    auto* slider = qobject_cast<framework::TrackBar*>(Bar().GetDlgItem(ctl::TimeSlider));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 1);

    EXPECT_EQ(frame->GetPartsToolBar()->IsShown(), 0);
    EXPECT_EQ(frame->GetAnimationToolBar()->IsShown(), 1);
    EXPECT_EQ(frame->GetMainToolBar()->IsShown(), 1);
    using Style = framework::ToolBar::ButtonStyle;
    framework::ToolBar* playback = frame->GetAnimationToolBar();
    EXPECT_EQ(playback->GetButtonStyle(playback->CommandToIndex(ids::PlayAnimation)),
              Style::CheckBox);
    EXPECT_EQ(playback->GetButtonStyle(playback->CommandToIndex(ids::AnimationPlayAll)),
              Style::CheckBox);
    EXPECT_EQ(playback->GetButtonStyle(playback->CommandToIndex(ids::StopAnimation)),
              Style::Button);

    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Pavrix / Prototype"));
    EXPECT_EQ(g_operationMode, 1);
    EXPECT_EQ(g_mouseFunction, 2);
    EXPECT_EQ(g_axisPositive, 1);
    EXPECT_EQ(g_playState, 0);
    EXPECT_EQ(g_currentAnimation, nullptr);
    EXPECT_NE(g_sceneRoot, nullptr);
    EXPECT_NE(g_sceneFrame, nullptr);
    EXPECT_NE(g_gridFrame, nullptr);
    EXPECT_EQ(g_sceneFrame->GetParent(), g_sceneRoot);
    EXPECT_EQ(g_gridFrame->GetParent(), nullptr);
    EXPECT_NE(g_libraries, nullptr);
    EXPECT_EQ(g_sceneModelLibrary, g_modelLibrary);
    EXPECT_EQ(g_sceneAnimationLibrary, g_animationLibrary);
    EXPECT_EQ(g_d3drm, frame->GetParentD3R().D3DRM());
}

TEST_F(MainFrameTest, ParentChildModeSwapsTheToolBarsAndRelabelsTheSecondGroup) {
    ASSERT_EQ(Panel().ClickButton(ctl::ParentChild), 1);
    EXPECT_EQ(g_operationMode, 0);
    EXPECT_EQ(frame->GetAnimationToolBar()->IsShown(), 0);
    EXPECT_EQ(frame->GetPartsToolBar()->IsShown(), 1);
    EXPECT_EQ(Panel().GetDlgItemText(ctl::SecondGroupLabel), QStringLiteral("Model"));

    // Pressing it again changes nothing, even a bar shown or hidden meanwhile.
    frame->ShowControlBar(frame->GetAnimationToolBar(), 1);
    Panel().ClickButton(ctl::ParentChild);
    EXPECT_EQ(frame->GetAnimationToolBar()->IsShown(), 1);
    frame->ShowControlBar(frame->GetAnimationToolBar(), 0);

    ASSERT_EQ(Panel().ClickButton(ctl::Animation), 1);
    EXPECT_EQ(g_operationMode, 1);
    EXPECT_EQ(frame->GetAnimationToolBar()->IsShown(), 1);
    EXPECT_EQ(frame->GetPartsToolBar()->IsShown(), 0);
    EXPECT_EQ(Panel().GetDlgItemText(ctl::SecondGroupLabel), QStringLiteral("Animation"));
}

TEST_F(MainFrameTest, MouseFunctionAndAxisButtonsSetTheirSettings) {
    const struct {
        int button;
        int function;
    } functions[] = {{ctl::MoveModel, 0}, {ctl::MovePart, 1}, {ctl::Rotate, 2}};
    for (const auto& row : functions) {
        Panel().ClickButton(row.button);
        EXPECT_EQ(g_mouseFunction, row.function) << row.button;
    }
    Panel().ClickButton(ctl::AxisY);
    EXPECT_EQ(g_axisY, 0);
    EXPECT_EQ(g_axisX, 1);
    Panel().ClickButton(ctl::AxisY);
    EXPECT_EQ(g_axisY, 1);
    Panel().ClickButton(ctl::AxisNegative);
    EXPECT_EQ(g_axisPositive, 0);
    Panel().ClickButton(ctl::AxisNegative);
    EXPECT_EQ(g_axisPositive, 1);
    // The animation bar's "Min" edit shares 1012 with "X": its changes are no click.
    Bar().SetDlgItemText(ctl::Min, QStringLiteral("5.00"));
    EXPECT_EQ(g_axisX, 1);
}

TEST_F(MainFrameTest, CameraViewsPointThePivotFromTheWorld) {
    const struct {
        int index;
        rm::Vector direction;
        rm::Vector up;
    } views[] = {
        {1, {0, 0, 1}, {0, 1, 0}},  {2, {0, 0, -1}, {0, 1, 0}}, {3, {1, 0, 0}, {0, 1, 0}},
        {4, {-1, 0, 0}, {0, 1, 0}}, {5, {0, -1, 0}, {0, 0, 1}}, {6, {0, 1, 0}, {0, 0, 1}},
    };
    for (const auto& row : views) {
        g_redrawRequest = 0;
        ChooseCameraView(row.index);
        rm::Vector direction, up;
        PivotOrientation(&direction, &up);
        EXPECT_TRUE(Near(direction, row.direction)) << "view " << row.index;
        EXPECT_TRUE(Near(up, row.up)) << "view " << row.index;
        EXPECT_EQ(g_redrawRequest, 1) << "view " << row.index;
    }
    // "User" leaves the pivot as it is ("Bottom" from the last row).
    ChooseCameraView(0);
    rm::Vector direction, up;
    PivotOrientation(&direction, &up);
    EXPECT_TRUE(Near(direction, {0, 1, 0}));
    EXPECT_TRUE(Near(up, {0, 0, 1}));
}

TEST_F(MainFrameTest, SelectCameraViewShowsTheEntryWithoutTurningThePivot) {
    rm::Vector before, up;
    PivotOrientation(&before, &up);
    EXPECT_EQ(frame->SelectCameraView(5), 1);
    EXPECT_EQ(Panel().GetDlgItemText(ctl::CameraView), QStringLiteral("Top"));
    rm::Vector after;
    PivotOrientation(&after, &up);
    EXPECT_TRUE(Near(after, before));
    EXPECT_EQ(frame->SelectCameraView(5), 1);
    EXPECT_EQ(frame->SelectCameraView(7), 0);
    EXPECT_EQ(Panel().GetDlgItemText(ctl::CameraView), QStringLiteral("Top"));
    frame->ApplyCameraView();
    PivotOrientation(&after, &up);
    EXPECT_TRUE(Near(after, {0, -1, 0}));
}

TEST_F(MainFrameTest, CenterWithNothingSelectedCentresOnTheSceneFrame) {
    rm::Ref<rm::Frame> child;
    ASSERT_EQ(g_d3drm->CreateFrame(g_sceneFrame, &child), rm::D3DRM_OK);
    rm::Ref<rm::MeshBuilder> builder;
    g_d3drm->CreateMeshBuilder(&builder);
    const rm::Vector corners[3] = {{2, 0, 4}, {6, 0, 4}, {2, 8, 10}};
    const std::uint32_t faces[] = {3, 0, 1, 2, 0};
    builder->AddFaces(3, corners, 0, nullptr, faces);
    child->AddVisual(builder.Get());
    g_redrawRequest = 0;
    ASSERT_EQ(frame->OnCmdMsg(ctl::Center), 1);
    rm::Vector position;
    view->GetCameraPivot()->GetPosition(nullptr, &position);
    EXPECT_TRUE(Near(position, {4, 4, 7}));
    EXPECT_EQ(g_redrawRequest, 1);
    EXPECT_EQ(frame->CenterOnFrame(nullptr), 0);
}

TEST_F(MainFrameTest, ZBufferCommandsSetTheSceneRootAndMoveTheCheckMark) {
    QAction* on = frame->GetMenuAction(ids::ZBufferOn);
    QAction* off = frame->GetMenuAction(ids::ZBufferOff);
    ASSERT_NE(on, nullptr);
    ASSERT_NE(off, nullptr);
    frame->UpdateAllMenuItems();
    EXPECT_TRUE(on->isChecked());
    EXPECT_FALSE(off->isChecked());

    ASSERT_EQ(frame->OnCommand(ids::ZBufferOff, framework::CommandSource::Menu), 1);
    EXPECT_EQ(g_sceneRoot->GetZbufferMode(), rm::D3DRMZBUFFER_DISABLE);
    frame->UpdateAllMenuItems();
    EXPECT_FALSE(on->isChecked());
    EXPECT_TRUE(off->isChecked());

    frame->OnCommand(ids::ZBufferOn, framework::CommandSource::Menu);
    EXPECT_EQ(g_sceneRoot->GetZbufferMode(), rm::D3DRMZBUFFER_ENABLE);
    frame->UpdateAllMenuItems();
    EXPECT_TRUE(on->isChecked());
    EXPECT_FALSE(off->isChecked());
}

TEST_F(MainFrameTest, EditCommandsAndUnhandledButtonsAreNeverEnabled) {
    const framework::CommandId editCommands[] = {ids::EditUndo, ids::EditCut, ids::EditCopy,
                                                 ids::EditPaste};
    frame->OnIdleUpdateCmdUI();
    frame->UpdateAllMenuItems();
    for (framework::CommandId id : editCommands) {
        ASSERT_NE(frame->GetMenuAction(id), nullptr) << id;
        EXPECT_FALSE(frame->GetMenuAction(id)->isEnabled()) << id;
    }
    for (QKeyCombination keys :
         {QKeyCombination(Qt::CTRL, Qt::Key_Z), QKeyCombination(Qt::CTRL, Qt::Key_X),
          QKeyCombination(Qt::CTRL, Qt::Key_C), QKeyCombination(Qt::CTRL, Qt::Key_V)})
        EXPECT_EQ(frame->TranslateAccelerator(keys), 0);
    for (framework::CommandId id :
         {ids::EditCut, ids::EditCopy, ids::EditPaste, ids::DeletePartsKeyFrame,
          ids::CopyPartsKeyFrame, ids::PastePartsKeyFrame})
        EXPECT_EQ(frame->GetMainToolBar()->IsButtonEnabled(id), 0) << id;
    EXPECT_EQ(frame->GetAnimationToolBar()->IsButtonEnabled(ids::ReverseRotatePositionScale), 0);
    // Handled buttons stay usable.
    EXPECT_EQ(frame->GetMainToolBar()->IsButtonEnabled(ids::FileOpen), 1);
    EXPECT_EQ(frame->GetMainToolBar()->IsButtonEnabled(ids::AppAbout), 1);

    // The part tool bar's buttons, once it is shown.
    Panel().ClickButton(ctl::ParentChild);
    frame->OnIdleUpdateCmdUI();
    for (framework::CommandId id :
         {ids::SelectParts, ids::SetParent, ids::SetChild, ids::PartsButton32827})
        EXPECT_EQ(frame->GetPartsToolBar()->IsButtonEnabled(id), 0) << id;
}

TEST_F(MainFrameTest, ToolBarMenuEntryShowsAndHidesTheFirstToolBarOnly) {
    QAction* entry = frame->GetMenuAction(ids::ViewToolBar);
    ASSERT_NE(entry, nullptr);
    frame->UpdateAllMenuItems();
    EXPECT_TRUE(entry->isChecked());
    ASSERT_EQ(frame->OnCommand(ids::ViewToolBar, framework::CommandSource::Menu), 1);
    EXPECT_EQ(frame->GetMainToolBar()->IsShown(), 0);
    EXPECT_EQ(frame->GetAnimationToolBar()->IsShown(), 1);
    EXPECT_EQ(frame->GetControlPanel()->IsShown(), 1);
    EXPECT_EQ(frame->GetAnimationBar()->IsShown(), 1);
    frame->UpdateAllMenuItems();
    EXPECT_FALSE(entry->isChecked());
    frame->OnCommand(ids::ViewToolBar, framework::CommandSource::Menu);
    EXPECT_EQ(frame->GetMainToolBar()->IsShown(), 1);
}

TEST_F(MainFrameTest, WindowIsNeverSmallerThan320By240) {
    EXPECT_EQ(frame->minimumSize(), QSize(320, 240));
    frame->resize(100, 80);
    EXPECT_GE(frame->width(), 320);
    EXPECT_GE(frame->height(), 240);
    frame->resize(320, 240);
    EXPECT_EQ(frame->size(), QSize(320, 240));
}

TEST_F(MainFrameTest, TimeSliderReachesTheRightEdgeOfTheAnimationBar) {
    for (int width : {1100, 700}) {
        frame->resize(width, 700);
        QCoreApplication::processEvents();
        QWidget* slider = Bar().GetDlgItem(ctl::TimeSlider);
        const int sliderRight = slider->mapTo(frame, QPoint(slider->width(), 0)).x();
        const int barRight = frame->GetAnimationBar()->mapTo(frame, QPoint(0, 0)).x() +
                             frame->GetAnimationBar()->width();
        EXPECT_NEAR(sliderRight, barRight, 12) << width;
    }
}

TEST_F(MainFrameTest, SelectionBoxIsGreenDrawnNeverPickedAndGoesWithClearSelection) {
    rm::Ref<rm::Frame> part;
    ASSERT_EQ(g_d3drm->CreateFrame(g_sceneFrame, &part), rm::D3DRM_OK);
    const rm::Box box{{-1, -2, -3}, {1, 2, 3}};
    EXPECT_EQ(frame->CreateSelectionBox(nullptr, &box), 0);
    EXPECT_EQ(frame->CreateSelectionBox(part.Get(), nullptr), 0);
    ASSERT_EQ(frame->CreateSelectionBox(part.Get(), &box), 1);
    ASSERT_NE(g_selectionBox, nullptr);
    EXPECT_EQ(part->Visuals().size(), 1u);
    rm::Box drawn;
    g_selectionBox->GetBox(&drawn);
    EXPECT_TRUE(Near(drawn.min, box.min));
    EXPECT_TRUE(Near(drawn.max, box.max));

    g_selectedPart = part.Get();
    g_visualCycle = 2;
    g_partIndex = 5;
    EXPECT_EQ(frame->ClearSelection(), 1);
    EXPECT_EQ(part->Visuals().size(), 0u);
    EXPECT_EQ(g_selectedPart, nullptr);
    EXPECT_EQ(g_selectionBox, nullptr);
    EXPECT_EQ(g_visualCycle, 0);
    EXPECT_EQ(g_partIndex, 0);
}

TEST_F(MainFrameTest, MarkDocumentModifiedMarksTheViewsDocument) {
    framework::Document* document = frame->GetActiveDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->IsModified(), 0);
    EXPECT_EQ(frame->MarkDocumentModified(), 1);
    EXPECT_EQ(document->IsModified(), 1);
}

TEST_F(MainFrameTest, PlaySpeedChoicesSetTheSpeedFactor) {
    const float speeds[] = {2.0f, 1.5f, 1.0f, 0.5f, 0.25f, 1.0f / 6.0f};
    for (int index = 0; index < 6; ++index) {
        Bar().SetCurSel(ctl::PlaySpeed, index);
        frame->RouteCommand(ctl::PlaySpeed, framework::Notification::SelChange);
        EXPECT_FLOAT_EQ(frame->GetPlaySpeed(), speeds[index]) << index;
    }
    Bar().SetCurSel(ctl::PlaySpeed, -1);
    frame->RouteCommand(ctl::PlaySpeed, framework::Notification::SelChange);
    EXPECT_FLOAT_EQ(frame->GetPlaySpeed(), speeds[5]);
}

/// Drives the tick with a clock that moves `step` seconds per tick and records the sleeps.
class TickTest : public MainFrameTest {
protected:
    void UseClock(double step) {
        m_step = step;
        frame->SetTickServices(
            [this] {
                // Two readings per tick, both at the tick's own time.
                const double now = m_ticks * m_step;
                if (++m_readings % 2 == 0)
                    ++m_ticks;
                return now;
            },
            [this](int milliseconds) { sleeps.push_back(milliseconds); });
    }

    std::vector<int> sleeps;

private:
    double m_step = 0;
    long m_readings = 0;
    long m_ticks = 1;
};

TEST_F(TickTest, PacesBySleepingWhenNothingIsDrawnOrTheApplicationIsInactive) {
    UseClock(0.01);
    ASSERT_NE(view->GetDevice(), nullptr);
    const struct {
        int redraw;
        int active;
        std::vector<int> sleeps;
    } cases[] = {
        {0, 1, {10}},
        {1, 1, {}},
        {1, 0, {5}},
        {0, 0, {10}},
    };
    for (const auto& row : cases) {
        sleeps.clear();
        view->GetDevice()->ActivateHandle(row.active);
        g_redrawRequest = row.redraw;
        EXPECT_EQ(frame->Tick(), 1);
        EXPECT_EQ(sleeps, row.sleeps) << "redraw " << row.redraw << " active " << row.active;
        EXPECT_EQ(g_redrawRequest, 0);
    }
}

TEST_F(TickTest, CountsTicksPerSecondAndChangesTheCountAtMostOncePerSecond) {
    UseClock(0.1);
    std::vector<int> shown;
    for (int i = 0; i < 25; ++i) {
        frame->Tick();
        shown.push_back(g_fps);
        EXPECT_NEAR(g_frameStep, 6.0f, 1e-4f) << i;
    }
    // Ticks at 0.1, 0.2, ... seconds: the count is taken at 1.0 s and at 2.0 s.
    for (int i = 0; i < 25; ++i) {
        const int expected = i < 9 ? 0 : 10;
        EXPECT_EQ(shown[i], expected) << "tick " << i + 1;
    }
}

TEST_F(TickTest, MovesTheSceneRootByTheFrameStep) {
    UseClock(1.0 / 60.0);
    g_sceneRoot->SetRotation(nullptr, 0, 1, 0, 0.1f);
    frame->Tick();
    frame->Tick();
    rm::Vector direction, up;
    g_sceneRoot->GetOrientation(nullptr, &direction, &up);
    // Two steps of 1.0 at 0.1 radians each.
    EXPECT_NEAR(std::fabs(std::atan2(direction.x, direction.z)), 0.2f, 1e-3f) << direction.x;
}

TEST_F(MainFrameTest, DestructionReleasesTheViewsDeviceBeforeTheSceneAndEmptiesTheGlobals) {
    std::string log;
    rm::DebugOutput::Capture previous =
        rm::DebugOutput::SetCapture([&log](std::string_view text) { log += text; });
    Stop();
    rm::DebugOutput::SetCapture(std::move(previous));

    const std::size_t device = log.find("ParentD3R:Delete Child");
    const std::size_t scene = log.find("Release D3DRM frame\n");
    ASSERT_NE(device, std::string::npos) << log;
    ASSERT_NE(scene, std::string::npos) << log;
    EXPECT_LT(device, scene);
    EXPECT_EQ(g_sceneRoot, nullptr);
    EXPECT_EQ(g_sceneFrame, nullptr);
    EXPECT_EQ(g_gridFrame, nullptr);
    EXPECT_EQ(g_libraries, nullptr);
    EXPECT_EQ(g_sceneModelLibrary, nullptr);
    EXPECT_EQ(g_d3drm, nullptr);
}

} // namespace

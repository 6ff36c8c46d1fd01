#include "app/CMainFrame.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include "app/BarControlIds.h"
#include "app/CDxMFCDoc.h"
#include "app/ShellFixture.h"
#include "app/TestCharacters.h"
#include "platform/framework/Document.h"
#include "platform/framework/TrackBar.h"
#include "platform/rm/DebugOutput.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Math.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/MeshBuilder.h"
#include "resources/CommandIds.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"

namespace {

using shell_test::ShellFixture;
namespace ids = resources::ids;

::testing::AssertionResult Near(const rm::Vector& actual, const rm::Vector& expected) {
    constexpr float kTolerance = 1e-4f;
    if (std::fabs(actual.x - expected.x) <= kTolerance &&
        std::fabs(actual.y - expected.y) <= kTolerance &&
        std::fabs(actual.z - expected.z) <= kTolerance) {
        return ::testing::AssertionSuccess();
    }
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
    for (int other : {ctl::MoveModel, ctl::MovePart, ctl::Zoom}) {
        EXPECT_EQ(Panel().IsDlgButtonChecked(other), 0) << other;
    }
    for (int axis : {ctl::AxisX, ctl::AxisY, ctl::AxisZ}) {
        EXPECT_EQ(Panel().IsDlgButtonChecked(axis), 1) << axis;
    }
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

    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Pavrix / Prototype[*]"));
    EXPECT_EQ(Context().operationMode, session::OperationMode::Animation);
    EXPECT_EQ(Context().mouseFunction, session::MouseFunction::Rotate);
    EXPECT_EQ(Context().axisPositive, true);
    EXPECT_EQ(Context().playState, session::PlayState::Stopped);
    EXPECT_EQ(Context().currentAnimation, nullptr);
    EXPECT_NE(Context().sceneRoot, nullptr);
    EXPECT_NE(Context().sceneFrame, nullptr);
    EXPECT_NE(Context().gridFrame, nullptr);
    EXPECT_EQ(Context().sceneFrame->GetParent(), Context().sceneRoot);
    EXPECT_EQ(Context().gridFrame->GetParent(), nullptr);
    EXPECT_NE(Context().libraries, nullptr);
    EXPECT_EQ(g_modelLibrary, &Context().libraries->Models());
    EXPECT_EQ(g_animationLibrary, &Context().libraries->Animations());
    EXPECT_EQ(g_d3drm, frame->GetParentD3R().D3DRM());
}

TEST_F(MainFrameTest, ParentChildModeSwapsTheToolBarsAndRelabelsTheSecondGroup) {
    ASSERT_EQ(Panel().ClickButton(ctl::ParentChild), 1);
    EXPECT_EQ(Context().operationMode, session::OperationMode::ParentChild);
    EXPECT_EQ(frame->GetAnimationToolBar()->IsShown(), 0);
    EXPECT_EQ(frame->GetPartsToolBar()->IsShown(), 1);
    EXPECT_EQ(Panel().GetDlgItemText(ctl::SecondGroupLabel), QStringLiteral("Model"));

    // Pressing it again changes nothing, even a bar shown or hidden meanwhile.
    frame->ShowControlBar(frame->GetAnimationToolBar(), 1);
    Panel().ClickButton(ctl::ParentChild);
    EXPECT_EQ(frame->GetAnimationToolBar()->IsShown(), 1);
    frame->ShowControlBar(frame->GetAnimationToolBar(), 0);

    ASSERT_EQ(Panel().ClickButton(ctl::Animation), 1);
    EXPECT_EQ(Context().operationMode, session::OperationMode::Animation);
    EXPECT_EQ(frame->GetAnimationToolBar()->IsShown(), 1);
    EXPECT_EQ(frame->GetPartsToolBar()->IsShown(), 0);
    EXPECT_EQ(Panel().GetDlgItemText(ctl::SecondGroupLabel), QStringLiteral("Animation"));
}

TEST_F(MainFrameTest, MouseFunctionAndAxisButtonsSetTheirSettings) {
    const struct {
        int button;
        session::MouseFunction function;
    } functions[] = {{ctl::MoveModel, session::MouseFunction::MoveModel},
                     {ctl::MovePart, session::MouseFunction::MovePart},
                     {ctl::Rotate, session::MouseFunction::Rotate}};
    for (const auto& row : functions) {
        Panel().ClickButton(row.button);
        EXPECT_EQ(Context().mouseFunction, row.function) << row.button;
    }
    Panel().ClickButton(ctl::AxisY);
    EXPECT_EQ(Context().axisY, false);
    EXPECT_EQ(Context().axisX, true);
    Panel().ClickButton(ctl::AxisY);
    EXPECT_EQ(Context().axisY, true);
    Panel().ClickButton(ctl::AxisNegative);
    EXPECT_EQ(Context().axisPositive, false);
    Panel().ClickButton(ctl::AxisNegative);
    EXPECT_EQ(Context().axisPositive, true);
    // The animation bar's "Min" edit shares 1012 with "X": its changes are no click.
    Bar().SetDlgItemText(ctl::Min, QStringLiteral("5.00"));
    EXPECT_EQ(Context().axisX, true);
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
        Context().redrawRequest = false;
        ChooseCameraView(row.index);
        rm::Vector direction, up;
        PivotOrientation(&direction, &up);
        EXPECT_TRUE(Near(direction, row.direction)) << "view " << row.index;
        EXPECT_TRUE(Near(up, row.up)) << "view " << row.index;
        EXPECT_TRUE(Context().redrawRequest) << "view " << row.index;
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
    ASSERT_EQ(g_d3drm->CreateFrame(Context().sceneFrame, &child), rm::D3DRM_OK);
    rm::Ref<rm::MeshBuilder> builder;
    g_d3drm->CreateMeshBuilder(&builder);
    const rm::Vector corners[3] = {{2, 0, 4}, {6, 0, 4}, {2, 8, 10}};
    const std::uint32_t faces[] = {3, 0, 1, 2, 0};
    builder->AddFaces(3, corners, 0, nullptr, faces);
    child->AddVisual(builder.Get());
    Context().redrawRequest = false;
    ASSERT_EQ(frame->OnCmdMsg(ctl::Center), 1);
    rm::Vector position;
    view->GetCameraPivot()->GetPosition(nullptr, &position);
    EXPECT_TRUE(Near(position, {4, 4, 7}));
    EXPECT_TRUE(Context().redrawRequest);
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
    EXPECT_EQ(Context().sceneRoot->GetZbufferMode(), rm::D3DRMZBUFFER_DISABLE);
    frame->UpdateAllMenuItems();
    EXPECT_FALSE(on->isChecked());
    EXPECT_TRUE(off->isChecked());

    frame->OnCommand(ids::ZBufferOn, framework::CommandSource::Menu);
    EXPECT_EQ(Context().sceneRoot->GetZbufferMode(), rm::D3DRMZBUFFER_ENABLE);
    frame->UpdateAllMenuItems();
    EXPECT_TRUE(on->isChecked());
    EXPECT_FALSE(off->isChecked());
}

TEST_F(MainFrameTest, EditCommandsAndButtonsWithoutWhatTheyWorkOnAreGreyed) {
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
          QKeyCombination(Qt::CTRL, Qt::Key_C), QKeyCombination(Qt::CTRL, Qt::Key_V)}) {
        EXPECT_EQ(frame->TranslateAccelerator(keys), 0);
    }
    for (framework::CommandId id :
         {ids::EditCut, ids::EditCopy, ids::EditPaste, ids::DeletePartsKeyFrame,
          ids::CopyPartsKeyFrame, ids::PastePartsKeyFrame}) {
        EXPECT_EQ(frame->GetMainToolBar()->IsButtonEnabled(id), 0) << id;
    }
    // The per-part buttons above wait for a selected part; Reverse works on the whole set.
    EXPECT_EQ(frame->GetAnimationToolBar()->IsButtonEnabled(ids::ReverseRotatePositionScale), 1);
    // Handled buttons stay usable.
    EXPECT_EQ(frame->GetMainToolBar()->IsButtonEnabled(ids::FileOpen), 1);
    EXPECT_EQ(frame->GetMainToolBar()->IsButtonEnabled(ids::AppAbout), 1);

    // The part tool bar's buttons, once it is shown: Set Parent and Set Child wait for a
    // selected part, 32827 has nothing behind it.
    Panel().ClickButton(ctl::ParentChild);
    frame->OnIdleUpdateCmdUI();
    for (framework::CommandId id : {ids::SetParent, ids::SetChild, ids::PartsButton32827}) {
        EXPECT_EQ(frame->GetPartsToolBar()->IsButtonEnabled(id), 0) << id;
    }
    EXPECT_EQ(frame->GetPartsToolBar()->IsButtonEnabled(ids::SelectParts), 1);
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

TEST_F(MainFrameTest, SelectionBoxIsDrawnAtThePartOutsideTheSceneAndGoesWithClearSelection) {
    rm::Ref<rm::Frame> part;
    ASSERT_EQ(g_d3drm->CreateFrame(Context().sceneFrame, &part), rm::D3DRM_OK);
    part->SetPosition(nullptr, 4, 5, 6);
    rm::Ref<rm::MeshBuilder> builder;
    ASSERT_EQ(g_d3drm->CreateMeshBuilder(&builder), rm::D3DRM_OK);
    const rm::Vector corners[3] = {{-1, -2, -3}, {1, 2, 3}, {1, -2, 3}};
    const std::uint32_t faces[] = {3, 0, 1, 2, 0};
    ASSERT_EQ(builder->AddFaces(3, corners, 0, nullptr, faces), rm::D3DRM_OK);
    part->AddVisual(builder.Get());

    Context().selection.Select(part.Get(), builder.Get());
    Context().selection.SetVisualCycle(2);
    Context().selection.SetPartIndex(5);
    EXPECT_EQ(Context().selection.PlacedBox(nullptr), nullptr);
    rm::Frame* placed = Context().selection.PlacedBox(g_d3drm);
    ASSERT_NE(placed, nullptr);
    // A root of its own where the part is: no walk of the scene meets it.
    EXPECT_EQ(placed->GetParent(), nullptr);
    EXPECT_EQ(part->Visuals().size(), 1u);
    rm::Vector at;
    placed->GetPosition(nullptr, &at);
    EXPECT_TRUE(Near(at, {4, 5, 6}));
    ASSERT_NE(Context().selection.BoxMesh(), nullptr);
    rm::Box drawn;
    Context().selection.BoxMesh()->GetBox(&drawn);
    EXPECT_TRUE(Near(drawn.min, corners[0]));
    EXPECT_TRUE(Near(drawn.max, corners[1]));

    EXPECT_EQ(frame->ClearSelection(), 1);
    EXPECT_EQ(Context().selection.Part(), nullptr);
    EXPECT_EQ(Context().selection.BoxMesh(), nullptr);
    EXPECT_EQ(Context().selection.VisualCycle(), 0);
    EXPECT_EQ(Context().selection.PartIndex(), 0);
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
                if (++m_readings % 2 == 0) {
                    ++m_ticks;
                }
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
        bool redraw;
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
        Context().redrawRequest = row.redraw;
        EXPECT_EQ(frame->Tick(), 1);
        EXPECT_EQ(sleeps, row.sleeps) << "redraw " << row.redraw << " active " << row.active;
        EXPECT_FALSE(Context().redrawRequest);
    }
}

TEST_F(TickTest, CountsTicksPerSecondAndChangesTheCountAtMostOncePerSecond) {
    UseClock(0.1);
    std::vector<int> shown;
    for (int i = 0; i < 25; ++i) {
        frame->Tick();
        shown.push_back(Context().fps);
        EXPECT_NEAR(Context().frameStep, 6.0f, 1e-4f) << i;
    }
    // Ticks at 0.1, 0.2, ... seconds: the count is taken at 1.0 s and at 2.0 s.
    for (int i = 0; i < 25; ++i) {
        const int expected = i < 9 ? 0 : 10;
        EXPECT_EQ(shown[i], expected) << "tick " << i + 1;
    }
}

TEST_F(TickTest, MovesTheSceneRootByTheFrameStep) {
    UseClock(1.0 / 60.0);
    Context().sceneRoot->SetRotation(nullptr, 0, 1, 0, 0.1f);
    frame->Tick();
    frame->Tick();
    rm::Vector direction, up;
    Context().sceneRoot->GetOrientation(nullptr, &direction, &up);
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
    // The scene frames and the store were named in the frame's edit context, which went
    // with the frame; what stays program-wide is emptied.
    EXPECT_EQ(g_modelLibrary, nullptr);
    EXPECT_EQ(g_animationLibrary, nullptr);
    EXPECT_EQ(g_d3drm, nullptr);
}

// ---------------------------------------------------------------------------------------
// Playback: characters written by the test, a clock the test moves, buttons clicked as the
// tool bar does it.

/// The largest distance, in world units, between a welded vertex and the anchor it follows.
float LargestWeldGap(const CModelData& model) {
    float gap = 0;
    bool haveAnchor = false;
    rm::Vector anchor{};
    for (const auto& record : model.Welds().Records()) {
        for (const auto& mesh : record.meshes) {
            for (const auto& entry : mesh.vertexEntries) {
                if (entry.group < 0) {
                    haveAnchor = false;
                    continue;
                }
                rm::Vector world;
                record.frame->Transform(
                    &world, &mesh.mesh->GroupVertices(entry.group)[entry.vertex].position);
                if (!haveAnchor) {
                    anchor = world;
                    haveAnchor = true;
                    continue;
                }
                const rm::Vector d{world.x - anchor.x, world.y - anchor.y, world.z - anchor.z};
                gap = std::max(gap, std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z));
            }
        }
    }
    return gap;
}

class PlaybackTest : public MainFrameTest {
protected:
    /// A sixty-fourth of a second: the frame step (0.9375) and its multiples are exact.
    static constexpr double kTick = 1.0 / 64.0;

    void SetUp() override {
        MainFrameTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        frame->SetTickServices([this] { return m_now; }, [](int) {});
    }

    QString Write(const std::vector<float>& times, const QString& name, float x = 0.0f) {
        return shell_test::WriteCharacter(dir.path(), name, times, x);
    }

    /// Opens a character with these key times as File Open does.
    void OpenWithKeys(const std::vector<float>& times, const QString& name = "keys.x") {
        const QString path = Write(times, name);
        ASSERT_FALSE(path.isEmpty());
        ui.fileDialog.Choose(path);
        ASSERT_EQ(frame->OnCommand(ids::FileOpen, framework::CommandSource::Menu), 1);
        ASSERT_NE(Context().currentAnimation, nullptr);
    }

    void InsertWithKeys(const std::vector<float>& times, const QString& name, float x = 0.0f) {
        ui.fileDialog.Choose(Write(times, name, x));
        frame->OnCommand(ids::InsertCharacter, framework::CommandSource::Menu);
    }

    void SetSpeedIndex(int index) {
        Bar().SetCurSel(ctl::PlaySpeed, index);
        frame->RouteCommand(ctl::PlaySpeed, framework::Notification::SelChange);
    }

    /// One pass of the loop, `seconds` after the last one.
    void TickAfter(double seconds) {
        m_now += seconds;
        frame->Tick();
    }

    QAction* Button(framework::CommandId id) { return frame->GetAnimationToolBar()->GetAction(id); }
    /// A click on a button of the animation tool bar (check boxes toggle first).
    void Click(framework::CommandId id) { Button(id)->trigger(); }

    framework::TrackBar* Slider() {
        return qobject_cast<framework::TrackBar*>(Bar().GetDlgItem(ctl::TimeSlider));
    }

    /// The Arm of a test character, by its place under the model's root.
    static rm::Frame* ArmOf(CModelData* model) {
        return model->Root()->Children().at(0)->Children().at(0).Get();
    }

    /// How far the Arm of `model` is turned about z, in radians.
    static float ArmAngle(CModelData* model) {
        rm::Frame* arm = ArmOf(model);
        rm::Vector direction, up;
        arm->GetOrientation(arm->GetParent(), &direction, &up);
        return std::fabs(std::atan2(up.x, up.y));
    }

    QTemporaryDir dir;

private:
    double m_now = 0;
};

TEST_F(PlaybackTest, OneSecondAdvancesByTheChosenSpeedAndPosesTheParts) {
    OpenWithKeys({0, 200});
    const struct {
        int speedIndex;
        float unitsPerSecond;
    } rows[] = {{2, 60}, {3, 30}, {0, 120}, {4, 15}, {5, 10}};
    for (const auto& row : rows) {
        frame->OnCmdMsg(ids::AnimationFirst);
        SetSpeedIndex(row.speedIndex);
        Click(ids::PlayAnimation);
        ASSERT_EQ(Context().playState, session::PlayState::PlayingCurrent);
        for (int i = 0; i < 64; ++i) {
            TickAfter(kTick);
        }
        EXPECT_NEAR(Context().currentTime, row.unitsPerSecond, 1e-3f) << row.speedIndex;
        EXPECT_NEAR(ArmAngle(Context().currentModel), shell_test::ArmAngleAt(Context().currentTime),
                    1e-3f)
            << row.speedIndex;
        EXPECT_FLOAT_EQ(Context().currentAnimation->m_time, Context().currentTime);
        EXPECT_EQ(Bar().GetDlgItemText(ctl::Time),
                  QString::asprintf("%.2f", Context().currentTime));
        EXPECT_EQ(Slider()->value(), static_cast<int>(Context().currentTime));
        Click(ids::StopAnimation);
    }
}

TEST_F(PlaybackTest, PastTheLastKeyTimeTheTimeStartsAgainAtTheFirstKeyTimeItself) {
    const struct {
        std::vector<float> keys;
        float start;
        float expected;
    } rows[] = {
        {{0, 10, 20}, 19.5f, 0.0f},  // 20.5 > 20: the first key time, not 0.5
        {{5, 10, 20}, 19.5f, 5.0f},  // the first key time, not 0
        {{0, 10, 20}, 18.5f, 19.5f}, // still inside
        {{0, 10, 20}, 19.0f, 20.0f}, // on the last key time is not past it
        {{}, 0.0f, 0.0f},            // no key times: held at 0
    };
    SetSpeedIndex(2);
    for (const auto& row : rows) {
        if (row.keys.empty()) {
            const QString path = Write({}, QStringLiteral("model.x"));
            ui.fileDialog.Choose(path);
            frame->OnCommand(ids::FileOpen, framework::CommandSource::Menu);
            ASSERT_NE(Context().currentAnimation, nullptr);
        } else {
            OpenWithKeys(row.keys);
        }
        Context().currentTime = row.start;
        Click(ids::PlayAnimation);
        TickAfter(1.0 / 60.0);
        EXPECT_NEAR(Context().currentTime, row.expected, 1e-4f) << row.start;
        Click(ids::PlayAnimation);
        EXPECT_EQ(Context().playState, session::PlayState::Stopped);
    }
}

TEST_F(PlaybackTest, ASingleKeyTimeIsFirstAndLastAndPlaybackHoldsThere) {
    OpenWithKeys({10});
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Min), QStringLiteral("10.00"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Max), QStringLiteral("10.00"));
    SetSpeedIndex(2);
    Click(ids::PlayAnimation);
    std::vector<float> seen;
    for (int i = 0; i < 14; ++i) {
        TickAfter(kTick);
        seen.push_back(Context().currentTime);
    }
    // 0.9375 a tick: up to 10, then held at 10.
    EXPECT_FLOAT_EQ(seen[9], 9.375f);
    for (int i = 10; i < 14; ++i) {
        EXPECT_FLOAT_EQ(seen[i], 10.0f) << i;
    }
    Click(ids::StopAnimation);

    Context().currentTime = 3.0f;
    frame->OnCmdMsg(ids::AnimationFirst);
    EXPECT_FLOAT_EQ(Context().currentTime, 10.0f);
    Context().currentTime = 3.0f;
    frame->OnCmdMsg(ids::AnimationLast);
    EXPECT_FLOAT_EQ(Context().currentTime, 10.0f);
    EXPECT_EQ(Context().keyTime, 10u);
}

TEST_F(PlaybackTest, HeldStepButtonsStepByThePlaySpeedAndWrapAtTheEnds) {
    OpenWithKeys({0, 10, 20});
    framework::ToolBar* bar = frame->GetAnimationToolBar();
    frame->OnIdleUpdateCmdUI();
    EXPECT_EQ(bar->IsButtonEnabled(ids::AnimationBackStep), 1);
    EXPECT_EQ(bar->IsButtonEnabled(ids::AnimationForwardStep), 1);
    ASSERT_NE(bar->GetButton(ids::AnimationBackStep), nullptr);

    // Speed 0.5 ("1/30"): back from 0.2 goes below 0 and comes round to the last key time.
    Context().currentTime = 0.2f;
    bar->PressButton(ids::AnimationBackStep, 1);
    frame->OnIdleUpdateCmdUI();
    EXPECT_FLOAT_EQ(Context().currentTime, 20.0f);
    EXPECT_EQ(Context().keyTime, 20u);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::KeyNo), QStringLiteral("2"));
    frame->OnIdleUpdateCmdUI();
    EXPECT_FLOAT_EQ(Context().currentTime, 19.5f);
    EXPECT_EQ(Context().keyTime, 19u);
    EXPECT_NEAR(ArmAngle(Context().currentModel), shell_test::ArmAngleAt(19.5f), 1e-4f);
    // Let go: no more steps.
    bar->PressButton(ids::AnimationBackStep, 0);
    frame->OnIdleUpdateCmdUI();
    EXPECT_FLOAT_EQ(Context().currentTime, 19.5f);
    // The command itself does nothing.
    EXPECT_EQ(frame->OnCmdMsg(ids::AnimationBackStep), 1);
    EXPECT_FLOAT_EQ(Context().currentTime, 19.5f);

    Context().currentTime = 19.8f;
    bar->PressButton(ids::AnimationForwardStep, 1);
    frame->OnIdleUpdateCmdUI();
    EXPECT_FLOAT_EQ(Context().currentTime, 0.0f);
    frame->OnIdleUpdateCmdUI();
    EXPECT_FLOAT_EQ(Context().currentTime, 0.5f);
    EXPECT_EQ(Context().keyTime, 0u);

    // While held, every pass of the loop asks for the next command-state update.
    while (app->TakeIdleRequest()) {
    }
    TickAfter(kTick);
    QCoreApplication::processEvents();
    EXPECT_EQ(app->TakeIdleRequest(), 1);
    bar->PressButton(ids::AnimationForwardStep, 0);
    EXPECT_EQ(frame->OnCmdMsg(ids::AnimationForwardStep), 1);
    EXPECT_FLOAT_EQ(Context().currentTime, 0.5f);

    // A click that no update saw still steps once.
    frame->OnIdleUpdateCmdUI();
    EXPECT_EQ(frame->OnCmdMsg(ids::AnimationForwardStep), 1);
    EXPECT_FLOAT_EQ(Context().currentTime, 1.0f);
    EXPECT_EQ(frame->OnCmdMsg(ids::AnimationBackStep), 1);
    EXPECT_FLOAT_EQ(Context().currentTime, 0.5f);
}

TEST_F(PlaybackTest, PreviousAndNextKeyGoFromKeyTimeToKeyTime) {
    OpenWithKeys({0, 10, 20});
    const struct {
        unsigned keyTime;
        float time;
        unsigned index;
        framework::CommandId command;
        float expectedTime;
        unsigned expectedIndex;
    } rows[] = {
        {10, 10.0f, 1, ids::KeyFrameLeft, 0.0f, 0},   // on a key: the one before
        {10, 12.5f, 1, ids::KeyFrameLeft, 10.0f, 1},  // between keys: the current one
        {0, 0.0f, 0, ids::KeyFrameLeft, 0.0f, 0},     // nothing before the first
        {10, 12.5f, 1, ids::KeyFrameRight, 20.0f, 2}, // the next one
        {20, 20.0f, 2, ids::KeyFrameRight, 20.0f, 2}, // the last stays
    };
    for (const auto& row : rows) {
        Context().keyTime = row.keyTime;
        Context().currentTime = row.time;
        Context().keyIndex = row.index;
        ASSERT_EQ(frame->OnCommand(row.command, framework::CommandSource::Control), 1);
        EXPECT_FLOAT_EQ(Context().currentTime, row.expectedTime) << row.time << " " << row.command;
        EXPECT_EQ(Context().keyTime, static_cast<unsigned>(row.expectedTime));
        EXPECT_EQ(Context().keyIndex, row.expectedIndex);
        EXPECT_EQ(Bar().GetDlgItemText(ctl::KeyNo), QString::number(row.expectedIndex));
        // The file's animations are closed loops: on the last key time they show the first
        // key's pose, so the pose is checked before it only.
        if (row.expectedTime < 20.0f) {
            EXPECT_NEAR(ArmAngle(Context().currentModel), shell_test::ArmAngleAt(row.expectedTime),
                        1e-4f);
        }
    }
}

TEST_F(PlaybackTest, StopDropsTheFractionReleasesBothButtonsAndDoesNotPoseAgain) {
    OpenWithKeys({0, 10, 20});
    SetSpeedIndex(2);
    Click(ids::PlayAnimation);
    TickAfter(12.7 / 60.0);
    ASSERT_NEAR(Context().currentTime, 12.7f, 1e-4f);
    Click(ids::StopAnimation);
    EXPECT_EQ(Context().playState, session::PlayState::Stopped);
    EXPECT_FLOAT_EQ(Context().currentTime, 12.0f);
    EXPECT_EQ(Context().keyTime, 12u);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Time), QStringLiteral("12.00"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::KeyNo), QStringLiteral("1"));
    EXPECT_EQ(Button(ids::PlayAnimation)->isChecked(), false);
    // The parts keep the pose of 12.7.
    EXPECT_NEAR(ArmAngle(Context().currentModel), shell_test::ArmAngleAt(12.7f), 1e-4f);

    Click(ids::AnimationPlayAll);
    ASSERT_TRUE(Button(ids::AnimationPlayAll)->isChecked());
    frame->StopPlayback();
    EXPECT_FALSE(Button(ids::AnimationPlayAll)->isChecked());
    EXPECT_EQ(Context().playState, session::PlayState::Stopped);
}

TEST_F(PlaybackTest, ThePlayStateFollowsTheTwoCheckBoxes) {
    framework::ToolBar* bar = frame->GetAnimationToolBar();
    const auto state = [&] {
        return std::make_tuple(Context().playState, bar->IsButtonChecked(ids::PlayAnimation),
                               bar->IsButtonChecked(ids::AnimationPlayAll));
    };
    using session::PlayState;
    Click(ids::PlayAnimation);
    EXPECT_EQ(state(), std::make_tuple(PlayState::PlayingCurrent, 1, 0));
    Click(ids::PlayAnimation);
    EXPECT_EQ(state(), std::make_tuple(PlayState::Stopped, 0, 0));
    Click(ids::AnimationPlayAll);
    EXPECT_EQ(state(), std::make_tuple(PlayState::PlayingAll, 0, 1));
    // Either button while playing stops, and both come out.
    Click(ids::PlayAnimation);
    EXPECT_EQ(state(), std::make_tuple(PlayState::Stopped, 0, 0));

    // Every command-state update reads the buttons: Play All wins over Play.
    const struct {
        int play;
        int playAll;
        PlayState expected;
    } rows[] = {{1, 0, PlayState::PlayingCurrent},
                {1, 1, PlayState::PlayingAll},
                {0, 1, PlayState::PlayingAll},
                {0, 0, PlayState::Stopped}};
    for (const auto& row : rows) {
        bar->CheckButton(ids::PlayAnimation, row.play);
        bar->CheckButton(ids::AnimationPlayAll, row.playAll);
        frame->OnIdleUpdateCmdUI();
        EXPECT_EQ(Context().playState, row.expected) << row.play << row.playAll;
    }
}

TEST_F(PlaybackTest, ReleasingTheSliderMovesTheTimeOnlyWhileStopped) {
    OpenWithKeys({0, 10, 20});
    framework::TrackBar* slider = Slider();
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 20);
    EXPECT_EQ(slider->GetTics(), (std::vector<int>{0, 10, 20}));

    slider->setValue(7);
    // Dragging alone changes nothing.
    EXPECT_FLOAT_EQ(Context().currentTime, 0.0f);
    slider->onReleasedCapture();
    EXPECT_FLOAT_EQ(Context().currentTime, 7.0f);
    EXPECT_EQ(Context().keyIndex, 0u);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Time), QStringLiteral("7.00"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::KeyNo), QStringLiteral("0"));
    EXPECT_NEAR(ArmAngle(Context().currentModel), shell_test::ArmAngleAt(7), 1e-4f);

    Click(ids::PlayAnimation);
    slider->setValue(15);
    slider->onReleasedCapture();
    EXPECT_FLOAT_EQ(Context().currentTime, 7.0f);
    Click(ids::StopAnimation);

    slider->setValue(15);
    slider->onReleasedCapture();
    EXPECT_FLOAT_EQ(Context().currentTime, 15.0f);
    EXPECT_EQ(Context().keyIndex, 1u);
    EXPECT_EQ(Context().keyTime, 15u);
}

TEST_F(PlaybackTest, TheLengthEditShowsTheGapToTheNextKeyTimeOrLast) {
    OpenWithKeys({0, 10, 25});
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Length), QStringLiteral("10"));
    frame->OnCmdMsg(ids::KeyFrameRight);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Length), QStringLiteral("15"));
    frame->OnCmdMsg(ids::KeyFrameRight);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Length), QStringLiteral("Last"));
    // Between keys the gap counts from the current key time.
    Context().currentTime = 12.0f;
    Context().keyTime = 12;
    Context().keyIndex = 1;
    frame->RefreshTimeDisplay();
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Length), QStringLiteral("13"));
}

TEST_F(PlaybackTest, ChangingTheKeyLengthMovesTheLaterKeysAfterYesAndStopsPlayback) {
    OpenWithKeys({0, 10, 20});
    framework::Document* document = frame->GetActiveDocument();
    Click(ids::PlayAnimation);
    Bar().SetDlgItemText(ctl::Length, QStringLiteral("15"));
    ui.messageBox.Push(framework::IdYes);
    ASSERT_EQ(Bar().ClickButton(ctl::ChangeLength), 1);
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    EXPECT_EQ(ui.messageBox.Asked()[0].text,
              QStringLiteral("キーの範囲を 10 から 15 へ変更しますか？"));
    EXPECT_EQ(ui.messageBox.Asked()[0].caption, QStringLiteral("Change Key Frame Length"));
    EXPECT_EQ(ui.messageBox.Asked()[0].style, 36u);
    ASSERT_EQ(Context().currentAnimation->KeyTimeCount(), 3u);
    EXPECT_FLOAT_EQ(Context().currentAnimation->KeyTime(1), 15.0f);
    EXPECT_FLOAT_EQ(Context().currentAnimation->KeyTime(2), 25.0f);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Length), QStringLiteral("15"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Max), QStringLiteral("25.00"));
    EXPECT_EQ(Context().playState, session::PlayState::Stopped);
    EXPECT_FALSE(Button(ids::PlayAnimation)->isChecked());
    EXPECT_EQ(document->IsModified(), 1);

    // No: the edit shows the length again and the keys stay.
    Bar().SetDlgItemText(ctl::Length, QStringLiteral("30"));
    ui.messageBox.Push(framework::IdNo);
    Bar().ClickButton(ctl::ChangeLength);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Length), QStringLiteral("15"));
    EXPECT_FLOAT_EQ(Context().currentAnimation->KeyTime(1), 15.0f);

    // Unchanged, zero or absurd lengths ask nothing.
    ui.messageBox.Clear();
    for (const char* text : {"15", "0", "99999999999"}) {
        Bar().SetDlgItemText(ctl::Length, QString::fromLatin1(text));
        Bar().ClickButton(ctl::ChangeLength);
        EXPECT_EQ(Bar().GetDlgItemText(ctl::Length), QStringLiteral("15")) << text;
    }
    // After the last key there is no gap to change.
    frame->OnCmdMsg(ids::AnimationLast);
    Bar().SetDlgItemText(ctl::Length, QStringLiteral("5"));
    Bar().ClickButton(ctl::ChangeLength);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Length), QStringLiteral("Last"));
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
}

TEST_F(PlaybackTest, PlayAllAdvancesEveryAnimationSetInItsOwnLoop) {
    OpenWithKeys({0, 10, 20}, QStringLiteral("short.x"));
    CAnimationData* shortSet = Context().currentAnimation;
    CModelData* shortModel = Context().currentModel;
    InsertWithKeys({0, 100}, QStringLiteral("long.x"), 3.0f);
    CAnimationData* longSet = Context().currentAnimation;
    ASSERT_NE(longSet, shortSet);
    SetSpeedIndex(2);
    Click(ids::AnimationPlayAll);
    ASSERT_EQ(Context().playState, session::PlayState::PlayingAll);
    for (int i = 0; i < 30; ++i) {
        TickAfter(kTick);
    }
    // 0.9375 a tick: the short set passes 20 at tick 22 and starts again at 0.
    EXPECT_FLOAT_EQ(shortSet->m_time, 7.5f);
    EXPECT_FLOAT_EQ(longSet->m_time, 28.125f);
    EXPECT_FLOAT_EQ(Context().currentTime, 28.125f);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Time), QStringLiteral("28.13"));
    EXPECT_NEAR(ArmAngle(shortModel), shell_test::ArmAngleAt(7.5f), 1e-4f);
    EXPECT_NEAR(ArmAngle(Context().currentModel), shell_test::ArmAngleAt(28.125f), 1e-4f);

    // Stop drops the fraction of the shown time only; each set keeps the time it was
    // posed at, and playing all again goes on from there.
    Click(ids::StopAnimation);
    EXPECT_FLOAT_EQ(Context().currentTime, 28.0f);
    Click(ids::AnimationPlayAll);
    TickAfter(kTick);
    EXPECT_FLOAT_EQ(shortSet->m_time, 8.4375f);
    EXPECT_FLOAT_EQ(longSet->m_time, 29.0625f);
    EXPECT_FLOAT_EQ(Context().currentTime, 29.0625f);
}

TEST_F(PlaybackTest, EveryPosingMovesTheWeldedVerticesOfTheSkinTogether) {
    OpenWithKeys({0, 100});
    ASSERT_EQ(Context().currentModel->EnableSkin(), 1);
    ASSERT_FALSE(Context().currentModel->Welds().Empty());

    // Posing without the skin update pulls the Arm's corners off the Body's.
    Context().currentAnimation->Set()->SetTime(50.0f);
    ASSERT_GT(LargestWeldGap(*Context().currentModel), 0.1f);
    frame->PoseCurrentAnimation(50.0f);
    EXPECT_LT(LargestWeldGap(*Context().currentModel), 1e-4f);

    SetSpeedIndex(2);
    Click(ids::PlayAnimation);
    for (int i = 0; i < 40; ++i) {
        TickAfter(kTick);
    }
    EXPECT_NEAR(ArmAngle(Context().currentModel), shell_test::ArmAngleAt(37.5f), 1e-4f);
    EXPECT_LT(LargestWeldGap(*Context().currentModel), 1e-4f) << "playing";
    Click(ids::StopAnimation);

    Click(ids::AnimationPlayAll);
    TickAfter(kTick * 8);
    EXPECT_LT(LargestWeldGap(*Context().currentModel), 1e-4f) << "playing all";
    Click(ids::StopAnimation);

    for (framework::CommandId command :
         {ids::KeyFrameRight, ids::AnimationFirst, ids::AnimationLast, ids::KeyFrameLeft}) {
        // A pose the skin has not followed yet.
        Context().currentAnimation->Set()->SetTime(73.0f);
        ASSERT_GT(LargestWeldGap(*Context().currentModel), 0.05f) << command;
        frame->OnCmdMsg(command);
        EXPECT_LT(LargestWeldGap(*Context().currentModel), 1e-4f) << command;
    }
}

TEST_F(PlaybackTest, WithoutAnAnimationSetTheCommandsDoNothingAndTheTickStillPaces) {
    std::vector<int> sleeps;
    frame->SetTickServices([] { return 0.0; }, [&](int ms) { sleeps.push_back(ms); });
    for (framework::CommandId command :
         {ids::KeyFrameLeft, ids::KeyFrameRight, ids::AnimationFirst, ids::AnimationLast}) {
        frame->OnCmdMsg(command);
    }
    frame->GetAnimationToolBar()->PressButton(ids::AnimationForwardStep, 1);
    frame->OnIdleUpdateCmdUI();
    frame->GetAnimationToolBar()->PressButton(ids::AnimationForwardStep, 0);
    Click(ids::PlayAnimation);
    Context().redrawRequest = false;
    frame->Tick();
    EXPECT_EQ(Context().currentTime, 0.0f);
    EXPECT_EQ(Context().playState, session::PlayState::PlayingCurrent);
    EXPECT_EQ(sleeps, std::vector<int>{10});
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Length), QStringLiteral("Non"));
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
}

// ---------------------------------------------------------------------------------------
// Dropped files and the manual.

class DropTest : public PlaybackTest {
protected:
    /// Drags `paths` onto the frame and lets go; true when the frame took the drop.
    bool Drop(const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths) {
            urls.push_back(QUrl::fromLocalFile(path));
        }
        data.setUrls(urls);
        const QPoint point(frame->width() / 2, frame->height() / 2);
        QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame, &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDragMoveEvent move(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame, &move);
        if (!move.isAccepted()) {
            return false;
        }
        QDropEvent drop(QPointF(point), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame, &drop);
        // The files are opened once the drop is over.
        QCoreApplication::processEvents();
        return drop.isAccepted();
    }

    std::vector<std::string> ModelNames() {
        std::vector<std::string> names;
        for (auto* entry = g_modelLibrary->Entries().Head(); entry != nullptr;
             entry = entry->Next()) {
            names.push_back(entry->Name() != nullptr ? entry->Name() : "");
        }
        return names;
    }
};

TEST_F(DropTest, DroppingTwoFilesStartsANewSceneWithBothAndFramesThemAll) {
    OpenWithKeys({0, 10}, QStringLiteral("before.x"));
    const QString a = Write({0, 10}, QStringLiteral("a.x"), 0.0f);
    const QString b = Write({0, 40}, QStringLiteral("b.x"), 20.0f);
    ASSERT_TRUE(Drop({a, b}));

    EXPECT_EQ(Context().libraries->Characters().Count(), 2);
    EXPECT_EQ(ModelNames(), (std::vector<std::string>{a.toStdString(), b.toStdString()}));
    EXPECT_EQ(Context().sceneFrame->GetChildren().size(), 2u);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Max), QStringLiteral("40.00"));
    auto* document = dynamic_cast<CDxMFCDoc*>(frame->GetActiveDocument());
    EXPECT_EQ(document->GetPathName(), b);
    EXPECT_EQ(document->GetOpenMode(), scene::OpenMode::NewScene);
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);

    // The camera centres on both: the boxes span x from -0.5 to 20.5.
    rm::Box box;
    Context().sceneFrame->GetHierarchyBox(&box);
    rm::Vector pivot;
    view->GetCameraPivot()->GetPosition(Context().sceneFrame, &pivot);
    EXPECT_NEAR(pivot.x, 10.0f, 1e-3f);
    EXPECT_NEAR(pivot.y, (box.min.y + box.max.y) * 0.5f, 1e-3f);
}

TEST_F(DropTest, AFileThatFailsDoesNotStopTheOthers) {
    const QString bad = QStringLiteral(PAVRIX_FIXTURE_DIR "/x/header_bad_magic.x");
    const QString good = Write({0, 10}, QStringLiteral("good.x"));
    ASSERT_TRUE(Drop({bad, good}));
    ASSERT_EQ(ui.messageBox.Texts().size(), 1u);
    EXPECT_EQ(ui.messageBox.Texts()[0].section(QLatin1Char('\n'), 0, 0),
              QStringLiteral("モデルのロードに失敗しました。"));
    EXPECT_TRUE(ui.messageBox.Texts()[0].contains(QStringLiteral("\nheader_bad_magic.x:1: ")));
    EXPECT_EQ(ModelNames(), (std::vector<std::string>{good.toStdString()}));
    ASSERT_NE(Context().currentCharacter, nullptr);
    EXPECT_EQ(Context().currentCharacter->m_model, Context().currentModel);
    EXPECT_EQ(frame->GetActiveDocument()->GetPathName(), good);
}

TEST_F(DropTest, UnsavedChangesAreAskedAboutBeforeADropClearsThem) {
    OpenWithKeys({0, 10}, QStringLiteral("edited.x"));
    frame->MarkDocumentModified();
    const QString other = Write({0, 10}, QStringLiteral("other.x"));

    ui.messageBox.Push(framework::IdCancel);
    Drop({other});
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    EXPECT_EQ(ui.messageBox.Asked()[0].text, QStringLiteral("edited.x への変更を保存しますか?"));
    EXPECT_EQ(ModelNames(), (std::vector<std::string>{dir.filePath("edited.x").toStdString()}));
    EXPECT_EQ(frame->GetActiveDocument()->IsModified(), 1);

    ui.messageBox.Push(framework::IdNo);
    Drop({other});
    EXPECT_EQ(ModelNames(), (std::vector<std::string>{other.toStdString()}));
}

TEST_F(DropTest, OnlyLocalFilesAreTaken) {
    QMimeData text;
    text.setText(QStringLiteral("walker.x"));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &enter);
    EXPECT_FALSE(enter.isAccepted());

    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://example.org/walker.x"))});
    QDragEnterEvent remoteEnter(QPoint(10, 10), Qt::CopyAction, &remote, Qt::LeftButton,
                                Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &remoteEnter);
    EXPECT_FALSE(remoteEnter.isAccepted());
}

TEST_F(MainFrameTest, TheManualIsOpenedFromTheWorkingDirectoryAndItsAbsenceIsSaid) {
    ASSERT_TRUE(QFileInfo(QStringLiteral(PAVRIX_PROGRAM_DIR "/Manual.htm")).isFile())
        << "the build puts the manual beside the program";
    QTemporaryDir workingDir;
    ASSERT_TRUE(workingDir.isValid());
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(workingDir.path()));
    std::vector<QUrl> opened;
    frame->SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });

    const bool besideTests =
        QFileInfo(QCoreApplication::applicationDirPath() + QStringLiteral("/Manual.htm")).isFile();
    EXPECT_EQ(frame->OnCommand(ids::Manual, framework::CommandSource::Menu), 1);
    // Without the page a message names the places looked in, the working directory first.
    if (!besideTests) {
        EXPECT_TRUE(opened.empty());
        ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
        EXPECT_TRUE(ui.messageBox.Asked()[0].text.contains(
            QDir::toNativeSeparators(workingDir.filePath(QStringLiteral("Manual.htm")))));
        ui.messageBox.Clear();
    }

    QFile manual(workingDir.filePath(QStringLiteral("Manual.htm")));
    ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
    manual.write("<html></html>");
    manual.close();
    opened.clear();
    frame->OnCommand(ids::Manual, framework::CommandSource::Menu);
    EXPECT_EQ(opened, (std::vector<QUrl>{QUrl::fromLocalFile(manual.fileName())}));
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
    QDir::setCurrent(previous);
}

} // namespace

namespace {

// ---------------------------------------------------------------------------------------
// Several animation sets and the file's tick rate.

class AnimationSetsTest : public PlaybackTest {
protected:
    void OpenSets(const std::vector<shell_test::SetOfKeys>& sets, unsigned ticksPerSecond = 0) {
        const QString path = shell_test::WriteCharacterSets(dir.path(), QStringLiteral("sets.x"),
                                                            sets, ticksPerSecond);
        ui.fileDialog.Choose(path);
        ASSERT_EQ(frame->OnCommand(ids::FileOpen, framework::CommandSource::Menu), 1);
        ASSERT_NE(Context().currentAnimation, nullptr);
    }
    void ChooseSet(int index) {
        Panel().SetCurSel(ctl::AnimationName, index);
        frame->RouteCommand(ctl::AnimationName, framework::Notification::SelChange);
    }
    std::vector<QString> SetLabels() {
        std::vector<QString> labels;
        for (int i = 0; i < Panel().GetCount(ctl::AnimationName); ++i) {
            labels.push_back(Panel().GetLBText(ctl::AnimationName, i));
        }
        return labels;
    }
};

TEST_F(AnimationSetsTest, TheAnimationNameBoxOffersTheSetsAndPlaybackFollowsTheChosenOne) {
    OpenSets({{"Turn", {0, 100}, 0.01f}, {"Spin", {0, 50}, 0.02f}});
    const QString path = frame->GetActiveDocument()->GetPathName();
    EXPECT_EQ(SetLabels(), (std::vector<QString>{QStringLiteral("Turn"), QStringLiteral("Spin")}));
    EXPECT_EQ(Panel().GetCurSel(ctl::AnimationName), 0);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Max), QStringLiteral("100.00"));
    CAnimationData* turn = Context().currentAnimation;

    Click(ids::PlayAnimation);
    ChooseSet(1);
    EXPECT_EQ(Context().playState, session::PlayState::Stopped) << "choosing a set stops playback";
    ASSERT_NE(Context().currentAnimation, turn);
    EXPECT_EQ(Context().currentAnimation, Context().currentCharacter->m_current);
    EXPECT_EQ(Panel().GetCurSel(ctl::AnimationName), 1);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Max), QStringLiteral("50.00"));
    EXPECT_EQ(Context().currentAnimation->KeyTimeCount(), 2u);

    // One second at "1/30" plays the chosen set: 30 units, the Arm turned at its rate.
    Click(ids::PlayAnimation);
    for (int i = 0; i < 64; ++i) {
        TickAfter(kTick);
    }
    EXPECT_NEAR(Context().currentTime, 30.0f, 1e-3f);
    EXPECT_NEAR(ArmAngle(Context().currentModel), 0.02f * 30.0f, 1e-3f);
    EXPECT_FLOAT_EQ(turn->m_time, 0.0f) << "the other set stands still";
    Click(ids::StopAnimation);

    // Play all plays only the character's current set.
    Click(ids::AnimationPlayAll);
    for (int i = 0; i < 16; ++i) {
        TickAfter(kTick);
    }
    EXPECT_FLOAT_EQ(turn->m_time, 0.0f);
    EXPECT_NEAR(ArmAngle(Context().currentModel), 0.02f * Context().currentTime, 1e-3f);
    Click(ids::StopAnimation);

    // Choosing a set is no edit and does not rename the document.
    EXPECT_EQ(frame->GetActiveDocument()->GetPathName(), path);
    EXPECT_EQ(frame->GetActiveDocument()->IsModified(), 0);
    ChooseSet(0);
    EXPECT_EQ(Context().currentAnimation, turn);
    EXPECT_EQ(frame->GetActiveDocument()->GetPathName(), path);
}

TEST_F(AnimationSetsTest, AFilesTickRateIsAPlaySpeedSelectedAfterTheOpenAndTheLoopKeepsItsLength) {
    // A loop of 4800 ticks at 4800 per second lasts one second.
    OpenSets({{"Loop", {0, 2400, 4800}, 0.0001f}}, 4800);
    ASSERT_EQ(Bar().GetCount(ctl::PlaySpeed), 7);
    EXPECT_EQ(Bar().GetLBText(ctl::PlaySpeed, 6), QStringLiteral("4800/s"));
    EXPECT_EQ(Bar().GetCurSel(ctl::PlaySpeed), 6);
    EXPECT_FLOAT_EQ(frame->GetPlaySpeed(), 80.0f);

    Click(ids::PlayAnimation);
    for (int i = 0; i < 32; ++i) {
        TickAfter(kTick);
    }
    EXPECT_NEAR(Context().currentTime, 2400.0f, 0.01f) << "half a second, half the loop";
    for (int i = 0; i < 32; ++i) {
        TickAfter(kTick);
    }
    EXPECT_NEAR(Context().currentTime, 4800.0f, 0.01f);
    TickAfter(kTick);
    EXPECT_EQ(Context().currentTime, 0.0f)
        << "past the end after one second: the loop starts again";
    Click(ids::StopAnimation);

    // The fixed choices stay; another file without a tick rate takes the entry away.
    SetSpeedIndex(2);
    EXPECT_FLOAT_EQ(frame->GetPlaySpeed(), 1.0f);
    SetSpeedIndex(6);
    EXPECT_FLOAT_EQ(frame->GetPlaySpeed(), 80.0f);
    OpenWithKeys({0, 10});
    EXPECT_EQ(Bar().GetCount(ctl::PlaySpeed), 6);
    EXPECT_EQ(Bar().GetCurSel(ctl::PlaySpeed), 3);
    EXPECT_FLOAT_EQ(frame->GetPlaySpeed(), 0.5f);
}

} // namespace

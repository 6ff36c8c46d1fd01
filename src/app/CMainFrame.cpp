#include "app/CMainFrame.h"

#include <initializer_list>
#include <utility>

#include <QAction>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QWindowStateChangeEvent>

#include "app/AnimationSetChoice.h"
#include "app/AppSettings.h"
#include "app/BarControlIds.h"
#include "app/BarTemplates.h"
#include "app/CDxMFCDoc.h"
#include "app/DroppedFiles.h"
#include "app/ManualPage.h"
#include "app/UndoMenuTexts.h"
#include "commands/AddLastKeyFrameCommand.h"
#include "commands/BatchCommand.h"
#include "commands/ChangeKeyLengthCommand.h"
#include "commands/CopyKeyFrameCommand.h"
#include "commands/DeleteKeyFrameCommand.h"
#include "commands/EditPartKeysCommand.h"
#include "commands/ExportFileCommand.h"
#include "commands/PartKeyFrameCommand.h"
#include "commands/PasteKeyFrameCommand.h"
#include "dialogs/CModelScaleDialog.h"
#include "dialogs/CPartKeyDialog.h"
#include "dialogs/CPositionKeyScaleDialog.h"
#include "platform/framework/DialogBar.h"
#include "platform/framework/Document.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/ToolBar.h"
#include "platform/framework/Translate.h"
#include "platform/framework/View.h"
#include "platform/rm/Frame.h"
#include "render/Direct3R.h"
#include "resources/CommandIds.h"
#include "resources/ToolBars.h"
#include "scene/CModelData.h"
#include "scene/DocumentOpen.h"
#include "session/EditContext.h"
#include "session/IRenderView.h"
#include "session/KeyTimeRules.h"
#include "timeline/TimelineDock.h"

namespace {

using framework::CCmdUI;
using framework::Notification;
namespace ids = resources::ids;

constexpr char kNoRetainedModeMessage[] = QT_TRANSLATE_NOOP(
    "Pavrix", "Direct3DRM3 の初期化に失敗しました。\nPavrix の実行には、DirectX6 が必要です。");

} // namespace

CMainFrame::CMainFrame()
    : m_display(m_context, [this] { return GetActiveDocument(); }),
      m_playback(m_context, m_display), m_scene(m_context, [this] {
          m_display.OnSceneCleared();
          OfferTickRate(0);
          m_display.ResetAnimationBar();
      }) {
    m_context.Reset();
    // The smallest size the user can drag the window to.
    setMinimumSize(320, 240);

    for (const auto& [id, mode] : {std::pair(ids::ZBufferOn, rm::D3DRMZBUFFER_ENABLE),
                                   std::pair(ids::ZBufferOff, rm::D3DRMZBUFFER_DISABLE)}) {
        MapCommand(id, [this, mode = mode] {
            if (m_context.sceneRoot == nullptr) {
                return;
            }
            m_context.sceneRoot->SetZbufferMode(mode);
            m_context.redrawRequest = true;
        });
    }
    MapUpdate(ids::ZBufferOn, [this](CCmdUI& ui) { OnUpdateZBuffer(ui, rm::D3DRMZBUFFER_ENABLE); });
    MapUpdate(ids::ZBufferOff,
              [this](CCmdUI& ui) { OnUpdateZBuffer(ui, rm::D3DRMZBUFFER_DISABLE); });

    MapCommand(ctl::ParentChild, [this] { SetOperationMode(session::OperationMode::ParentChild); });
    MapCommand(ctl::Animation, [this] { SetOperationMode(session::OperationMode::Animation); });
    MapNotify(ctl::CameraView, Notification::SelEndOk, &CMainFrame::ApplyCameraView);
    MapCommand(ctl::Center, [this] { CenterOnFrame(m_scene.CenterTarget()); });
    MapCommand(ctl::MoveModel,
               [this] { m_context.mouseFunction = session::MouseFunction::MoveModel; });
    MapCommand(ctl::MovePart,
               [this] { m_context.mouseFunction = session::MouseFunction::MovePart; });
    MapCommand(ctl::Rotate, [this] { m_context.mouseFunction = session::MouseFunction::Rotate; });
    MapCommand(ctl::Zoom, [this] { m_context.mouseFunction = session::MouseFunction::Zoom; });
    for (int id : {ctl::AxisX, ctl::AxisY, ctl::AxisZ, ctl::AxisNegative}) {
        MapCommand(static_cast<framework::CommandId>(id), [this, id] { OnAxisButton(id); });
    }
    MapPlaybackCommands();
    MapEditCommands();
    MapCommand(ids::AddKeyFrame, [this] { AddKeyFrame(Prompting::Interactive); });
    MapCommand(ids::AddLastKeyFrame, [this] { AddLastKeyFrameCommand(*this).Execute(m_context); });
    MapCommand(ids::DeleteKeyFrame, [this] { DeleteKeyFrameCommand(*this).Execute(m_context); });
    MapCommand(ids::CopyKeyFrame,
               [this] { CopyKeyFrameCommand(*this, m_copiedKey).Execute(m_context); });
    MapCommand(ids::PasteKeyFrame,
               [this] { PasteKeyFrameCommand(*this, m_copiedKey).Execute(m_context); });
    MapCommand(ctl::ChangeLength, [this] { ChangeKeyLengthCommand(*this).Execute(m_context); });
    MapPartKeyCommands();
    MapCommand(ids::EditPartsAnimationKey,
               [this] { EditPartKeysCommand(*this).Execute(m_context); });
    MapCommand(ids::Manual, &CMainFrame::OnManual);
    MapBatchCommand(BatchCommand::Kind::ChangeModelScale, ids::ChangeModelScale);
    MapBatchCommand(BatchCommand::Kind::DeleteAllPositionKey, ids::DeleteAllPositionKey);
    MapBatchCommand(BatchCommand::Kind::ChangeAllPositionKeyScale, ids::ChangeAllPositionKeyScale);
    MapBatchCommand(BatchCommand::Kind::ChangeAnimationPace, ids::ChangeAnimationPace);
    MapBatchCommand(BatchCommand::Kind::SkinOn, ids::SkinOn);
    MapBatchCommand(BatchCommand::Kind::ResetOrientation, ids::ResetOrientation);
    MapBatchCommand(BatchCommand::Kind::MoveFirstKeyTimeZero, ids::MoveFirstKeyTimeZero);
    MapBatchCommand(BatchCommand::Kind::ReverseRotatePositionScale,
                    ids::ReverseRotatePositionScale);
    MapCommand(ids::ViewFrameAll, [this] { FrameWholeModel(); });
    MapCommand(ids::FileExport, [this] {
        ExportFileCommand(*this, MakeSceneDocument(), 60.0 * GetPlaySpeed()).Execute();
    });
    MapCommand(ids::ViewTimeline, [this] {
        if (m_timeline != nullptr) {
            m_timeline->setVisible(!m_timeline->isVisible());
        }
    });
    MapCommand(ids::SelectParts, [this] {
        if (m_timeline != nullptr) {
            m_timeline->ShowPartSearch();
        }
    });
    MapUpdate(ids::ViewTimeline, [this](CCmdUI& ui) {
        ui.SetCheck(m_timeline != nullptr && m_timeline->isVisible() ? 1 : 0);
    });
    MapNotify(ctl::Time, Notification::EditReturn, &CMainFrame::OnTimeTyped);

    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(
            application, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) { OnActivateApp(state == Qt::ApplicationActive); });
    }
}

void CMainFrame::MapPlaybackCommands() {
    MapNotify(ctl::AnimationName, Notification::SelChange, [this] {
        SelectAnimationSet(m_controlPanel->Controls().GetCurSel(ctl::AnimationName));
    });
    MapNotify(ctl::PlaySpeed, Notification::SelChange, [this] {
        const framework::DialogControls& bar = m_animationBar->Controls();
        m_playback.SetPlaySpeed(AnimationSetChoice::SpeedAt(
            bar, ctl::PlaySpeed, bar.GetCurSel(ctl::PlaySpeed), m_playback.GetPlaySpeed()));
    });
    MapCommand(ids::StopAnimation, [this] { m_playback.Stop(); });
    MapCommand(ids::PlayAnimation,
               [this] { m_playback.TogglePlay(session::PlayState::PlayingCurrent); });
    MapCommand(ids::AnimationPlayAll,
               [this] { m_playback.TogglePlay(session::PlayState::PlayingAll); });
    // The tool bar toggles the two check boxes itself; the play state follows them.
    const auto followButtons = [this](CCmdUI&) {
        if (m_animationToolBar != nullptr) {
            m_playback.FollowPlayButtons(
                m_animationToolBar->IsButtonChecked(ids::PlayAnimation) != 0,
                m_animationToolBar->IsButtonChecked(ids::AnimationPlayAll) != 0);
        }
    };
    MapUpdate(ids::PlayAnimation, followButtons);
    MapUpdate(ids::AnimationPlayAll, followButtons);
    // The step buttons act in their update rules while held down; a click too short for
    // any update steps once when it is let go.
    MapCommand(ids::AnimationForwardStep,
               [this] { OnStepClicked(&Playback::StepForward, m_forwardHeldSteps); });
    MapCommand(ids::AnimationBackStep,
               [this] { OnStepClicked(&Playback::StepBack, m_backHeldSteps); });
    MapUpdate(ids::AnimationForwardStep, [this](CCmdUI&) {
        OnUpdateStep(ids::AnimationForwardStep, &Playback::StepForward, m_forwardHeldSteps);
    });
    MapUpdate(ids::AnimationBackStep, [this](CCmdUI&) {
        OnUpdateStep(ids::AnimationBackStep, &Playback::StepBack, m_backHeldSteps);
    });
    MapCommand(ids::KeyFrameLeft, [this] { m_playback.PreviousKey(); });
    MapCommand(ids::KeyFrameRight, [this] { m_playback.NextKey(); });
    MapCommand(ids::AnimationFirst, [this] { m_playback.FirstKey(); });
    MapCommand(ids::AnimationLast, [this] { m_playback.LastKey(); });
    MapNotify(ctl::TimeSlider, Notification::ReleasedCapture, [this] {
        // Dragging only moves the knob; the time jumps when the mouse lets go.
        if (const int position = m_display.GetSliderPosition(); position >= 0) {
            m_playback.JumpTo(position);
        }
    });
}

void CMainFrame::MapPartKeyCommands() {
    using Kind = PartKeyFrameCommand::Kind;
    for (const auto& [id, kind] : {std::pair{ids::DeletePartsKeyFrame, Kind::DeleteKeys},
                                   {ids::CopyPartsKeyFrame, Kind::CopyKeys},
                                   {ids::PastePartsKeyFrame, Kind::PasteKeys},
                                   {ids::DeletePositionKey, Kind::DeletePositionKeys}}) {
        MapCommand(id, [this, kind = kind] {
            PartKeyFrameCommand(*this, kind, m_copiedPartKeys).Execute(m_context);
        });
    }
    // They work on the selected part: greyed while there is none.
    for (const framework::CommandId id : {ids::DeletePartsKeyFrame, ids::CopyPartsKeyFrame,
                                          ids::PastePartsKeyFrame, ids::DeletePositionKey}) {
        MapUpdate(id, [this](CCmdUI& ui) { ui.Enable(GetSelectedPart() != nullptr); });
    }
}

void CMainFrame::MapEditCommands() {
    m_history.SetApplyHooks([this] { m_playback.Stop(); }, [this] { AfterUndoStep(); });
    m_history.SetCleanHook([this](bool clean) {
        if (framework::Document* document = GetActiveDocument()) {
            document->SetModifiedFlag(clean ? 0 : 1);
        }
    });
    MapCommand(ids::EditUndo, [this] { m_history.Undo(); });
    MapCommand(ids::EditRedo, [this] { m_history.Redo(); });
    const auto update = [this](CCmdUI& ui, bool undo) {
        ui.Enable(undo ? m_history.CanUndo() : m_history.CanRedo());
        const QString text = undo ? undo_menu::UndoText(m_history) : undo_menu::RedoText(m_history);
        ui.SetText(text);
        if (QAction* action = GetMenuAction(ui.GetId())) {
            action->setStatusTip(undo_menu::Prompt(text));
        }
    };
    MapUpdate(ids::EditUndo, [update](CCmdUI& ui) { update(ui, true); });
    MapUpdate(ids::EditRedo, [update](CCmdUI& ui) { update(ui, false); });
}

void CMainFrame::AfterUndoStep() {
    // The key-time list came back as it was: shown, not rebuilt.
    RefreshKeyRange(session::KeyTimeList::Keep);
    RefreshTimeDisplay();
    ResolveSelection();
    // What came back is shown as the pose at the time the bar shows, so the next drag
    // starts from what is on screen.
    if (m_context.currentAnimation != nullptr) {
        PoseAnimation(m_context.currentAnimation, m_context.currentTime);
    } else if (m_context.currentModel != nullptr) {
        m_context.currentModel->UpdateSkin();
    }
    m_context.redrawRequest = true;
}

void CMainFrame::ResolveSelection() {
    m_context.selection.Resolve(m_context.sceneRoot, m_context.currentModel != nullptr
                                                         ? m_context.currentModel->Root()
                                                         : nullptr);
    m_context.redrawRequest = true;
}

CMainFrame::~CMainFrame() {
    // The view gives its device back to m_parentD3R and lets go of its camera frames under
    // the scene root, so it goes while both still exist.
    delete takeCentralWidget();
    SetActiveView(nullptr);
    m_scene.Release(m_parentD3R.D3DRM());
    for (framework::ControlBar* bar : std::initializer_list<framework::ControlBar*>{
             m_mainToolBar, m_animationToolBar, m_partsToolBar, m_controlPanel, m_animationBar}) {
        delete bar;
    }
}

int CMainFrame::OnCreate(framework::CreateContext& context) {
    if (m_parentD3R.D3DRM() == nullptr) {
        MessageBox(framework::Tr(kNoRetainedModeMessage), QStringLiteral("Pavrix"),
                   framework::MbIconInformation);
        return -1;
    }
    if (FrameWindow::OnCreate(context) == -1) {
        return -1;
    }
    if (!CreateBars()) {
        return -1;
    }

    // Tool tips come with the buttons; the bars are laid out by the window.
    m_mainToolBar->EnableDocking(Qt::AllToolBarAreas);
    DockControlBar(m_mainToolBar, Qt::TopToolBarArea);
    m_partsToolBar->EnableDocking(Qt::AllToolBarAreas);
    DockControlBar(m_partsToolBar, Qt::BottomToolBarArea);
    ShowControlBar(m_partsToolBar, 0);
    m_animationToolBar->EnableDocking(Qt::AllToolBarAreas);
    DockControlBar(m_animationToolBar, Qt::BottomToolBarArea);
    // The animation bar is not a docking bar: it keeps the outer edge, below the tool bars
    // docked at the bottom. (The bottom area's first line is its outermost one.)
    for (framework::ControlBar* bar : {static_cast<framework::ControlBar*>(m_animationBar),
                                       static_cast<framework::ControlBar*>(m_partsToolBar),
                                       static_cast<framework::ControlBar*>(m_animationToolBar)}) {
        removeToolBar(bar);
    }
    addToolBar(Qt::BottomToolBarArea, m_animationBar);
    addToolBarBreak(Qt::BottomToolBarArea);
    addToolBar(Qt::BottomToolBarArea, m_partsToolBar);
    addToolBarBreak(Qt::BottomToolBarArea);
    addToolBar(Qt::BottomToolBarArea, m_animationToolBar);
    ShowControlBar(m_animationBar, 1);
    ShowControlBar(m_animationToolBar, 1);

    using Style = framework::ToolBar::ButtonStyle;
    m_animationToolBar->SetButtonStyle(m_animationToolBar->CommandToIndex(ids::PlayAnimation),
                                       Style::CheckBox);
    m_animationToolBar->SetButtonStyle(m_animationToolBar->CommandToIndex(ids::AnimationPlayAll),
                                       Style::CheckBox);

    framework::DialogControls& panel = m_controlPanel->Controls();
    panel.SetCurSel(ctl::CameraView, 0);
    panel.CheckDlgButton(ctl::Animation, 1);
    panel.CheckDlgButton(ctl::Rotate, 1);
    panel.CheckDlgButton(ctl::AxisX, m_context.axisX ? 1 : 0);
    panel.CheckDlgButton(ctl::AxisY, m_context.axisY ? 1 : 0);
    panel.CheckDlgButton(ctl::AxisZ, m_context.axisZ ? 1 : 0);

    m_animationBar->Controls().SetCurSel(ctl::PlaySpeed, AnimationSetChoice::kStartSpeedIndex);
    m_display.SetBars(m_animationBar, m_controlPanel, m_animationToolBar);
    CreateTimeline();
    ResetAnimationBar();

    setAcceptDrops(true);
    return 0;
}

void CMainFrame::CreateTimeline() {
    m_timeline = new timeline::TimelineDock(*this, m_context, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_timeline);
    m_display.SetFollowers([this] { m_timeline->Refresh(); }, [this] { m_timeline->FollowTime(); });
    connect(m_timeline, &timeline::TimelineDock::SelectedPartShown, this,
            [this](const QString& name) {
                m_controlPanel->Controls().SetDlgItemText(ctl::PartName, name);
            });
}

int CMainFrame::CreateBars() {
    const auto makeToolBar = [this](framework::ToolBar** bar,
                                    const framework::ToolBarResource& resource) {
        *bar = new framework::ToolBar(this);
        return (*bar)->Create() && (*bar)->LoadToolBar(resource);
    };
    if (!makeToolBar(&m_mainToolBar, resources::MainToolBar()) ||
        !makeToolBar(&m_partsToolBar, resources::PartsToolBar()) ||
        !makeToolBar(&m_animationToolBar, resources::AnimationToolBar())) {
        return 0;
    }
    m_controlPanel = new framework::DialogBar(this);
    if (!m_controlPanel->Create(ControlPanelTemplate(), Qt::LeftToolBarArea)) {
        return 0;
    }
    m_animationBar = new framework::DialogBar(this);
    if (!m_animationBar->Create(AnimationBarTemplate(), Qt::BottomToolBarArea)) {
        return 0;
    }
    // Only the time slider stretches with the bar (AnimationBarDisplay::StretchTimeSlider).
    QWidget* panel = m_animationBar->GetPanel();
    panel->setMinimumWidth(0);
    panel->setMaximumWidth(QWIDGETSIZE_MAX);
    panel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The bar settles its width after the frame's own resize: follow the panel itself.
    panel->installEventFilter(this);
    return 1;
}

int CMainFrame::OnCreateClient(framework::CreateContext& context) {
    if (!m_scene.Create(m_parentD3R.D3DRM())) {
        return 0;
    }
    return FrameWindow::OnCreateClient(context);
}

session::IRenderView* CMainFrame::GetRenderView() const {
    return dynamic_cast<session::IRenderView*>(GetActiveView());
}

// ---------------------------------------------------------------------------------------
// The tick.

int CMainFrame::Tick() {
    const float step = m_playback.MeasureTick();
    if (m_context.sceneRoot != nullptr) {
        m_context.sceneRoot->Move(step);
    }
    m_playback.Advance(step);
    // The selection changes in many places (clicks, keys, undo, clearing); the timeline
    // and the part name follow it here, once per pass, at the cost of one comparison.
    if (m_timeline != nullptr) {
        m_timeline->FollowSelection();
    }

    // A held step button steps on every command-state update, and those run only on
    // passes after an event: a queued call is such an event, so the steps go on while
    // the mouse rests on the button.
    if (m_animationToolBar != nullptr &&
        (m_animationToolBar->IsButtonPressed(ids::AnimationForwardStep) ||
         m_animationToolBar->IsButtonPressed(ids::AnimationBackStep))) {
        QMetaObject::invokeMethod(
            this, [] {}, Qt::QueuedConnection);
    }

    const bool redraw = m_context.redrawRequest;
    session::IRenderView* view = GetRenderView();
    if (view != nullptr) {
        view->Render();
    }

    int pause = 0;
    if (!redraw) {
        pause = 10;
    } else if (view != nullptr && view->GetDevice() != nullptr && !view->GetDevice()->IsActive()) {
        pause = 5;
    }
    if (pause > 0) {
        m_playback.Pause(pause);
    }
    return 1;
}

// ---------------------------------------------------------------------------------------
// Playback and the animation bar.

int CMainFrame::UpdateKeyLength(KeyLength what) {
    if (m_context.currentAnimation == nullptr || m_animationBar == nullptr) {
        return 0;
    }
    if (what == KeyLength::Apply) {
        ChangeKeyLengthCommand(*this, ChangeKeyLengthCommand::Trigger::TypedLength)
            .Execute(m_context);
    } else {
        m_display.ShowKeyLength(CurrentKeyLength(m_context));
    }
    return 1;
}

void CMainFrame::OfferTickRate(std::uint32_t ticksPerSecond) {
    if (m_animationBar != nullptr) {
        m_playback.SetPlaySpeed(AnimationSetChoice::OfferTickRate(m_animationBar->Controls(),
                                                                  ctl::PlaySpeed, ticksPerSecond));
    }
}

void CMainFrame::OnUpdateStep(framework::CommandId id, void (Playback::*step)(), int& heldSteps) {
    if (m_animationToolBar != nullptr && m_animationToolBar->IsButtonPressed(id)) {
        (m_playback.*step)();
        ++heldSteps;
    }
}

void CMainFrame::OnStepClicked(void (Playback::*step)(), int& heldSteps) {
    // The updates run at a steady rate, so a quick click can fall between two of them.
    if (heldSteps == 0) {
        (m_playback.*step)();
    }
    heldSteps = 0;
}

// ---------------------------------------------------------------------------------------
// Dropped files and the manual.

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    dropped_files::AcceptLocalFiles(event);
}

void CMainFrame::dragMoveEvent(QDragMoveEvent* event) {
    // Over the bars and the view alike: none of them takes drops of its own.
    dropped_files::AcceptLocalFiles(event);
}

void CMainFrame::dropEvent(QDropEvent* event) {
    if (!dropped_files::AcceptLocalFiles(event)) {
        return;
    }
    // The files are opened once the drop is over, as the desktop's own drop message
    // arrives after the drag: an open may ask questions, and the drag source must not
    // wait for them.
    QMetaObject::invokeMethod(
        this, [this, paths = dropped_files::LocalFiles(event->mimeData())] { OnDropFiles(paths); },
        Qt::QueuedConnection);
}

int CMainFrame::OnDropFiles(const QStringList& paths) {
    auto* document = dynamic_cast<CDxMFCDoc*>(GetActiveDocument());
    if (GetActiveView() == nullptr || document == nullptr || !document->OpenDroppedFiles(paths)) {
        return 0;
    }
    CenterOnFrame(m_context.sceneFrame);
    return 1;
}

void CMainFrame::OnManual() {
    // Help always answers: the page, or a message saying why not and where to look.
    const QString path = manual_page::Find();
    if (path.isEmpty()) {
        MessageBox(manual_page::MissingMessage(), manual_page::Caption(),
                   framework::MbIconInformation);
        return;
    }
    const auto noViewer = [this, path] {
        MessageBox(manual_page::NoViewerMessage(path), manual_page::Caption(),
                   framework::MbIconInformation);
    };
    if (m_urlOpener) {
        if (!m_urlOpener(QUrl::fromLocalFile(path))) {
            noViewer();
        }
        return;
    }
    m_manualViewer.Open(path, noViewer);
}

// ---------------------------------------------------------------------------------------
// Scene services.

void CMainFrame::PreviousKey() {
    OnCmdMsg(resources::ids::KeyFrameLeft);
}

void CMainFrame::NextKey() {
    OnCmdMsg(resources::ids::KeyFrameRight);
}

int CMainFrame::CenterOnFrame(rm::Frame* frame) {
    session::IRenderView* view = GetRenderView();
    return view != nullptr ? m_scene.CenterOnFrame(view->GetCameraPivot(), frame) : 0;
}

int CMainFrame::RunPartKeyDialog() {
    CPartKeyDialog dialog(
        m_context, [this] { return GetRenderView(); }, this);
    const int result = dialog.DoModal();
    // Options and names are applied however the dialog was left; a quit must ask first.
    if (dialog.ChangedSomething()) {
        MarkDocumentModified();
    }
    return result;
}

void CMainFrame::GoToTime(float time) {
    m_playback.Stop();
    m_playback.GoToTime(time);
}

void CMainFrame::SelectPart(rm::Frame* part) {
    if (session::IRenderView* view = GetRenderView()) {
        view->SelectPart(part);
    }
}

void CMainFrame::EditPartKeys() {
    EditPartKeysCommand(*this).Execute(m_context);
}

void CMainFrame::OnTimeTyped() {
    if (m_context.currentAnimation == nullptr) {
        return;
    }
    float time = 0;
    if (m_display.ReadTypedTime(&time)) {
        GoToTime(time);
        return;
    }
    MessageBox(framework::TrFormat(
                   QT_TRANSLATE_NOOP("Pavrix", "%.2f から %.2f までの数字を入力してください。"),
                   FirstKeyTime(m_context.currentAnimation),
                   LastKeyTime(m_context.currentAnimation)),
               QCoreApplication::translate("Pavrix", "Time"), framework::MbIconInformation);
    RefreshTimeDisplay();
}

int CMainFrame::RunModelScaleDialog(ScaleFactors& factors, PositionKeyScaling& positionKeys) {
    CModelScaleDialog dialog(this);
    const int result = dialog.DoModal();
    factors = dialog.Factors();
    positionKeys =
        dialog.m_scalePositionKeys != 0 ? PositionKeyScaling::Scale : PositionKeyScaling::Keep;
    return result;
}

int CMainFrame::RunPositionKeyScaleDialog(ScaleFactors& factors) {
    CPositionKeyScaleDialog dialog(this);
    const int result = dialog.DoModal();
    factors = dialog.Factors();
    return result;
}

int CMainFrame::SelectCameraView(int index) {
    session::IRenderView* view = GetRenderView();
    if (view == nullptr || view->GetCameraPivot() == nullptr || m_controlPanel == nullptr) {
        return 0;
    }
    framework::DialogControls& panel = m_controlPanel->Controls();
    if (panel.GetCurSel(ctl::CameraView) == index) {
        return 1;
    }
    return panel.SetCurSel(ctl::CameraView, index) == index && index >= 0 ? 1 : 0;
}

void CMainFrame::ApplyCameraView() {
    session::IRenderView* view = GetRenderView();
    if (view == nullptr || view->GetCameraPivot() == nullptr || m_controlPanel == nullptr) {
        return;
    }
    const int index = m_controlPanel->Controls().GetCurSel(ctl::CameraView);
    if (index >= 1 && index <= 6) {
        render::SceneSetup::ApplyCameraView(view->GetCameraPivot(), index);
        // The new view must be shown even when nothing else asks for a drawing.
        m_context.redrawRequest = true;
    }
}

int CMainFrame::MarkDocumentModified() {
    framework::Document* document = GetActiveDocument();
    if (GetActiveView() == nullptr || document == nullptr) {
        return 0;
    }
    document->SetModifiedFlag(1);
    return 1;
}

// ---------------------------------------------------------------------------------------
// Commands and bar controls.

void CMainFrame::OnUpdateZBuffer(CCmdUI& ui, rm::D3DRMZBUFFERMODE mode) {
    // The scene root's own mode is "from parent" until a command sets it: "On" is checked
    // for anything but "Off".
    const bool isDisabled = m_context.sceneRoot != nullptr &&
                            m_context.sceneRoot->GetZbufferMode() == rm::D3DRMZBUFFER_DISABLE;
    const bool disabled = mode == rm::D3DRMZBUFFER_DISABLE;
    ui.SetCheck(m_context.sceneRoot != nullptr && isDisabled == disabled ? 1 : 0);
}

void CMainFrame::SetOperationMode(session::OperationMode mode) {
    if (m_context.operationMode == mode) {
        return;
    }
    m_context.operationMode = mode;
    const bool parentChild = mode == session::OperationMode::ParentChild;
    ShowControlBar(m_animationToolBar, parentChild ? 0 : 1);
    ShowControlBar(m_partsToolBar, parentChild ? 1 : 0);
    m_controlPanel->Controls().SetDlgItemText(
        ctl::SecondGroupLabel,
        framework::Tr(parentChild ? QT_TRANSLATE_NOOP("Pavrix", "Model")
                                  : QT_TRANSLATE_NOOP("Pavrix", "Animation")));
    // The "<Parent>" label is drawn in the parent-child mode only.
    m_context.redrawRequest = true;
}

PaneLayout CMainFrame::KeptPaneLayout() const {
    return AppSettings().ViewLayout();
}

void CMainFrame::KeepPaneLayout(PaneLayout layout) {
    AppSettings().SetViewLayout(layout);
}

int CMainFrame::KeptOnionSkinGhosts() const {
    return AppSettings().OnionSkinGhosts();
}

int CMainFrame::FrameWholeModel() {
    session::IRenderView* view = GetRenderView();
    if (view == nullptr || view->GetDevice() == nullptr) {
        return 0;
    }
    return m_scene.FrameWholeModel(view->GetCameraPivot(), view->GetDevice()->Viewport());
}

void CMainFrame::OnAxisButton(int id) {
    const bool checked = m_controlPanel->Controls().IsDlgButtonChecked(id) != 0;
    if (id == ctl::AxisNegative) {
        m_context.axisPositive = !checked;
    } else {
        *(id == ctl::AxisX   ? &m_context.axisX
          : id == ctl::AxisY ? &m_context.axisY
                             : &m_context.axisZ) = checked;
    }
}

// ---------------------------------------------------------------------------------------
// Window events.

void CMainFrame::moveEvent(QMoveEvent* event) {
    FrameWindow::moveEvent(event);
    if (session::IRenderView* view = GetRenderView()) {
        if (render::Direct3R* device = view->GetDevice()) {
            device->UpdateScreenRect(nullptr);
        }
    }
}

void CMainFrame::OnActivateApp(bool active) {
    if (session::IRenderView* view = GetRenderView()) {
        if (render::Direct3R* device = view->GetDevice()) {
            device->ActivateHandle(active ? 1 : 0);
        }
    }
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    FrameWindow::resizeEvent(event);
    if (m_animationBar != nullptr && !isMinimized()) {
        m_display.StretchTimeSlider(this);
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && m_animationBar != nullptr &&
        watched == m_animationBar->GetPanel() && !isMinimized()) {
        m_display.StretchTimeSlider(this);
    }
    return FrameWindow::eventFilter(watched, event);
}

void CMainFrame::changeEvent(QEvent* event) {
    FrameWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    session::IRenderView* view = GetRenderView();
    if (view == nullptr) {
        return;
    }
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (isMinimized()) {
        view->OnSize(session::SizeMinimized, 0, 0);
    } else if ((change->oldState() & Qt::WindowMinimized) != 0) {
        if (QWidget* widget = centralWidget()) {
            view->OnSize(isMaximized() ? session::SizeMaximized : session::SizeRestored,
                         widget->width(), widget->height());
        }
    }
}

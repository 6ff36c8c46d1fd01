#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include <QStringList>

#include "app/AnimationBarDisplay.h"
#include "app/IDocumentFrame.h"
#include "app/ManualViewer.h"
#include "app/Playback.h"
#include "app/SceneServices.h"
#include "commands/AddKeyFrameCommand.h"
#include "commands/BatchCommand.h"
#include "commands/CopiedKey.h"
#include "commands/CopiedPartKeys.h"
#include "commands/IBatchCommandHost.h"
#include "commands/IKeyFrameHost.h"
#include "commands/UndoHistory.h"
#include "platform/framework/FrameWindow.h"
#include "render/ParentD3R.h"
#include "scene/SceneDocument.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"
#include "timeline/ITimelineHost.h"
#include "view/IViewFrame.h"

namespace framework {
class DialogBar;
class ToolBar;
} // namespace framework

namespace rm {
struct Box;
} // namespace rm

namespace timeline {
class TimelineDock;
} // namespace timeline

class CAnimationData;
class IRenderView;
class QUrl;

/// The main frame: the window with the menu, the three tool bars, the control panel
/// (dialog bar 136, left) and the animation bar (dialog bar 103, bottom) around the 3D
/// view. It owns what the whole scene shares: the scene-library object (through
/// m_parentD3R) and the scene (SceneServices: object store, scene root with background
/// and lights, scene frame, floor grid) and the edit context (session::EditContext) it
/// hands to the commands, the view, the dock and the dialogs.
///
/// It is a router: it maps command ids onto playback (Playback), the bar read-outs
/// (AnimationBarDisplay), the scene services (SceneServices), the key-frame and the batch
/// commands (src/commands), which it hosts (IKeyFrameHost, IBatchCommandHost), and the
/// editing dialogs (src/dialogs), and keeps the operations the document and the view call
/// on it. It holds the edit history (UndoHistory) the commands and the view record their
/// steps in, and maps Undo (57643) and Redo (57644) onto it; the document's modified flag
/// follows the history's saved state.
///
/// Its services for the document and the view return 1 on success and 0 when they could
/// not act (typically: no active 3D view or camera pivot yet), changing nothing then.
///
/// Destruction: the view goes first (it hands its device back to m_parentD3R), then the
/// object store (characters, animation sets, models), then the scene frame, the grid and
/// the scene root, then the bars, and last the scene-library object.
class CMainFrame : public framework::FrameWindow,
                   public IKeyFrameHost,
                   public IBatchCommandHost,
                   public IDocumentFrame,
                   public IViewFrame,
                   public ITimelineHost {
    Q_OBJECT

public:
    using Clock = Playback::Clock;
    using Sleep = Playback::Sleep;
    /// Hands a local file to the desktop's viewer; true when a viewer took it.
    using UrlOpener = std::function<bool(const QUrl&)>;

    /// Makes the scene-library object and gives every program-wide global its start
    /// value; the play speed is 0.5 ("1/30") and no key is copied.
    CMainFrame();
    ~CMainFrame() override;

    /// Window creation: fails (-1) with a message when there is no scene-library object;
    /// otherwise the scene and the view (OnCreateClient), then the bars in their start
    /// state.
    int OnCreate(framework::CreateContext& context) override;
    /// The scene set-up (object store, scene root with background and lights, scene frame,
    /// grid), then the view. 0 when the scene could not be made.
    int OnCreateClient(framework::CreateContext& context) override;

    /// One pass of the program: counts ticks per second (the context's fps), takes the elapsed time
    /// as the frame step (frameStep, seconds × 60), moves the scene root by it, advances
    /// playback (below), has the view render when redrawRequest is set, then paces the
    /// loop: 10 ms asleep when nothing was to be drawn, 5 ms while the application is
    /// inactive, else none. Returns 1.
    ///
    /// Playback: in play state 1 the current time advances by frameStep × the play
    /// speed and, past the last key time, starts again at the first key time itself (the
    /// rest of the step is dropped); the current animation set is posed there. In play
    /// state 2 every animation set of the library advances from its own last posed time
    /// and loops over its own key times; the current one's time is shown.
    int Tick();
    /// Replaces the tick's clock and sleep (tests drive the tick with their own); an empty
    /// function puts the real one back.
    void SetTickServices(Clock clock, Sleep sleep) {
        m_playback.SetTickServices(std::move(clock), std::move(sleep));
    }

    /// (Re)builds the floor grid as a root frame of its own (gridFrame). 1 on success.
    int BuildGrid() { return m_scene.BuildGrid(m_parentD3R.D3DRM()); }

    /// Releases the Play and Play All buttons, drops the fraction of the current time
    /// (keyTime takes it), stops playback (playState 0) and refreshes the time display.
    /// The animation set is not posed again.
    void StopPlayback() override { m_playback.Stop(); }
    /// Poses the current animation set at `time` (key-time units): the set remembers the
    /// time, every part it drives takes its pose, and the bound model's skin follows (when
    /// it is on). Nothing without a current animation set.
    void PoseCurrentAnimation(float time) override {
        PoseAnimation(m_context.currentAnimation, time);
    }
    /// See AnimationBarDisplay.
    void RefreshTimeDisplay() override { m_display.RefreshTimeDisplay(); }
    int RefreshKeyRange(int rebuild) override { return m_display.RefreshKeyRange(rebuild); }
    int ResetAnimationBar() { return m_display.ResetAnimationBar(); }
    /// Makes the current character's set at `index` (its place in the control panel's
    /// Animation Name box) the current animation set: playback stops, the key-time list,
    /// the bars and the key commands follow it, and it is posed at its first key time.
    /// 0 for an index the character does not have.
    int SelectAnimationSet(int index) { return m_playback.SelectAnimationSet(index); }
    /// After an open: the Play Speed box offers the file's tick rate ("4800/s") and selects
    /// it, or, with 0, holds only its fixed entries (see AnimationSetChoice).
    void OfferTickRate(std::uint32_t ticksPerSecond) override;
    /// Shows the length of the current key interval in the "Length" edit ("Last" after
    /// the last key). With `apply` non-zero the number typed in the edit becomes the new
    /// length (ChangeKeyLengthCommand). 0 without a current animation set, else 1.
    int UpdateKeyLength(int apply);
    /// "Add Key Frame" for the selected part at the current time (AddKeyFrameCommand);
    /// with `silent` non-zero it shows and asks nothing. 1 when a key was added.
    int AddKeyFrame(int silent) override {
        return AddKeyFrameCommand(*this, silent).Execute(m_context);
    }

    /// See SceneServices.
    int ClearSelection() override { return m_scene.ClearSelection(); }
    int ClearScene(int all) override { return m_scene.ClearScene(all); }
    /// Moves the view's camera pivot to the centre of `frame`'s hierarchy box and requests
    /// a redraw. 0 without a view, pivot or frame.
    int CenterOnFrame(rm::Frame* frame) override;
    /// Frames what Center centres on (the scene, or the current model while a part is
    /// selected) so all of it fills the view: the pivot goes to its centre and the camera
    /// moves nearer or farther (View menu, Home). 0 without a view with a device, or when
    /// nothing in the scene shows.
    int FrameWholeModel();
    /// Shows camera view `index` in the control panel's list without applying it.
    /// 1 when the list shows it; 0 without a view and pivot, or for an index the list
    /// does not have.
    int SelectCameraView(int index) override;
    /// Points the camera pivot as the control panel's camera view says ("User" leaves it)
    /// and requests a redraw. Nothing without a view and pivot.
    void ApplyCameraView() override;
    /// The animation bar's key-time steps (32822, 32821), as Left and Right in the view.
    void PreviousKey() override;
    void NextKey() override;
    /// Marks the active view's document modified. 0 without a view or document.
    int MarkDocumentModified() override;

    /// The edit history (see UndoHistory).
    UndoHistory* History() override { return &m_history; }
    /// Forgets the edit history (every load does): with `documentModified` the saved state
    /// stays out of reach until the next save.
    void ClearHistory(int documentModified) override { m_history.Clear(documentModified != 0); }
    /// After a complete save: the present state is the saved one.
    void OnDocumentSaved() override { m_history.SetClean(); }
    /// Files dropped on the window (local paths, in the order the desktop gave them):
    /// CDxMFCDoc::OpenDroppedFiles, then the camera centred on the whole scene. 0 without
    /// an active view and document or when the question was cancelled.
    int OnDropFiles(const QStringList& paths);
    /// Replaces how the manual page (manual_page::Find) is handed to the desktop (tests);
    /// empty restores xdg-open (ManualViewer). When no viewer takes the page a message
    /// says so and names it; without the page, a message names the places looked in.
    void SetUrlOpener(UrlOpener opener) { m_urlOpener = std::move(opener); }

    /// See SceneServices.
    scene::SceneDocument MakeSceneDocument() override { return m_scene.MakeSceneDocument(); }
    /// The edit context (IDocumentFrame, IViewFrame).
    session::EditContext& Context() override { return m_context; }

    /// The owner of the scene-library object and of the views' device wrappers.
    render::ParentD3R& GetParentD3R() override { return m_parentD3R; }
    /// The active view as a 3D view; null when there is none.
    IRenderView* GetRenderView() const;

    framework::ToolBar* GetMainToolBar() const { return m_mainToolBar; }
    framework::ToolBar* GetAnimationToolBar() const { return m_animationToolBar; }
    framework::ToolBar* GetPartsToolBar() const { return m_partsToolBar; }
    framework::DialogBar* GetControlPanel() const { return m_controlPanel; }
    framework::DialogBar* GetAnimationBar() const { return m_animationBar; }
    float GetPlaySpeed() const { return m_playback.GetPlaySpeed(); }

    // IKeyFrameHost and IBatchCommandHost (the rest above).
    int ShowMessage(const QString& text, const QString& caption, unsigned style) override {
        return MessageBox(text, caption, style);
    }
    rm::Frame* GetSelectedPart() const override {
        // Reading the selection brings it up to date with the scene.
        return const_cast<session::EditContext&>(m_context).SelectedPartInScene();
    }
    QString GetKeyLengthText() const override { return m_display.GetKeyLengthText(); }
    void ShowKeyLength(unsigned length) override { m_display.ShowKeyLength(length); }
    int RunPartKeyDialog() override;
    int RunModelScaleDialog(ScaleFactors& factors, int& scalePositionKeys) override;
    int RunPositionKeyScaleDialog(ScaleFactors& factors) override;

    // ITimelineHost.
    IKeyFrameHost& KeyFrameHost() override { return *this; }
    /// Stops playback and goes to `time`, posing the current set there.
    void GoToTime(float time) override;
    /// Selects `part` in the active view (nothing without one).
    void SelectPart(rm::Frame* part) override;
    void EditPartKeys() override;
    /// The timeline dock (below the view at first; View menu "ﾀｲﾑﾗｲﾝ"); null before
    /// OnCreate.
    timeline::TimelineDock* GetTimeline() const { return m_timeline; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MapPlaybackCommands();
    /// Maps `id` onto a fresh batch command of `kind` run with the frame as its host; the
    /// selection follows what the command did to the scene (the skin replaces the meshes).
    void MapBatchCommand(BatchCommand::Kind kind, framework::CommandId id) {
        MapCommand(id, [this, kind] {
            BatchCommand(static_cast<IBatchCommandHost&>(*this), kind).Execute(m_context);
            ResolveSelection();
        });
    }
    /// Brings the selection up to date with the scene after a change of it.
    void ResolveSelection();
    void OnUpdateStep(framework::CommandId id, void (Playback::*step)(), int& heldSteps);
    void OnStepClicked(void (Playback::*step)(), int& heldSteps);
    void OnManual();
    void OnUpdateZBuffer(framework::CCmdUI& ui, bool disabled);
    void SetOperationMode(int mode);
    void OnAxisButton(int id);
    void MapEditCommands();
    /// The per-part key commands, greyed while no part is selected.
    void MapPartKeyCommands();
    /// Return in the Time edit: a number within Min..Max is gone to; anything else is
    /// refused with a message and the edit shows the current time again.
    void OnTimeTyped();
    void CreateTimeline();
    /// Shows what an undo or redo put back: bars, time, selection, skin, redraw.
    void AfterUndoStep();
    void OnActivateApp(bool active);
    int CreateBars();

    // Declared first, destroyed last: everything below may still hold scene objects.
    render::ParentD3R m_parentD3R;
    /// What the editor works on; handed to the commands, the view, the dock and the dialogs.
    session::EditContext m_context;
    // The bars are children of the frame, which deletes them.
    framework::ToolBar* m_mainToolBar = nullptr;
    framework::ToolBar* m_animationToolBar = nullptr;
    framework::ToolBar* m_partsToolBar = nullptr;
    framework::DialogBar* m_controlPanel = nullptr;
    framework::DialogBar* m_animationBar = nullptr;
    timeline::TimelineDock* m_timeline = nullptr;

    AnimationBarDisplay m_display;
    Playback m_playback;
    /// Steps each step button made in command-state updates during its current press. A
    /// click shorter than one update made none and steps once when it is let go.
    int m_forwardHeldSteps = 0;
    int m_backHeldSteps = 0;
    SceneServices m_scene;
    CopiedKey m_copiedKey;
    CopiedPartKeys m_copiedPartKeys;
    UndoHistory m_history;

    UrlOpener m_urlOpener;
    /// Hands the manual to xdg-open when no UrlOpener is set.
    ManualViewer m_manualViewer;
};

#pragma once

#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/framework/FrameWindow.h"
#include "render/ParentD3R.h"
#include "render/SceneSetup.h"
#include "scene/SceneDocument.h"

namespace framework {
class DialogBar;
class ToolBar;
} // namespace framework

namespace rm {
struct Box;
} // namespace rm

class CAnimationData;
class IRenderView;
class QUrl;

/// The main frame: the window with the menu, the three tool bars, the control panel
/// (dialog bar 136, left) and the animation bar (dialog bar 103, bottom) around the 3D
/// view. It owns what the whole scene shares: the scene-library object (through
/// m_parentD3R), the scene root with background and lights, the scene frame the models'
/// roots go under, the floor grid and the object store, and it gives the program-wide
/// state (ProgramState.h) its start values.
///
/// Its services for the document and the view return 1 on success and 0 when they could
/// not act (typically: no active 3D view or camera pivot yet), changing nothing then.
///
/// Destruction: the view goes first (it hands its device back to m_parentD3R), then the
/// object store (characters, animation sets, models), then the scene frame, the grid and
/// the scene root, then the bars, and last the scene-library object.
class CMainFrame : public framework::FrameWindow {
    Q_OBJECT

public:
    /// Seconds on a steady clock (any origin).
    using Clock = std::function<double()>;
    /// Pauses the user-interface thread for the given milliseconds.
    using Sleep = std::function<void(int milliseconds)>;
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

    /// One pass of the program: counts ticks per second (g_fps), takes the elapsed time
    /// as the frame step (g_frameStep, seconds × 60), moves the scene root by it, advances
    /// playback (below), has the view render when g_redrawRequest is set, then paces the
    /// loop: 10 ms asleep when nothing was to be drawn, 5 ms while the application is
    /// inactive, else none. Returns 1.
    ///
    /// Playback: in play state 1 the current time advances by g_frameStep × the play
    /// speed and, past the last key time, starts again at the first key time itself (the
    /// rest of the step is dropped); the current animation set is posed there. In play
    /// state 2 every animation set of the library advances from its own last posed time
    /// and loops over its own key times; the current one's time is shown.
    int Tick();
    /// Replaces the tick's clock and sleep (tests drive the tick with their own); an empty
    /// function puts the real one back.
    void SetTickServices(Clock clock, Sleep sleep);

    /// (Re)builds the floor grid as a root frame of its own in g_gridFrame. 1 on success.
    int BuildGrid();

    /// Releases the Play and Play All buttons, drops the fraction of the current time
    /// (g_keyTime takes it), stops playback (g_playState 0) and refreshes the time display.
    /// The animation set is not posed again.
    void StopPlayback();
    /// Poses the current animation set at `time` (key-time units): the set remembers the
    /// time, every part it drives takes its pose, and the bound model's skin follows (when
    /// it is on). Nothing without a current animation set.
    void PoseCurrentAnimation(float time);
    /// Shows the current time, slider position, key number and key length of the current
    /// animation set, recomputes g_keyIndex and requests a redraw. Nothing without a
    /// current animation set.
    void RefreshTimeDisplay();
    /// Rebuilds the key-time list first when `rebuild` is non-zero, then shows the first
    /// and last key time, the character's animation sets (current one selected) and the
    /// model's file name and the slider's range and ticks. When another character's sets
    /// have become current since the last refresh, the document's path name becomes the
    /// full library name of the character's first set (the path it was opened from, or
    /// that path with its "_<n>" suffix), so Save writes where the sets came from and
    /// never to a bare file name in the working directory; switching between a character's
    /// sets leaves it alone. 0 without a current animation set.
    int RefreshKeyRange(int rebuild);
    /// Makes the current character's set at `index` (its place in the control panel's
    /// Animation Name box) the current animation set: playback stops, the key-time list,
    /// the bars and the key commands follow it, and it is posed at its first key time.
    /// 0 for an index the character does not have.
    int SelectAnimationSet(int index);
    /// After an open: the Play Speed box offers the file's tick rate ("4800/s") and selects
    /// it, or, with 0, holds only its fixed entries (see AnimationSetChoice).
    void OfferTickRate(std::uint32_t ticksPerSecond);
    /// Refreshes the animation bar for the current animation set, or shows its empty
    /// state ("0.00", "0.00", "Non", slider 0..1). Returns 1.
    int ResetAnimationBar();
    /// Shows the length of the current key interval in the "Length" edit ("Last" after
    /// the last key). With `apply` non-zero the number typed in the edit becomes the new
    /// length after a Yes to "キーの範囲を %d から %d へ変更しますか？": every key from the
    /// next key time on moves by the difference, the bar is rebuilt and the document is
    /// marked modified. A length that is not a whole number from 1 to 16777216 (the
    /// largest whole key time a key keeps exactly) changes nothing. 0 without a current
    /// animation set, else 1.
    int UpdateKeyLength(int apply);

    /// Takes the selection box off the selected part and empties the selection.
    int ClearSelection();
    /// Clears the selection and the scene: with `all` every character, animation set and
    /// model; without, only the current character (and its model's root leaves the scene).
    /// The current pointers, the pick state and the time go back to empty and the
    /// animation bar shows its empty state. Returns 1.
    int ClearScene(int all);
    /// Moves the view's camera pivot to the centre of `frame`'s hierarchy box and requests
    /// a redraw. 0 without a view, pivot or frame.
    int CenterOnFrame(rm::Frame* frame);
    /// Builds the green box around a picked part from its box and adds it to `frame`
    /// (which keeps it; g_selectionBox borrows it). 0 when either is null.
    int CreateSelectionBox(rm::Frame* frame, const rm::Box* box);
    /// Shows camera view `index` in the control panel's list without applying it.
    /// 1 when the list shows it; 0 without a view and pivot, or for an index the list
    /// does not have.
    int SelectCameraView(int index);
    /// Points the camera pivot as the control panel's camera view says ("User" leaves it)
    /// and requests a redraw. Nothing without a view and pivot.
    void ApplyCameraView();
    /// Marks the active view's document modified. 0 without a view or document.
    int MarkDocumentModified();

    /// Files dropped on the window (local paths, in the order the desktop gave them):
    /// asks to save changes first (Cancel drops nothing), starts a new document, inserts
    /// every file as one more character (a file that fails does not stop the others) and
    /// centres the camera on the whole scene. 0 without an active view and document or
    /// when the question was cancelled.
    int OnDropFiles(const QStringList& paths);
    /// The manual page "Manual.htm": from the working directory, else from the folder of
    /// the program; empty when neither has one.
    static QString FindManual();
    /// Replaces how the manual is handed to the desktop (tests); empty restores it.
    void SetUrlOpener(UrlOpener opener) { m_urlOpener = std::move(opener); }

    /// The scene as the document's file sequences see it: the scene frame, the store and
    /// the current pointers (copied from the globals), with the scene-cleared hook set.
    scene::SceneDocument MakeSceneDocument();
    /// Takes the current pointers a file sequence left in `doc` into the globals.
    static void TakeCurrentPointers(const scene::SceneDocument& doc);

    /// The owner of the scene-library object and of the views' device wrappers.
    render::ParentD3R& GetParentD3R() { return m_parentD3R; }
    /// The active view as a 3D view; null when there is none.
    IRenderView* GetRenderView() const;

    framework::ToolBar* GetMainToolBar() const { return m_mainToolBar; }
    framework::ToolBar* GetAnimationToolBar() const { return m_animationToolBar; }
    framework::ToolBar* GetPartsToolBar() const { return m_partsToolBar; }
    framework::DialogBar* GetControlPanel() const { return m_controlPanel; }
    framework::DialogBar* GetAnimationBar() const { return m_animationBar; }
    float GetPlaySpeed() const { return m_playSpeed; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnPlay();
    void OnPlayAll();
    void OnUpdatePlayState(framework::CCmdUI& ui);
    void OnUpdateForwardStep(framework::CCmdUI& ui);
    void OnUpdateBackStep(framework::CCmdUI& ui);
    void OnPreviousKey();
    void OnNextKey();
    void GoToKeyIndex();
    void OnFirstKey();
    void OnLastKey();
    void OnTimeSliderReleased();
    void OnChangeKeyLength();
    void OnManual();
    void PlayAllStep(float step);
    void RecomputeKeyIndex();
    void ShowKeyLength(unsigned length);
    void OnZBufferOn();
    void OnZBufferOff();
    void OnUpdateZBufferOn(framework::CCmdUI& ui);
    void OnUpdateZBufferOff(framework::CCmdUI& ui);
    void SetOperationMode(int mode);
    void OnCenter();
    void OnAxisButton(int id);
    void OnActivateApp(bool active);
    void StretchTimeSlider();
    void OnSceneCleared();
    int CreateSceneFrames();
    int CreateBars();
    void ReleaseScene();
    double Now() const;

    // Declared first, destroyed last: everything below may still hold scene objects.
    render::ParentD3R m_parentD3R;
    // The bars are children of the frame, which deletes them.
    framework::ToolBar* m_mainToolBar = nullptr;
    framework::ToolBar* m_animationToolBar = nullptr;
    framework::ToolBar* m_partsToolBar = nullptr;
    framework::DialogBar* m_controlPanel = nullptr;
    framework::DialogBar* m_animationBar = nullptr;

    float m_playSpeed = 0.5f;
    int m_hasCopiedKey = 0;
    unsigned m_copiedKeyTime = 0;
    CAnimationData* m_copiedKeyAnimation = nullptr; // borrowed; the store owns it

    render::SceneFrames m_scene;
    std::unique_ptr<CObjectStore> m_libraries;

    // The animation set and library name the document's path name was last taken from,
    // so a refresh gives the document a new path name only when another set became
    // current (a Save As name survives later refreshes). Compared, never dereferenced.
    const CAnimationData* m_pathNameAnimation = nullptr;
    std::string m_pathNameEntry;

    UrlOpener m_urlOpener;
    Clock m_clock;
    Sleep m_sleep;
    double m_clockOrigin = 0;
    double m_previousTick = 0;
    double m_lastFpsCount = 0;
    int m_ticksSinceCount = 0;
};

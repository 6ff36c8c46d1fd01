#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QPoint>
#include <QString>

#include "platform/NonCopyable.h"
#include "platform/rm/Viewport.h"

class EditScope;
class UndoHistory;

namespace session {
class EditContext;
} // namespace session

namespace rm {
class Animation;
} // namespace rm

/// The 3D view's mouse and keyboard: the right-button camera (orbit, Ctrl dolly, Shift
/// pan, both buttons field of view), the left-button drags by operation mode and mouse
/// function (move the model, move or turn the selected part, writing keys at the current
/// key time in the animation mode), picking with the selection box, Shift+Ctrl
/// re-parenting, Up and Down through the parts, Left and Right through the keys and the
/// numeric-pad camera presets. No widget: the view translates its events and gives the
/// window's services through the Host, so the handlers run headless too.
///
/// It works on the host's edit context: the selection, the current character, model and
/// animation set, the time and the control-panel settings.
///
/// Two choices of ours: after a pick the part index is the picked part's place in the
/// depth-first order of the current model (its root 0), so Up and Down step from the
/// clicked part; and selecting the already selected part again cycles through its
/// visuals and comes round to the first after the last.
///
/// Every change is one step of the host's edit history (EditScope): a left drag from press
/// to release (however many moves it writes, and the key frame it may add on its way), and
/// a re-parenting click.
class ViewInteraction : private platform::NonCopyable {
public:
    /// What the interaction needs of the window it runs in.
    class Host {
    public:
        virtual ~Host() = default;
        /// The camera, its pivot and the viewport; any may be null before the device is
        /// up (the handlers then do nothing with them). Borrowed.
        virtual rm::Frame* GetCamera() const = 0;
        virtual rm::Frame* GetCameraPivot() const = 0;
        virtual rm::Viewport* GetViewport() const = 0;
        /// The window's message box: OK, no icon, the application title.
        virtual void ShowMessage(const QString& text) = 0;
        // The frame window's services (see IViewFrame).
        virtual int SelectCameraView(int index) = 0;
        virtual void ApplyCameraView() = 0;
        virtual void PreviousKey() = 0;
        virtual void NextKey() = 0;
        virtual int AddKeyFrame(int silent) = 0;
        virtual int RefreshKeyRange(int rebuild) = 0;
        virtual void RefreshTimeDisplay() = 0;
        virtual int MarkDocumentModified() = 0;
        /// The edit history; null records nothing.
        virtual UndoHistory* History() { return nullptr; }
        /// What the interaction works on (borrowed; lives as long as the host).
        virtual session::EditContext& Context() = 0;
    };

    /// The mouse at an event: where (view pixels, y down), which buttons are held and
    /// which of Shift and Ctrl.
    struct Mouse {
        QPoint point;
        bool left = false;
        bool right = false;
        bool shift = false;
        bool control = false;
    };

    /// The keys the view reacts to.
    enum class Key { Left, Right, Up, Down, Pad0, Pad2, Pad4, Pad5, Pad6, Pad8, Escape, Other };

    /// What the next left click links (Set Parent and Set Child by buttons).
    enum class Link {
        None,
        /// The clicked part becomes the selected part's parent.
        Parent,
        /// The clicked part becomes the selected part's child.
        Child,
    };

    /// `host` is borrowed and must outlive the interaction.
    explicit ViewInteraction(Host& host);
    ~ViewInteraction();

    /// Device pixels per view pixel (pick coordinates are device pixels).
    void SetPixelRatio(double ratio) { m_pixelRatio = ratio; }

    void MouseMove(const Mouse& mouse);
    void LeftButtonDown(const Mouse& mouse);
    /// Starts what a left press starts once its pick is done: the edit scope of the drag
    /// that may follow, by mouse function ("Zoom" none).
    void BeginDrag();
    /// Ends the left drag: its changes become one step of the edit history.
    void LeftButtonUp();
    /// The re-parenting click once its pick found `target` (a Shift+Ctrl click in the
    /// parent-child mode): the selected part goes under `target`, or under the model's root
    /// when `target` is the part itself; a target inside the part's own subtree is lifted
    /// to the root first. One step of the edit history. Returns true (the click is handled).
    bool Reparent(rm::Frame* target) { return Reparent(SelectedPartNow(), target); }
    /// The same re-parenting of any `part` of the current model: it goes under `target`,
    /// or under the root when `target` is the part itself, with the same checks, messages
    /// and lifting of a target inside the part's subtree.
    bool Reparent(rm::Frame* part, rm::Frame* target);
    /// Makes the next left click link the selected part with the clicked one (Set Parent,
    /// Set Child) instead of selecting: the click runs the re-parenting above, with the
    /// selected part as the part (Parent) or as the target (Child). Escape, a click that
    /// picks nothing or picks another character cancels it; Link::None cancels too.
    void RequestLink(Link link) { m_pendingLink = link; }
    Link PendingLink() const { return m_pendingLink; }
    void RightButtonDown() {}
    void RightButtonUp() { m_rightDrag = false; }
    /// true when the key was one of the view's (with Alt held none is).
    bool KeyDown(Key key, bool alt);

    /// Selects `frame` with `visual` (or, without one, the frame's first visual, or the
    /// next one when the frame is selected already); the view draws the selection box around it.
    /// A frame without visuals empties the selection. 1 when the frame was selected.
    int SelectPart(rm::Frame* frame, rm::Visual* visual);
    /// Down and Up: the previous or next part of the current model that has a visual,
    /// wrapping round. Nothing without a current animation set bound to a model.
    void SelectPreviousPart() { StepPart(-1); }
    void SelectNextPart() { StepPart(+1); }
    /// Makes sure the current key time has keys for `animation` to take one of `keyType`
    /// (1 rotation, 3 position): adds a key frame when the current time is no key time
    /// (which may ask), then takes out the first key of that type at keyTime. 0 when no
    /// key frame could be added or there is no animation.
    int PrepareKey(rm::Animation* animation, std::uint32_t keyType);

    /// The frame at `index` of the depth-first order under `root` (root 0), the index
    /// wrapped into the hierarchy; and the index of `frame` (-1 when it is not there).
    static rm::Frame* FrameAt(rm::Frame* root, int index);
    static int IndexOf(rm::Frame* root, const rm::Frame* frame);
    static int CountFrames(rm::Frame* root);

private:
    session::EditContext& Context() const;
    void CameraDrag(const Mouse& mouse, float dx, float dy);
    void LeftDrag(const Mouse& mouse, float dx, float dy);
    void MoveModel(const Mouse& mouse, float dx, float dy);
    void MovePart(rm::Frame* part, const Mouse& mouse, float dx, float dy);
    void TurnPart(rm::Frame* part, const Mouse& mouse, float dx, float dy);
    bool PickCharacter(const rm::PickRecord& pick);
    void UnselectPart();
    void StepPart(int step);
    void AfterKeyWritten();
    rm::Frame* SelectedPartNow() const;

    Host& m_host;
    double m_pixelRatio = 1.0;
    bool m_rightDrag = false;
    bool m_leftDrag = false;
    QPoint m_rightDragPoint;
    QPoint m_leftDragPoint;
    std::vector<rm::PickRecord> m_picks; // reused between picks
    /// Open from a left press to its release.
    std::unique_ptr<EditScope> m_dragScope;
    Link m_pendingLink = Link::None;
};

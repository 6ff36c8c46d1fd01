#pragma once

#include "commands/Prompting.h"
#include "session/KeyTimeList.h"
#include "view/PaneLayout.h"

namespace rm {
class Frame;
} // namespace rm

namespace render {
class ParentD3R;
} // namespace render

class UndoHistory;

namespace session {
class EditContext;
} // namespace session

/// What the 3D view needs of the frame window it sits in: the owner of the device wrappers,
/// the camera views of the control panel, the key-time steps, adding a key, the bar
/// refreshes, the selection box, the modified mark and the edit history. The main frame
/// implements it; the view finds it as its parent frame and does nothing where there is
/// none. Results are 1 on success, 0 when the frame could not act.
class IViewFrame {
public:
    virtual ~IViewFrame() = default;

    /// The owner of the scene-library object and of the views' device wrappers.
    virtual render::ParentD3R& GetParentD3R() = 0;
    /// What the editor works on: the current pointers, the time, the selection and the
    /// control-panel settings.
    virtual session::EditContext& Context() = 0;
    /// Shows camera view `index` in the control panel's list without applying it.
    virtual int SelectCameraView(int index) = 0;
    /// Points the camera pivot as the control panel's camera view says.
    virtual void ApplyCameraView() = 0;
    /// The key-time steps of the animation bar (Left and Right in the view).
    virtual void PreviousKey() = 0;
    virtual void NextKey() = 0;
    /// "Add Key Frame" for the selected part; Prompting::Silent asks nothing.
    virtual int AddKeyFrame(Prompting prompting) = 0;
    virtual int RefreshKeyRange(session::KeyTimeList keyTimes) = 0;
    virtual void RefreshTimeDisplay() = 0;
    /// Moves the camera pivot to the centre of `frame`'s hierarchy.
    virtual int CenterOnFrame(rm::Frame* frame) = 0;
    virtual int MarkDocumentModified() = 0;
    /// The edit history; null records nothing.
    virtual UndoHistory* History() = 0;
    /// The view's choices kept between runs in the user's settings: how it is divided and
    /// the onion skin's ghosts each side. KeepPaneLayout keeps a new layout.
    virtual PaneLayout KeptPaneLayout() const = 0;
    virtual void KeepPaneLayout(PaneLayout layout) = 0;
    virtual int KeptOnionSkinGhosts() const = 0;
};

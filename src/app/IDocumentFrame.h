#pragma once

#include <cstdint>

#include "app/DocumentState.h"
#include "scene/DocumentOpen.h"
#include "scene/SceneDocument.h"
#include "session/KeyTimeList.h"

namespace session {
class EditContext;
} // namespace session

namespace rm {
class Frame;
} // namespace rm

namespace render {
class ParentD3R;
} // namespace render

/// What the document needs of the frame window that shows it: the scene it opens into and
/// saves from, playback to stop, the selection and the scene to clear, the edit history to
/// forget or mark saved, and the bars and camera to bring up to date after an open. The main
/// frame implements it. Results are 1 on success, 0 when the frame could not act.
class IDocumentFrame {
public:
    virtual ~IDocumentFrame() = default;

    /// The owner of the scene-library object; its D3DRM() is null before the frame is up.
    virtual render::ParentD3R& GetParentD3R() = 0;
    /// What the editor works on: the current pointers, the time and the selection.
    virtual session::EditContext& Context() = 0;
    virtual void StopPlayback() = 0;
    virtual int ClearSelection() = 0;
    /// Clears the scene: only the current character, or everything (scene::ClearScene).
    virtual int ClearScene(scene::ClearExtent extent) = 0;
    /// Forgets the edit history, leaving the document as `state` says.
    virtual void ClearHistory(DocumentState state) = 0;
    /// After a complete save: the present state is the saved one.
    virtual void OnDocumentSaved() = 0;
    /// The scene and current pointers an open or a save works on.
    virtual scene::SceneDocument MakeSceneDocument() = 0;
    /// After an open: the Play Speed box offers the file's tick rate (0: none).
    virtual void OfferTickRate(std::uint32_t ticksPerSecond) = 0;
    /// Moves the camera pivot to the centre of `frame`'s hierarchy.
    virtual int CenterOnFrame(rm::Frame* frame) = 0;
    virtual int RefreshKeyRange(session::KeyTimeList keyTimes) = 0;
    virtual void RefreshTimeDisplay() = 0;
};

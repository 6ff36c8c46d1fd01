#pragma once

#include <functional>
#include <memory>

#include "render/SceneSetup.h"
#include "scene/DocumentOpen.h"
#include "scene/SceneDocument.h"

namespace session {
class EditContext;
} // namespace session

namespace rm {
class Context;
class Frame;
class Viewport;
} // namespace rm

/// The scene the main frame owns and the services the document and the view call on it:
/// the object store, the scene root with background and lights, the scene frame the
/// models' roots go under and the floor grid (named in the edit context too), and
/// clearing the selection and the scene, centring a camera pivot. No widget: what the window shows
/// after a clear is the `onSceneCleared` hook's.
class SceneServices {
public:
    /// `onSceneCleared` runs after the program-wide state of a cleared scene was emptied
    /// (may be empty).
    /// `context` (borrowed) is the edit context whose scene this is.
    SceneServices(session::EditContext& context, std::function<void()> onSceneCleared);
    ~SceneServices();

    /// Makes the store and the scene frames with the scene-library object `d3drm`
    /// (borrowed; it becomes g_d3drm). 0 when the scene could not be made.
    int Create(rm::Context* d3drm);
    /// Frees the store (characters, animation sets, models), then lets go of the scene
    /// frame, the grid and the scene root, emptying the globals that named them.
    void Release(rm::Context* d3drm);
    /// (Re)builds the floor grid as a root frame of its own (the context's gridFrame). 1 on
    /// success.
    int BuildGrid(rm::Context* d3drm);

    /// Empties the selection (a redraw is requested when something was selected).
    int ClearSelection();
    /// Clears the selection and the scene: with `all` every character, animation set and
    /// model; without, only the current character (and its model's root leaves the
    /// scene). The current pointers, the pick state and the time go back to empty.
    int ClearScene(scene::ClearExtent extent);
    /// The scene as the document's file sequences see it: the scene frame, the store and
    /// the current pointers (copied from the context), with the scene-cleared hook set.
    scene::SceneDocument MakeSceneDocument();

    /// Moves `pivot` to the centre of `frame`'s hierarchy box and requests a redraw.
    /// 0 when either is null.
    int CenterOnFrame(rm::Frame* pivot, rm::Frame* frame);
    /// What "Center" centres on: the whole model of the current animation set while a
    /// part is selected, else the scene frame.
    rm::Frame* CenterTarget() const;
    /// Frames CenterTarget() so all of it fills `viewport`: `pivot` goes to its centre and
    /// the camera nearer or farther; requests a redraw. 0 when either is null or nothing
    /// in the scene shows.
    int FrameWholeModel(rm::Frame* pivot, rm::Viewport* viewport);

private:
    void OnSceneCleared();
    /// Names the scene root, scene frame and grid as they are now in the edit context.
    void PublishFrames();

    session::EditContext& m_context;
    std::function<void()> m_onSceneCleared;
    render::SceneFrames m_scene;
    std::unique_ptr<CObjectStore> m_libraries;
};

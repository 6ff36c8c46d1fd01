#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "platform/rm/Context.h"
#include "platform/surface/Image.h"
#include "platform/surface/Window.h"
#include "render/Direct3R.h"

namespace render {

/// System colours the scene takes its background and grid colour from, as the classic
/// desktop scheme has them; the GUI may pass its own palette's instead.
inline constexpr rm::D3DCOLOR kAppWorkspaceColor = 0xFF808080;   // the background
inline constexpr rm::D3DCOLOR kInactiveBorderColor = 0xFFC0C0C0; // the floor grid

/// The frames the main frame owns: the scene root (background, lights), the frame the
/// models' root frames go under, and the floor grid (a root of its own, drawn beside the
/// scene, never part of it).
struct SceneFrames {
    rm::Ref<rm::Frame> sceneRoot;
    rm::Ref<rm::Frame> sceneFrame;
    rm::Ref<rm::Frame> gridFrame;
};

/// The view's camera rig: the pivot the camera orbits (a child of the scene root) and the
/// camera (a child of the pivot, 15 units behind it).
struct CameraRig {
    rm::Ref<rm::Frame> pivot;
    rm::Ref<rm::Frame> camera;
};

/// The render settings the view shows; read back before the device is rebuilt and applied
/// again afterwards, because a rebuilt device starts from its defaults.
struct RenderState {
    rm::D3DRMRENDERQUALITY quality = 0;
    int dither = 0;
    rm::D3DRMTEXTUREQUALITY textureQuality = 0;
    rm::D3DRMPROJECTIONTYPE projection = 0;
};

/// What one rendered frame leaves for the overlay.
struct FrameStats {
    /// The device's triangle count after this frame (all frames so far, grid included).
    std::uint32_t trianglesDrawn = 0;
    /// Where the label of the selected part's parent goes, in pixels of the picture; only
    /// when that parent lies in front of the camera.
    bool hasParentLabel = false;
    int parentLabelX = 0;
    int parentLabelY = 0;
};

/// Draws text over a finished picture (the FPS and triangle lines, the parent label),
/// before the window is told about it.
using OverlayHook = std::function<void(surface::Image& picture, const FrameStats& stats)>;

/// What a frame may draw over the scene in every viewport before the overlay frame (the
/// onion skin's ghosts), given all viewports at once so work shared by them is done once.
using ScenePass = std::function<void(std::span<rm::Viewport* const> viewports)>;

/// Which step of the view's set-up failed.
enum class ViewSetupResult {
    Ok,
    DirectDrawFailed, // "DirectDraw creation failed"
    Direct3DRMFailed, // "Direct3DRM creation failed"
    ViewportFailed,   // "Direct3DRM viewport creation failed"
};

/// The scene the editor shows, built in one place for the main frame, the view and the
/// command line. Integer results are 1 on success and 0 on failure.
class SceneSetup {
public:
    /// The main frame's client-area creation: scene root with the background colour, an
    /// ambient light (0.4 grey) and a parallel light (0.8 grey) on a frame at
    /// (50, 100, -50) looking at the root, the scene frame under the root, and the grid.
    static int CreateSceneFrames(rm::Context* d3drm, rm::D3DCOLOR background,
                                 rm::D3DCOLOR gridColour, SceneFrames* frames);

    /// The floor grid: 13 x 13 points 3 units apart from -18 to 18 in x and z at y 0,
    /// each cell a quadrilateral in both windings (288 faces, 576 triangles), an unlit
    /// wireframe mesh in gridColour under a new root frame that replaces *gridFrame.
    static int BuildGrid(rm::Context* d3drm, rm::D3DCOLOR gridColour,
                         rm::Ref<rm::Frame>* gridFrame);

    /// The camera rig of the view's initial update: the pivot at the scene root's origin
    /// looking along +z, tipped 3 degrees about its x axis, and the camera at (0, 0, -15)
    /// from it looking along the pivot's +z.
    static int CreateCameraRig(rm::Context* d3drm, rm::Frame* sceneRoot, CameraRig* rig);

    /// The view's initial update after it got its wrapper: window surfaces, devices,
    /// camera rig, perspective viewport; saves the render state and enables the wrapper.
    static ViewSetupResult SetUpView(Direct3R* device, surface::Window* window,
                                     rm::Frame* sceneRoot, CameraRig* rig, RenderState* saved);

    /// Points the pivot as the control panel's camera view `index` says (1 "Flont" to 6
    /// "Bottom", in world coordinates); 0 "User" and anything else leave it. 0 without a
    /// pivot.
    static int ApplyCameraView(rm::Frame* pivot, int index);

    /// Moves the pivot to the centre of frame's hierarchy box (the frame's own origin
    /// when nothing under it shows). 0 without pivot or frame.
    static int CenterOnFrame(rm::Frame* pivot, rm::Frame* frame);

    /// The green wireframe box around a picked part: a mesh over box's corners added to
    /// frame (which keeps it; the selection's own root, outside the scene); *mesh receives it. 0
    /// when frame or box is null.
    static int CreateSelectionBox(rm::Context* d3drm, rm::Frame* frame, const rm::Box* box,
                                  rm::Ref<rm::Mesh>* mesh);

    static void SaveRenderState(const Direct3R& device, RenderState* state);
    static void RestoreRenderState(Direct3R& device, const RenderState& state);

    /// The drawing of one frame: restore lost surfaces; in each viewport clear, draw the
    /// grid and the scene; `afterScene` (may be empty) over all of them; in each draw the
    /// root `overlayFrame` (may be null: the selection box, which is no part of the scene);
    /// update the device, place the label of labelParent (may be null) by the first
    /// viewport, draw the overlay (may be empty) on the picture and show it. `viewports`
    /// empty means the wrapper's own viewport (the panes of a split view are viewports on
    /// the same device). Returns ShowBackBuffer's result; 0 when the wrapper is not enabled
    /// or has no viewport. *stats (may be null) receives what the overlay was given.
    static int RenderFrame(Direct3R& device, rm::Frame* gridFrame, rm::Frame* sceneRoot,
                           rm::Frame* overlayFrame, rm::Frame* labelParent,
                           const OverlayHook& overlay, FrameStats* stats,
                           std::span<rm::Viewport* const> viewports = {},
                           const ScenePass& afterScene = {});
};

} // namespace render

#pragma once

namespace rm {
class Frame;
class Viewport;
} // namespace rm

namespace render {

/// Frames a whole model in a view: the camera pivot goes to the centre of the model's
/// hierarchy box and the camera (the viewport's camera, a child of the pivot looking
/// along its +z) moves along the pivot's z axis until the box's bounding sphere fits the
/// narrower side of the viewport with a margin. The pivot keeps its orientation, so the
/// user's direction of view stays. Used by the View menu's "frame the whole model" and by
/// the command line's --render.
class ModelFraming {
public:
    /// Room left around the bounding sphere: 1 touches the edges.
    static constexpr float kMargin = 1.1f;

    /// Frames `target` in `viewport`; in parallel projection only the pivot moves (the
    /// distance does not change the picture). Returns 1, or 0 without pivot, viewport,
    /// camera or target, or when nothing under `target` shows (nothing moves then).
    static int FrameWhole(rm::Frame* pivot, const rm::Viewport* viewport, rm::Frame* target);

    /// The camera's distance from the centre of a sphere of `radius` that fits, with
    /// kMargin, a perspective view of `field` (half the width of the wider side at
    /// distance `front`) on a viewport of width × height pixels; never nearer than
    /// front + radius, so the front plane does not cut the sphere (a model much smaller
    /// than the front distance therefore fills less of the view).
    static float FittingDistance(float radius, float field, float front, int width, int height);
};

} // namespace render

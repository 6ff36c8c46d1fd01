#pragma once

namespace rm {
class Frame;
} // namespace rm

namespace render {
class Direct3R;
} // namespace render

namespace session {

/// Size types of a view's size handling, with the platform's numbers.
enum SizeType : unsigned {
    SizeRestored = 0,
    SizeMinimized = 1,
    SizeMaximized = 2,
    SizeMaxShow = 3,
    SizeMaxHide = 4,
};

/// What the main frame and the part key dialog need of the 3D view (CDxMFCView): the camera pivot
/// that camera views and "Center" move, the device wrapper (screen rectangle, activation), drawing
/// one frame, and the size handling the frame forwards when the window is minimised or
/// restored. The frame reaches it as its active view, which may be missing or may not be
/// a 3D view: every service of the frame then does nothing.
class IRenderView {
public:
    virtual ~IRenderView() = default;

    /// The pivot the camera orbits (a child of sceneRoot); null until the view's initial
    /// update made it. Borrowed.
    virtual rm::Frame* GetCameraPivot() const = 0;
    /// The view's device wrapper; null until the initial update got one. Borrowed.
    virtual render::Direct3R* GetDevice() const = 0;
    /// Draws one frame if redrawRequest is set, and clears it. Returns 1 when a picture
    /// was shown, 0 when nothing was drawn.
    virtual int Render() = 0;
    /// The view's size changed to cx × cy pixels, or its window was minimised or restored
    /// (`type` a SizeType).
    virtual void OnSize(unsigned type, int cx, int cy) = 0;
    /// The previous or next part of the current model that has a visual, as the Down and
    /// Up keys select it (wrapping round); nothing without a current animation set.
    virtual void SelectPreviousPart() = 0;
    virtual void SelectNextPart() = 0;
    /// Selects `part` as a click on it does (a part without a visual is selected without a
    /// box). 1 when it is the selected part afterwards.
    virtual int SelectPart(rm::Frame* part) = 0;
};

} // namespace session

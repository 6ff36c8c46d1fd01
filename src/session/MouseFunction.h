#pragma once

namespace session {

/// What a left drag in the view does, as the control panel's four buttons choose it.
enum class MouseFunction {
    /// The first "Move": the whole model.
    MoveModel,
    /// The second "Move": the selected part.
    MovePart,
    /// "Rotate": turns the selected part.
    Rotate,
    /// "Zoom": a left drag does nothing to the scene.
    Zoom,
};

} // namespace session

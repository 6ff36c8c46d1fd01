#pragma once

namespace session {

/// The control panel's operation mode: what a left drag on a part changes.
enum class OperationMode {
    /// The model itself: the rest transforms; Shift+Ctrl+click re-parents.
    ParentChild,
    /// The pose: a key at the current key time.
    Animation,
};

} // namespace session

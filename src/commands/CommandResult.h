#pragma once

/// How a batch command ended, for whoever runs it (the main frame, the headless command
/// line, later a layer that records edits): only `Changed` left the scene different.
enum class CommandResult {
    /// The model or the animation set was changed.
    Changed,
    /// The user declined a question or a dialog; nothing changed.
    Cancelled,
    /// Nothing changed: there was nothing to work on, or nothing to do.
    Refused,
};

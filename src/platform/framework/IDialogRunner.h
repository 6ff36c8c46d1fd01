#pragma once

namespace framework {

class Dialog;

/// Runs modal dialogs. The on-screen implementation is `QtDialogRunner`; tests install a
/// `ScriptedDialogRunner` through `UiServices`, which plays the user's part.
class IDialogRunner {
public:
    virtual ~IDialogRunner() = default;
    /// Runs `dialog` modally: `dialog.StartModal()`, then (when it is still open) let the
    /// user work until the dialog ends itself, then `dialog.FinishModal()`, whose value is
    /// returned (`IdOk`, `IdCancel` or what the dialog ended with).
    virtual int RunModal(Dialog& dialog) = 0;
};

} // namespace framework

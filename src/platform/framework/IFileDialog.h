#pragma once

#include "platform/framework/FileDialogRequest.h"

namespace framework {

/// Asks the user for a file. The on-screen implementation is `QtFileDialog`; tests
/// install a `ScriptedFileDialog` through `UiServices`.
class IFileDialog {
public:
    virtual ~IFileDialog() = default;
    /// Shows the dialog of `request`. Returns `IdOk` with the chosen path in `*path`, or
    /// `IdCancel` (then `*path` is untouched).
    virtual int Run(const FileDialogRequest& request, QString* path) = 0;
};

} // namespace framework

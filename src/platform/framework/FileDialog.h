#pragma once

#include <QString>

#include "platform/framework/FileDialogRequest.h"

namespace framework {

/// An open or save dialog, shown through the installed `IFileDialog` (see `UiServices`).
///
///     FileDialog dialog(true, "x", "", OfnHideReadOnly | OfnOverwritePrompt,
///                       "X ﾌｧｲﾙ (*.x)|*.x|すべてのﾌｧｲﾙ (*.*)|*.*||");
///     if (dialog.DoModal() == IdOk) Open(dialog.GetPathName());
class FileDialog {
public:
    FileDialog(bool open, const QString& defaultExt = {}, const QString& fileName = {},
               unsigned flags = OfnHideReadOnly | OfnOverwritePrompt, const QString& filter = {},
               QWidget* owner = nullptr);

    /// `IdOk` when a file was chosen, `IdCancel` otherwise.
    int DoModal();
    /// The chosen path (empty before an OK).
    const QString& GetPathName() const { return m_path; }
    FileDialogRequest& Request() { return m_request; }
    const FileDialogRequest& Request() const { return m_request; }

    /// The folder of the last file chosen in any file dialog of the program; every dialog
    /// starts there unless its request names a folder of its own. Empty at first; the
    /// application keeps it across runs.
    static QString LastFolder();
    static void SetLastFolder(const QString& folder);

private:
    FileDialogRequest m_request;
    QString m_path;
};

} // namespace framework

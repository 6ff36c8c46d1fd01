#include "platform/framework/FileDialog.h"

#include <QFileInfo>

#include "platform/framework/IFileDialog.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/OpenTiming.h"
#include "platform/framework/UiServices.h"

namespace framework {

namespace {
QString& LastFolderStore() {
    static QString folder;
    return folder;
}
} // namespace

QString FileDialog::LastFolder() {
    return LastFolderStore();
}

void FileDialog::SetLastFolder(const QString& folder) {
    LastFolderStore() = folder;
}

FileDialog::FileDialog(bool open, const QString& defaultExt, const QString& fileName,
                       unsigned flags, const QString& filter, QWidget* owner)
    : m_request{.open = open,
                .defaultExt = defaultExt,
                .fileName = fileName,
                .directory = {},
                .flags = flags,
                .filter = filter,
                .title = {},
                .owner = owner} {}

int FileDialog::DoModal() {
    FileDialogRequest request = m_request;
    if (request.directory.isEmpty() && !QFileInfo(request.fileName).isAbsolute()) {
        request.directory = LastFolder();
    }
    QString path;
    const int result = UiServices::FileDialogs().Run(request, &path);
    if (result != IdOk) {
        return IdCancel;
    }
    m_path = path;
    SetLastFolder(QFileInfo(path).absolutePath());
    if (m_request.open) {
        OpenTiming::DialogAccepted();
    }
    return IdOk;
}

} // namespace framework

#include "platform/framework/FileDialog.h"

#include "platform/framework/IFileDialog.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/OpenTiming.h"
#include "platform/framework/UiServices.h"

namespace framework {

FileDialog::FileDialog(bool open, const QString& defaultExt, const QString& fileName,
                       unsigned flags, const QString& filter, QWidget* owner) {
    m_request.open = open;
    m_request.defaultExt = defaultExt;
    m_request.fileName = fileName;
    m_request.flags = flags;
    m_request.filter = filter;
    m_request.owner = owner;
}

int FileDialog::DoModal() {
    QString path;
    const int result = UiServices::FileDialogs().Run(m_request, &path);
    if (result != IdOk)
        return IdCancel;
    m_path = path;
    if (m_request.open)
        OpenTiming::DialogAccepted();
    return IdOk;
}

} // namespace framework

#include "platform/framework/ScriptedFileDialog.h"

#include "platform/framework/MessageBoxCodes.h"

namespace framework {

int ScriptedFileDialog::Run(const FileDialogRequest& request, QString* path) {
    m_requests.push_back(request);
    if (m_answers.empty()) {
        ++m_unscripted;
        return IdCancel;
    }
    const std::optional<QString> answer = m_answers.front();
    m_answers.pop_front();
    if (!answer) {
        return IdCancel;
    }
    if (path != nullptr) {
        *path = *answer;
    }
    return IdOk;
}

} // namespace framework

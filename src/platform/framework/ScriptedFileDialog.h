#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "platform/framework/IFileDialog.h"

namespace framework {

/// A file dialog for tests: answers from a queue and records every request.
/// `Choose(path)` queues an OK with that path, `Cancel()` a cancel. With the queue empty
/// the dialog is cancelled and counted in `UnscriptedCount`.
class ScriptedFileDialog : public IFileDialog {
public:
    void Choose(const QString& path) { m_answers.push_back(path); }
    void Cancel() { m_answers.push_back(std::nullopt); }
    const std::vector<FileDialogRequest>& Requests() const { return m_requests; }
    int UnscriptedCount() const { return m_unscripted; }
    int PendingAnswers() const { return static_cast<int>(m_answers.size()); }

    int Run(const FileDialogRequest& request, QString* path) override;

private:
    std::deque<std::optional<QString>> m_answers;
    std::vector<FileDialogRequest> m_requests;
    int m_unscripted = 0;
};

} // namespace framework

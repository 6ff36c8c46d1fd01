#include "app/ManualViewer.h"

#include <algorithm>
#include <memory>

#include <QProcess>

ManualViewer::ManualViewer() : m_program(QStringLiteral("xdg-open")) {}

ManualViewer::~ManualViewer() {
    // Deleting a running QProcess kills it, and with it the viewer the user is reading:
    // the openers still running are let go instead, and end with the program.
    for (QProcess* process : m_running) {
        process->disconnect(this);
        process->setParent(nullptr);
    }
}

void ManualViewer::Open(const QString& path, std::function<void()> failed) {
    auto* process = new QProcess(this);
    m_running.push_back(process);
    auto shared = std::make_shared<std::function<void()>>(std::move(failed));
    const auto finish = [this, process, shared](bool ok) {
        const auto found = std::find(m_running.begin(), m_running.end(), process);
        if (found == m_running.end()) {
            return; // already answered: a failed start also reports an error
        }
        m_running.erase(found);
        process->deleteLater();
        if (!ok && *shared) {
            (*shared)();
        }
    };
    connect(process, &QProcess::errorOccurred, this, [finish](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart || error == QProcess::Crashed) {
            finish(false);
        }
    });
    connect(process, &QProcess::finished, this,
            [finish](int exitCode, QProcess::ExitStatus status) {
                finish(status == QProcess::NormalExit && exitCode == 0);
            });
    process->setStandardInputFile(QProcess::nullDevice());
    process->start(m_program, {path});
}

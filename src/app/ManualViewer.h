#pragma once

#include <functional>
#include <vector>

#include <QObject>
#include <QString>

class QProcess;

/// Shows a local file in the desktop's viewer with `xdg-open`, and tells when that failed:
/// the program could not be started, crashed or ended with a status other than 0 (no
/// viewer for the file type, no desktop). xdg-open may stay until the viewer it started
/// is closed, so the answer comes later, through the loop; a viewer still open when this
/// object goes is left running.
class ManualViewer : public QObject {
    Q_OBJECT
public:
    ManualViewer();
    ~ManualViewer() override;

    /// The opener run as `program FILE`; "xdg-open" by default (tests give others).
    void SetProgram(const QString& program) { m_program = program; }

    /// Starts the opener on `path`; `failed` is called once if it fails.
    void Open(const QString& path, std::function<void()> failed);

private:
    QString m_program;
    std::vector<QProcess*> m_running;
};

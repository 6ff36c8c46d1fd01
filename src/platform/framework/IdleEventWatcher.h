#pragma once

#include <QObject>
#include <QPoint>

namespace framework {

/// Watches every event the application delivers and remembers whether one of them may
/// have changed what the command-state updates show: input, focus, window changes,
/// queued calls. Painting, timers, layout requests and mouse moves that did not move
/// do not count.
class IdleEventWatcher : public QObject {
    Q_OBJECT

public:
    /// Installs itself on the running QCoreApplication (when there is one).
    IdleEventWatcher();
    ~IdleEventWatcher() override;

    /// 1 when such an event was seen since the last call; clears the mark.
    int Take();
    /// Marks idle work as wanted, as such an event would.
    void Mark() { m_seen = true; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_seen = false;
    QPoint m_lastMouse{-1, -1};
};

} // namespace framework

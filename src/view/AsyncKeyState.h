#pragma once

#include <set>

#include <QObject>

/// Whether a key is held down at this moment, whichever widget has the focus: the view
/// asks it for F while it renders. Watches every key event the application delivers
/// (auto-repeat does not count as a release) and forgets all keys when the application
/// loses the focus, since their releases then go elsewhere.
class AsyncKeyState : public QObject {
    Q_OBJECT

public:
    /// The program's one watcher, installed on the running application at first use.
    static AsyncKeyState& Instance();

    /// 1 while the key (a Qt::Key) is down.
    int IsKeyDown(int key) const { return m_down.count(key) != 0 ? 1 : 0; }
    /// Marks the key down or up, as its key events would.
    void SetKeyDown(int key, bool down);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AsyncKeyState();

    std::set<int> m_down;
};

#include "view/AsyncKeyState.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>

AsyncKeyState::AsyncKeyState() {
    if (QCoreApplication* application = QCoreApplication::instance()) {
        setParent(application);
        application->installEventFilter(this);
    }
}

AsyncKeyState& AsyncKeyState::Instance() {
    // Owned by the application object, so it goes with it; a later application gets a
    // new one.
    static QPointer<AsyncKeyState> instance;
    if (instance == nullptr) {
        instance = new AsyncKeyState;
    }
    return *instance;
}

void AsyncKeyState::SetKeyDown(int key, bool down) {
    if (down) {
        m_down.insert(key);
    } else {
        m_down.erase(key);
    }
}

bool AsyncKeyState::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        SetKeyDown(static_cast<QKeyEvent*>(event)->key(), true);
        break;
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            SetKeyDown(key->key(), false);
        }
        break;
    }
    case QEvent::ApplicationDeactivate:
        m_down.clear();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

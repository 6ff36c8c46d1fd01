#include "platform/framework/IdleEventWatcher.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>

namespace framework {

IdleEventWatcher::IdleEventWatcher() {
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->installEventFilter(this);
    }
}

IdleEventWatcher::~IdleEventWatcher() {
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->removeEventFilter(this);
    }
}

int IdleEventWatcher::Take() {
    const bool seen = m_seen;
    m_seen = false;
    return seen ? 1 : 0;
}

bool IdleEventWatcher::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove: {
        const QPoint position = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        if (position != m_lastMouse) {
            m_lastMouse = position;
            m_seen = true;
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Close:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::ApplicationStateChange:
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::Drop:
    case QEvent::MetaCall:
        m_seen = true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace framework

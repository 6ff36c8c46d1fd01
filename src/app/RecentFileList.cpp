#include "app/RecentFileList.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "platform/framework/FrameWindow.h"
#include "platform/framework/StandardIds.h"
#include "platform/framework/Translate.h"

namespace ids = framework::ids;

void RecentFileList::Add(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    m_paths.removeAll(clean);
    m_paths.prepend(clean);
    while (m_paths.size() > kMaxEntries) {
        m_paths.removeLast();
    }
}

void RecentFileList::Remove(int index) {
    if (index >= 0 && index < m_paths.size()) {
        m_paths.removeAt(index);
    }
}

void RecentFileList::SetPaths(const QStringList& paths) {
    m_paths.clear();
    for (const QString& path : paths) {
        if (!path.isEmpty() && !m_paths.contains(path) && m_paths.size() < kMaxEntries) {
            m_paths.push_back(path);
        }
    }
}

QString RecentFileList::MenuText(int index) const {
    if (index < 0 || index >= m_paths.size()) {
        return QString();
    }
    QString path = QDir::toNativeSeparators(m_paths[index]);
    path.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(path);
}

void RecentFileList::UpdateMenu(framework::FrameWindow& frame) const {
    QAction* first = frame.GetMenuAction(ids::FileMruFirst);
    if (first == nullptr) {
        return;
    }
    QMenu* menu = nullptr;
    for (QObject* object : first->associatedObjects()) {
        if ((menu = qobject_cast<QMenu*>(object)) != nullptr) {
            break;
        }
    }
    if (menu == nullptr) {
        return;
    }

    // The entries after the first are made afresh on every update.
    for (QAction* action : menu->actions()) {
        const unsigned id = action->data().toUInt();
        if (action != first && id > ids::FileMruFirst && id <= ids::FileMruLast) {
            delete action;
        }
    }
    if (m_paths.isEmpty()) {
        first->setText(framework::Tr(kPlaceholderText));
        first->setEnabled(false);
        return;
    }
    first->setText(MenuText(0));
    first->setEnabled(true);

    const QList<QAction*> actions = menu->actions();
    const qsizetype at = actions.indexOf(first);
    QAction* before = at + 1 < actions.size() ? actions[at + 1] : nullptr;
    for (int i = 1; i < m_paths.size(); ++i) {
        const framework::CommandId id = ids::FileMruFirst + static_cast<unsigned>(i);
        auto* action = new QAction(MenuText(i), menu);
        action->setData(id);
        QObject::connect(action, &QAction::triggered, &frame,
                         [&frame, id] { frame.OnCommand(id, framework::CommandSource::Menu); });
        menu->insertAction(before, action);
    }
}

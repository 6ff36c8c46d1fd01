#include "app/UndoMenuTexts.h"

#include <QCoreApplication>

#include "commands/UndoHistory.h"

namespace undo_menu {

QString UndoText(const UndoHistory& history) {
    const QString step = history.UndoText();
    return step.isEmpty()
               ? QCoreApplication::translate("Pavrix", "元に戻す(&U)\tCtrl+Z")
               : QCoreApplication::translate("Pavrix", "元に戻す(&U): %1\tCtrl+Z").arg(step);
}

QString RedoText(const UndoHistory& history) {
    const QString step = history.RedoText();
    return step.isEmpty()
               ? QCoreApplication::translate("Pavrix", "やり直し(&R)\tCtrl+Y")
               : QCoreApplication::translate("Pavrix", "やり直し(&R): %1\tCtrl+Y").arg(step);
}

QString Prompt(const QString& menuText) {
    return QString(menuText)
        .remove(QStringLiteral("(&U)"))
        .remove(QStringLiteral("(&R)"))
        .remove(QLatin1Char('&'))
        .section(QLatin1Char('\t'), 0, 0);
}

} // namespace undo_menu

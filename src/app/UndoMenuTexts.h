#pragma once

#include <QString>

class UndoHistory;

/// The Edit menu's texts for Undo and Redo as they show now: "元に戻す(&U): キーの追加
/// \tCtrl+Z" when there is a step to undo, the plain entry otherwise.
namespace undo_menu {

QString UndoText(const UndoHistory& history);
QString RedoText(const UndoHistory& history);
/// The status-bar prompt of such a text: the same words without the mnemonic and the keys.
QString Prompt(const QString& menuText);

} // namespace undo_menu

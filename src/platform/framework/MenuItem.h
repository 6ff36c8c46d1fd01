#pragma once

#include <vector>

#include <QString>

#include "platform/framework/CommandId.h"

namespace framework {

/// One entry of a menu resource: a command, a separator or a submenu. A menu bar is a
/// list of submenus. Texts use '&' before the mnemonic letter and may carry the shortcut
/// shown on the right after a tab ("新規作成(&N)\tCtrl+N"); the shortcut itself comes
/// from the accelerator table.
struct MenuItem {
    enum class Kind { Command, Separator, Popup };

    Kind kind = Kind::Command;
    CommandId id = 0;
    QString text;
    bool grayed = false;         ///< starts disabled (command-state updates may change it)
    std::vector<MenuItem> items; ///< the entries of a submenu

    static MenuItem Command(CommandId id, const QString& text, bool grayed = false) {
        return {Kind::Command, id, text, grayed, {}};
    }
    static MenuItem Separator() { return {Kind::Separator, 0, {}, false, {}}; }
    static MenuItem Popup(const QString& text, std::vector<MenuItem> items) {
        return {Kind::Popup, 0, text, false, std::move(items)};
    }
};

} // namespace framework

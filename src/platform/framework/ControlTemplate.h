#pragma once

#include <utility>

#include <QIcon>
#include <QRect>
#include <QString>
#include <QStringList>

#include "platform/framework/Translate.h"

namespace framework {

/// One control of a dialog template. Positions and sizes are in dialog units (a quarter
/// of the font's average character width across, an eighth of its height down), so a
/// template keeps its proportions with any font.
struct ControlTemplate {
    enum class Kind {
        Static, ///< text label; "&&" shows a single '&'
        Icon,   ///< `icon` at 32 × 32 pixels
        PushButton,
        DefPushButton, ///< the button Enter presses
        CheckBox,
        RadioButton,
        GroupBox,
        Edit,
        ComboBox, ///< drop-down list (no typing); `items` in order
        ListBox,
        TrackBar, ///< horizontal slider with tick marks
    };

    /// Style bits.
    enum Style : unsigned {
        Group = 0x01, ///< starts a group: the radio buttons after it, up to the next
                      ///< control with this bit, are one exclusive group
        Disabled = 0x02,
        ReadOnly = 0x04, ///< edit: cannot be typed into
        Number = 0x08,   ///< edit: digits only
        PushLike = 0x10, ///< check box or radio button drawn as a toggle button
        Hidden = 0x20,
        Sorted = 0x40, ///< combo or list box keeps its entries sorted
    };

    /// A control of `kind` with UTF-8 `text`, shown in the interface language.
    static ControlTemplate Make(Kind kind, int id, const char* text, QRect rect = {},
                                unsigned style = 0, QStringList items = {}) {
        ControlTemplate control;
        control.kind = kind;
        control.id = id;
        control.text = Tr(text);
        control.rect = rect;
        control.style = style;
        control.items = std::move(items);
        return control;
    }

    Kind kind = Kind::Static;
    int id = -1; ///< -1 for controls that never report (labels)
    QString text;
    QRect rect; ///< dialog units
    unsigned style = 0;
    QStringList items;
    QIcon icon;
};

} // namespace framework

#pragma once

#include <QString>

class QWidget;

namespace framework {

/// Shows a message box and waits for the answer. The on-screen implementation is
/// `QtMessageBox`; tests install a `ScriptedMessageBox` through `UiServices`.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    /// Shows `text` with `caption` and the buttons and icon of `style` (`MbOk`,
    /// `MbOkCancel | MbIconQuestion`, … from MessageBoxCodes.h) over `owner` (may be
    /// null). Returns the button chosen: `IdOk`, `IdCancel`, `IdYes` or `IdNo`. Closing a
    /// box that has a Cancel button any other way answers `IdCancel`.
    virtual int Show(QWidget* owner, const QString& text, const QString& caption,
                     unsigned style) = 0;
};

} // namespace framework

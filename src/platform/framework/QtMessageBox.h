#pragma once

#include "platform/framework/IMessageBox.h"

class QMessageBox;

namespace framework {

/// The on-screen message box: a modal QMessageBox with the buttons of the style's low
/// four bits (OK; OK and Cancel; Yes, No and Cancel; Yes and No) and the icon of bits 4
/// to 7 (stop, question, exclamation, information). Button labels are Japanese
/// ("OK", "ｷｬﾝｾﾙ", "はい(&Y)", "いいえ(&N)") to match the program's texts.
class QtMessageBox : public IMessageBox {
public:
    int Show(QWidget* owner, const QString& text, const QString& caption, unsigned style) override;

    /// Gives `box` the buttons, default button, escape button and icon of `style`.
    /// Unknown button sets get an OK button alone.
    static void Configure(QMessageBox& box, unsigned style);
    /// The result of the button `box` was closed with, in the terms of the style.
    static int ResultOf(const QMessageBox& box);
};

} // namespace framework

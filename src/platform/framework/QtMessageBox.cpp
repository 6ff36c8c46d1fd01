#include "platform/framework/QtMessageBox.h"

#include <utility>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/framework/MessageBoxCodes.h"

namespace framework {

namespace {

const char* const kResultProperty = "pavrixResult";

QPushButton* AddButton(QMessageBox& box, const QString& label, QMessageBox::ButtonRole role,
                       int result) {
    QPushButton* button = box.addButton(label, role);
    button->setProperty(kResultProperty, result);
    return button;
}

} // namespace

void QtMessageBox::Configure(QMessageBox& box, unsigned style) {
    const QString ok = QCoreApplication::translate("Pavrix", "OK");
    const QString cancel = QCoreApplication::translate("Pavrix", "ｷｬﾝｾﾙ");
    const QString yes = QCoreApplication::translate("Pavrix", "はい(&Y)");
    const QString no = QCoreApplication::translate("Pavrix", "いいえ(&N)");
    // The first button is the default; Escape answers Cancel where there is one (No where
    // the box asks yes or no only: Qt then closes it as No).
    const unsigned type = style & MbTypeMask;
    QPushButton* first = nullptr;
    if (type == MbYesNoCancel || type == MbYesNo) {
        first = AddButton(box, yes, QMessageBox::YesRole, IdYes);
        AddButton(box, no, QMessageBox::NoRole, IdNo);
    } else {
        first = AddButton(box, ok, QMessageBox::AcceptRole, IdOk);
    }
    box.setDefaultButton(first);
    if (type == MbOkCancel || type == MbYesNoCancel) {
        box.setEscapeButton(AddButton(box, cancel, QMessageBox::RejectRole, IdCancel));
    } else if (type != MbYesNo) {
        box.setEscapeButton(first);
    }
    static constexpr std::pair<unsigned, QMessageBox::Icon> kIcons[] = {
        {MbIconStop, QMessageBox::Critical},
        {MbIconQuestion, QMessageBox::Question},
        {MbIconExclamation, QMessageBox::Warning},
        {MbIconInformation, QMessageBox::Information}};
    box.setIcon(QMessageBox::NoIcon);
    for (const auto& [bits, icon] : kIcons) {
        if ((style & MbIconMask) == bits) {
            box.setIcon(icon);
        }
    }
}

int QtMessageBox::ResultOf(const QMessageBox& box) {
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked != nullptr) {
        bool ok = false;
        const int result = clicked->property(kResultProperty).toInt(&ok);
        if (ok) {
            return result;
        }
    }
    // Closed without a button: that is Cancel where there is one, else the only
    // answer the box offers.
    const QAbstractButton* escape = box.escapeButton();
    if (escape != nullptr) {
        return escape->property(kResultProperty).toInt();
    }
    return IdNo;
}

int QtMessageBox::Show(QWidget* owner, const QString& text, const QString& caption,
                       unsigned style) {
    QMessageBox box(owner);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    Configure(box, style);
    box.exec();
    return ResultOf(box);
}

} // namespace framework

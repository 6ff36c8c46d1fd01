#include "platform/framework/UiServices.h"

#include <QPointer>
#include <QWidget>

#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/QtDialogRunner.h"
#include "platform/framework/QtFileDialog.h"
#include "platform/framework/QtMessageBox.h"

namespace framework {

namespace {

struct State {
    QtMessageBox screenMessageBox;
    QtFileDialog screenFileDialog;
    QtDialogRunner screenDialogRunner;
    IMessageBox* messageBox = nullptr;
    IFileDialog* fileDialog = nullptr;
    IDialogRunner* dialogRunner = nullptr;
    QString appTitle;
    QPointer<QWidget> owner;
};

State& GetState() {
    static State state;
    return state;
}

} // namespace

IMessageBox& UiServices::MessageBoxes() {
    State& state = GetState();
    return state.messageBox != nullptr ? *state.messageBox : state.screenMessageBox;
}

void UiServices::SetMessageBox(IMessageBox* box) {
    GetState().messageBox = box;
}

IFileDialog& UiServices::FileDialogs() {
    State& state = GetState();
    return state.fileDialog != nullptr ? *state.fileDialog : state.screenFileDialog;
}

void UiServices::SetFileDialog(IFileDialog* dialog) {
    GetState().fileDialog = dialog;
}

IDialogRunner& UiServices::DialogRunner() {
    State& state = GetState();
    return state.dialogRunner != nullptr ? *state.dialogRunner : state.screenDialogRunner;
}

void UiServices::SetDialogRunner(IDialogRunner* runner) {
    GetState().dialogRunner = runner;
}

QString UiServices::AppTitle() {
    return GetState().appTitle;
}

void UiServices::SetAppTitle(const QString& title) {
    GetState().appTitle = title;
}

QWidget* UiServices::DefaultOwner() {
    return GetState().owner.data();
}

void UiServices::SetDefaultOwner(QWidget* owner) {
    GetState().owner = owner;
}

unsigned UiServices::WithDefaultIcon(unsigned style) {
    if ((style & MbIconMask) != 0) {
        return style;
    }
    switch (style & MbTypeMask) {
    case MbOk:
    case MbOkCancel:
        return style | MbIconExclamation;
    case MbYesNo:
    case MbYesNoCancel:
        return style | MbIconQuestion;
    default:
        return style;
    }
}

int UiServices::AppMessageBox(const QString& text, unsigned style) {
    return MessageBoxes().Show(DefaultOwner(), text, AppTitle(), WithDefaultIcon(style));
}

} // namespace framework

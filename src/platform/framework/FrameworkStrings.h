#pragma once

#include <QCoreApplication>
#include <QString>

/// The framework's own texts, in the interface language wherever the framework talks to the
/// user.
namespace framework::strings {

/// The question before New, Open and exit while the document is modified; %1 is the
/// document's name.
inline QString AskToSave() {
    return QCoreApplication::translate("Pavrix", "%1 への変更を保存しますか?");
}
/// Data exchange: a floating-point field that does not hold a number.
inline QString ParseReal() {
    return QCoreApplication::translate("Pavrix", "数字を入力してください。");
}
/// Data exchange: an integer field that does not hold a whole number.
inline QString ParseInt() {
    return QCoreApplication::translate("Pavrix", "整数を入力してください。");
}
/// The main frame could not be created (string 61700).
inline QString FailedToCreateDoc() {
    return QCoreApplication::translate("Pavrix", "空のﾄﾞｷｭﾒﾝﾄの作成に失敗しました。");
}
/// Title of a document that has no name yet.
inline QString Untitled() {
    return QCoreApplication::translate("Pavrix", "無題");
}
/// The entry every file filter ends with.
inline QString AllFilesFilter() {
    return QCoreApplication::translate("Pavrix", "すべてのﾌｧｲﾙ (*.*)|*.*|");
}
/// Titles of the framework's file dialogs.
inline QString OpenFileTitle() {
    return QCoreApplication::translate("Pavrix", "開く");
}
inline QString SaveFileTitle() {
    return QCoreApplication::translate("Pavrix", "名前を付けて保存");
}

} // namespace framework::strings

#pragma once

#include <QString>

/// The framework's own texts, shown unchanged wherever the framework talks to the user.
namespace framework::strings {

/// The question before New, Open and exit while the document is modified; %1 is the
/// document's name.
inline QString AskToSave() {
    return QStringLiteral("%1 への変更を保存しますか?");
}
/// Data exchange: a floating-point field that does not hold a number.
inline QString ParseReal() {
    return QStringLiteral("数字を入力してください。");
}
/// Data exchange: an integer field that does not hold a whole number.
inline QString ParseInt() {
    return QStringLiteral("整数を入力してください。");
}
/// The main frame could not be created (string 61700).
inline QString FailedToCreateDoc() {
    return QStringLiteral("空のﾄﾞｷｭﾒﾝﾄの作成に失敗しました。");
}
/// Title of a document that has no name yet.
inline QString Untitled() {
    return QStringLiteral("無題");
}
/// The entry every file filter ends with.
inline QString AllFilesFilter() {
    return QStringLiteral("すべてのﾌｧｲﾙ (*.*)|*.*|");
}
/// Titles of the framework's file dialogs.
inline QString OpenFileTitle() {
    return QStringLiteral("開く");
}
inline QString SaveFileTitle() {
    return QStringLiteral("名前を付けて保存");
}

} // namespace framework::strings

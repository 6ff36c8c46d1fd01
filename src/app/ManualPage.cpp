#include "app/ManualPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "platform/framework/Translate.h"

namespace manual_page {

namespace {

constexpr char kManualFile[] = "Manual.htm";
/// Where an installed program finds its manual, from the program's folder.
constexpr char kInstalledManual[] = "../share/doc/pavrix/Manual.htm";
constexpr char kMissingMessage[] = QT_TRANSLATE_NOOP(
    "Pavrix", "簡易説明書 (Manual.htm) が見つかりませんでした。次の場所を探しました:\n%1");
constexpr char kNoViewerMessage[] =
    QT_TRANSLATE_NOOP("Pavrix", "簡易説明書を表示できませんでした。\n"
                                "HTML ファイルを表示するプログラム (ウェブブラウザーなど) "
                                "が見つかりません。\n%1");

} // namespace

QStringList Places() {
    QStringList places{QDir::current().absoluteFilePath(QString::fromLatin1(kManualFile))};
    const QDir programFolder(QCoreApplication::applicationDirPath());
    for (const char* name : {kManualFile, kInstalledManual}) {
        places.push_back(
            QDir::cleanPath(programFolder.absoluteFilePath(QString::fromLatin1(name))));
    }
    return places;
}

QString Find() {
    for (const QString& path : Places()) {
        if (QFileInfo(path).isFile()) {
            return path;
        }
    }
    return QString();
}

QString MissingMessage() {
    QStringList places = Places();
    for (QString& place : places) {
        place = QDir::toNativeSeparators(place);
    }
    return framework::Tr(kMissingMessage).arg(places.join(QLatin1Char('\n')));
}

QString NoViewerMessage(const QString& path) {
    return framework::Tr(kNoViewerMessage).arg(QDir::toNativeSeparators(path));
}

QString Caption() {
    return QCoreApplication::translate("Pavrix", "Manual");
}

} // namespace manual_page

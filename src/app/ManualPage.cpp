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
constexpr char kNoViewerMessage[] =
    QT_TRANSLATE_NOOP("Pavrix", "簡易説明書を表示できませんでした。\n"
                                "HTML ファイルを表示するプログラム (ウェブブラウザーなど) "
                                "が見つかりません。\n%1");

} // namespace

QString Find() {
    const QString here = QDir::current().absoluteFilePath(QString::fromLatin1(kManualFile));
    if (QFileInfo(here).isFile()) {
        return here;
    }
    const QDir programFolder(QCoreApplication::applicationDirPath());
    for (const char* name : {kManualFile, kInstalledManual}) {
        const QString path =
            QDir::cleanPath(programFolder.absoluteFilePath(QString::fromLatin1(name)));
        if (QFileInfo(path).isFile()) {
            return path;
        }
    }
    return QString();
}

QString NoViewerMessage(const QString& path) {
    return framework::Tr(kNoViewerMessage).arg(QDir::toNativeSeparators(path));
}

QString Caption() {
    return QCoreApplication::translate("Pavrix", "Manual");
}

} // namespace manual_page

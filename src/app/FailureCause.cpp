#include "app/FailureCause.h"

#include <algorithm>
#include <cctype>
#include <string>

#include <QStringDecoder>

#include "platform/framework/Translate.h"

namespace {

struct Cause {
    /// Any of these (lower case) in the technical line.
    std::initializer_list<std::string_view> clues;
    const char* text;
};

// The system's reasons are strerror texts; the reader's are its own phrases. The first
// cause that fits wins: a folder that is missing is a missing folder even when the line
// goes on to say more.
const Cause kCauses[] = {
    {{"no such file or directory", "not a directory"},
     QT_TRANSLATE_NOOP("Pavrix", "ファイルまたはフォルダーが見つかりません。")},
    {{"permission denied", "operation not permitted", "read-only file system"},
     QT_TRANSLATE_NOOP("Pavrix",
                       "このファイルまたはフォルダーに書き込む(読み込む)権限がありません。")},
    {{"no space left on device", "disk quota exceeded", "file too large"},
     QT_TRANSLATE_NOOP("Pavrix", "ディスクの空き容量が足りません。")},
    {{"found end of file", "found an empty file", "ends early", "unexpected end"},
     QT_TRANSLATE_NOOP("Pavrix",
                       "ファイルが途中で終わっています(壊れているか、書き込みの途中です)。")},
    {{"expected 'xof '", "expected the 16-byte header", "expected the header 'xof"},
     QT_TRANSLATE_NOOP("Pavrix", "X ファイル (.x) ではありません。")},
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

} // namespace

QString FailureCause::Explain(std::string_view technical) {
    const std::string lower = Lower(technical);
    for (const Cause& cause : kCauses) {
        for (std::string_view clue : cause.clues) {
            if (lower.find(clue) != std::string::npos) {
                return framework::Tr(cause.text);
            }
        }
    }
    return QString();
}

QString FailureCause::DetailLines(std::string_view technical) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QByteArray bytes(technical.data(), static_cast<qsizetype>(technical.size()));
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        text = QString::fromLocal8Bit(bytes);
    }
    const QString cause = Explain(technical);
    return cause.isEmpty() ? text : cause + QLatin1Char('\n') + text;
}

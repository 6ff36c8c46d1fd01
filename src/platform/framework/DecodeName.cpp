#include "platform/framework/DecodeName.h"

#include <QStringDecoder>

namespace framework {

bool IsValidUtf8(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // decode() converts only once its result is taken as a string.
    const QString text = utf8.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return !utf8.hasError();
}

QString DecodeName(std::string_view bytes) {
    const QByteArrayView view(bytes.data(), qsizetype(bytes.size()));
    if (IsValidUtf8(bytes)) {
        return QString::fromUtf8(view);
    }
    QStringDecoder cp932("CP932");
    if (!cp932.isValid()) {
        return QString::fromLatin1(view);
    }
    // The decoder keeps a lead byte at the end back for a second byte that never comes:
    // that byte is shown as U+FFFD instead of being lost.
    std::size_t end = 0;
    bool loneLead = false;
    while (end < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[end]);
        const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        if (lead && end + 1 == bytes.size()) {
            loneLead = true;
            break;
        }
        end += lead ? 2 : 1;
    }
    QString text = cp932.decode(view.first(qsizetype(loneLead ? end : bytes.size())));
    // The code page's converter stands U+001A (SUB) in for a byte it cannot map.
    if (bytes.find('\x1A') == std::string_view::npos) {
        text.replace(QChar(0x1A), QChar(QChar::ReplacementCharacter));
    }
    if (loneLead) {
        text += QChar(QChar::ReplacementCharacter);
    }
    return text;
}

} // namespace framework

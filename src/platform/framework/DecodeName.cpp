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
    const QString text = cp932.decode(view);
    return text;
}

} // namespace framework

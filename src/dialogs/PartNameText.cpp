#include "dialogs/PartNameText.h"

#include <QStringEncoder>

#include "platform/framework/DecodeName.h"
#include "platform/rm/XFileLoader.h"

namespace part_name_text {

namespace {

// Code page 932 itself (with its NEC and IBM rows), not the narrower Shift_JIS table.
constexpr char kCodePage932[] = "windows-31j";

} // namespace

QString ToText(std::string_view bytes) {
    return framework::DecodeName(bytes);
}

std::string FromText(const QString& text) {
    if (text.isEmpty()) {
        return {};
    }
    for (const QChar c : text) {
        // Blanks end a name in the file; the rest would break the file's structure.
        if (c.isSpace() || c.category() == QChar::Other_Control ||
            QStringLiteral("{}[]()<>\",;").contains(c)) {
            return {};
        }
    }
    QStringEncoder cp932(kCodePage932);
    if (!cp932.isValid()) {
        return {};
    }
    const QByteArray data = cp932.encode(text);
    if (cp932.hasError()) {
        return {};
    }
    std::string bytes(data.constData(), static_cast<std::size_t>(data.size()));
    // The reader must take the whole name back as one name, and as these bytes.
    if (rm::XFileNameLength(bytes) != bytes.size()) {
        return {};
    }
    // Bytes that happen to be valid UTF-8 would be shown as other characters next time.
    if (ToText(bytes) != text) {
        return {};
    }
    return bytes;
}

} // namespace part_name_text

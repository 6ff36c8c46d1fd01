#include "platform/rm/Implementation/XFileError.h"

#include <algorithm>
#include <cstdio>

namespace rm {

namespace {
// Everything before the content is the 16-byte header, so binary offsets are reported
// as positions in the file itself.
constexpr std::size_t kHeaderSize = 16;
} // namespace

std::string FormatXFileMessage(const XFileErrorContext& context, const char* begin,
                               std::size_t offset, std::string_view text) {
    std::string message(context.fileName);
    if (context.binary) {
        message += ":byte ";
        message += std::to_string(offset + kHeaderSize);
        if (context.decompressed) {
            message += " (decompressed)";
        }
    } else {
        // Lines are counted only when something goes wrong, so reading never pays for it.
        const std::size_t line = 1 + std::size_t(std::count(begin, begin + offset, '\n'));
        message += ':';
        message += std::to_string(line);
    }
    message += ": ";
    message += text;
    return message;
}

void ThrowXFileError(const XFileErrorContext& context, const char* begin, std::size_t offset,
                     std::string_view text) {
    throw XFileError{FormatXFileMessage(context, begin, offset, text)};
}

std::string QuoteForMessage(std::string_view bytes) {
    constexpr std::size_t kMaxShown = 40;
    std::string out = "'";
    for (std::size_t i = 0; i < bytes.size() && i < kMaxShown; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    if (bytes.size() > kMaxShown) {
        out += "...";
    }
    out += '\'';
    return out;
}

} // namespace rm

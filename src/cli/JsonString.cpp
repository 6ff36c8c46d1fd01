#include "cli/JsonString.h"

#include <cstdio>

namespace cli {

namespace {

/// Length of the valid UTF-8 sequence starting at bytes[i], or 0 when there is none
/// (stray continuation byte, overlong form, surrogate, above U+10FFFF, cut short).
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[i + k]); };
    const unsigned char lead = at(0);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) {
            low = 0xA0;
        } else if (lead == 0xED) {
            high = 0x9F;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) {
            low = 0x90;
        } else if (lead == 0xF4) {
            high = 0x8F;
        }
    } else {
        return 0;
    }
    if (i + length > bytes.size()) {
        return 0;
    }
    if (at(1) < low || at(1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (at(k) < 0x80 || at(k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

void AppendEscape(std::string* out, unsigned char c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04X", unsigned(c));
    *out += buffer;
}

} // namespace

void AppendJsonString(std::string* out, std::string_view bytes) {
    *out += '"';
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            switch (c) {
            case '"':
                *out += "\\\"";
                break;
            case '\\':
                *out += "\\\\";
                break;
            case '\n':
                *out += "\\n";
                break;
            case '\r':
                *out += "\\r";
                break;
            case '\t':
                *out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    AppendEscape(out, c);
                } else {
                    *out += char(c);
                }
            }
            ++i;
            continue;
        }
        const std::size_t length = Utf8SequenceLength(bytes, i);
        if (length > 0) {
            out->append(bytes.data() + i, length);
            i += length;
        } else {
            AppendEscape(out, c);
            ++i;
        }
    }
    *out += '"';
}

} // namespace cli

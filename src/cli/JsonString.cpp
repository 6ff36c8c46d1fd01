#include "cli/JsonString.h"

#include <cstdio>

namespace cli {

namespace {

// Well-formed UTF-8 as the Unicode standard tables it: per range of lead bytes, the length
// of the sequence and the range its second byte must fall in (the narrower ones rule out
// overlong forms, surrogates and code points above U+10FFFF); later bytes are 80..BF.
struct Utf8Lead {
    unsigned char first, last;
    std::size_t length;
    unsigned char low, high;
};
constexpr Utf8Lead kUtf8Leads[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
    {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
};

/// Length of the valid UTF-8 sequence starting at bytes[i], or 0 when there is none
/// (stray continuation byte, overlong form, surrogate, above U+10FFFF, cut short).
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[i + k]); };
    for (const Utf8Lead& lead : kUtf8Leads) {
        if (at(0) < lead.first || at(0) > lead.last) {
            continue;
        }
        if (i + lead.length > bytes.size() || at(1) < lead.low || at(1) > lead.high) {
            return 0;
        }
        for (std::size_t k = 2; k < lead.length; ++k) {
            if (at(k) < 0x80 || at(k) > 0xBF) {
                return 0;
            }
        }
        return lead.length;
    }
    return 0;
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

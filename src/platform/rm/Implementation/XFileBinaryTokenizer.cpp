#include "platform/rm/Implementation/XFileBinaryTokenizer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace rm {

namespace {

// Token values of the binary .x format.
constexpr std::uint16_t kName = 1;
constexpr std::uint16_t kString = 2;
constexpr std::uint16_t kInteger = 3;
constexpr std::uint16_t kGuid = 5;
constexpr std::uint16_t kIntegerList = 6;
constexpr std::uint16_t kFloatList = 7;
constexpr std::uint16_t kOpenBrace = 10;
constexpr std::uint16_t kCloseBrace = 11;
constexpr std::uint16_t kComma = 19;
constexpr std::uint16_t kSemicolon = 20;
constexpr std::uint16_t kTemplate = 31;

// Tokens that carry no record: punctuation (10..20), `template` and the type keywords of
// template definitions (40..52).
bool IsStandAlone(std::uint16_t token) {
    return (token >= 10 && token <= 20) || token == kTemplate || (token >= 40 && token <= 52);
}

const char* StandAloneText(std::uint16_t token) {
    switch (token) {
    case 10:
        return "'{'";
    case 11:
        return "'}'";
    case 12:
        return "'('";
    case 13:
        return "')'";
    case 14:
        return "'['";
    case 15:
        return "']'";
    case 16:
        return "'<'";
    case 17:
        return "'>'";
    case 18:
        return "'.'";
    case 19:
        return "','";
    case 20:
        return "';'";
    case kTemplate:
        return "'template'";
    default:
        return "a template member type";
    }
}

std::string Concat(std::string_view a, std::string_view b, std::string_view c = {}) {
    std::string s(a);
    s += b;
    s += c;
    return s;
}

} // namespace

XFileBinaryTokenizer::XFileBinaryTokenizer(std::string_view content, int floatBytes,
                                           const XFileErrorContext& context)
    : XFileTokenizerBase(content, context), m_floatBytes(floatBytes) {}

void XFileBinaryTokenizer::SkipSeparators() {
    while (Remaining() >= 2) {
        const std::uint16_t t = TokenAt(m_p);
        if (t != kComma && t != kSemicolon) {
            return;
        }
        m_p += 2;
    }
}

XFileToken XFileBinaryTokenizer::Peek() {
    if (ListPending()) {
        return XFileToken::Number;
    }
    SkipSeparators();
    if (m_p == m_end) {
        return XFileToken::End;
    }
    if (Remaining() < 2) {
        return XFileToken::Other;
    }
    switch (TokenAt(m_p)) {
    case kName:
        return XFileToken::Name;
    case kString:
        return XFileToken::String;
    case kInteger:
    case kIntegerList:
    case kFloatList:
        return XFileToken::Number;
    case kOpenBrace:
        return XFileToken::OpenBrace;
    case kCloseBrace:
        return XFileToken::CloseBrace;
    case kGuid:
        return XFileToken::Guid;
    case kTemplate:
        return XFileToken::Template;
    default:
        return XFileToken::Other;
    }
}

std::size_t XFileBinaryTokenizer::TokenSize(std::uint16_t token) const {
    const std::size_t left = Remaining();
    std::size_t size = 0;
    switch (token) {
    case kName:
    case kString:
        size = left >= 6 ? 6 + std::size_t(DwordAt(m_p + 2)) : 6;
        break;
    case kInteger:
        size = 6;
        break;
    case kGuid:
        size = 18;
        break;
    case kIntegerList:
        size = left >= 6 ? 6 + std::size_t(DwordAt(m_p + 2)) * 4 : 6;
        break;
    case kFloatList:
        size = left >= 6 ? 6 + std::size_t(DwordAt(m_p + 2)) * std::size_t(m_floatBytes) : 6;
        break;
    default:
        if (IsStandAlone(token)) {
            return 2;
        }
        FailAt(Position(), Concat("expected a token, found unknown token ", std::to_string(token)));
    }
    if (size > left) {
        FailAt(Position(), Concat("expected ", std::to_string(size),
                                  " bytes for this token's record, found end of file"));
    }
    return size;
}

std::uint16_t XFileBinaryTokenizer::SkipToken() {
    if (Remaining() < 2) {
        FailAt(Position(), "expected a token, found end of file");
    }
    const std::uint16_t token = TokenAt(m_p);
    m_p += TokenSize(token);
    return token;
}

std::string_view XFileBinaryTokenizer::ReadName(std::string_view what) {
    return ReadSizedToken(kName, what);
}

bool XFileBinaryTokenizer::ReadObjectName(std::string_view* name) {
    if (ListPending() || Remaining() < 2 || TokenAt(m_p) != kName) {
        return false;
    }
    *name = ReadName("a name");
    return true;
}

std::string_view XFileBinaryTokenizer::ReadString(std::string_view what) {
    return ReadSizedToken(kString, what);
}

std::string_view XFileBinaryTokenizer::ReadSizedToken(std::uint16_t token, std::string_view what) {
    if (!ListPending()) {
        SkipSeparators();
    }
    if (ListPending() || Remaining() < 2 || TokenAt(m_p) != token) {
        Fail(what);
    }
    const std::size_t size = TokenSize(token);
    m_last = m_p;
    const std::string_view text(m_p + 6, size - 6);
    m_p += size;
    return text;
}

std::uint32_t XFileBinaryTokenizer::ReadUIntFromToken(std::string_view what) {
    if (m_floatsLeft > 0) {
        Fail(what);
    }
    for (;;) {
        SkipSeparators();
        if (Remaining() < 2) {
            Fail(what);
        }
        const std::uint16_t token = TokenAt(m_p);
        if (token == kInteger) {
            TokenSize(token);
            m_last = m_p + 2;
            const std::uint32_t v = DwordAt(m_p + 2);
            m_p += 6;
            return v;
        }
        if (token != kIntegerList) {
            Fail(what);
        }
        const std::size_t size = TokenSize(token);
        m_intsLeft = std::uint32_t((size - 6) / 4);
        m_p += 6;
        if (m_intsLeft > 0) {
            return ReadUInt(what);
        }
    }
}

float XFileBinaryTokenizer::ReadFloatFromToken(std::string_view what) {
    if (m_floatsLeft > 0) {
        // 8-byte floats: narrow explicitly, since converting an out-of-range double to
        // float is undefined.
        --m_floatsLeft;
        m_last = m_p;
        double d;
        std::memcpy(&d, m_p, 8);
        m_p += 8;
        if (std::isnan(d)) {
            return std::numeric_limits<float>::quiet_NaN();
        }
        if (std::fabs(d) > double(std::numeric_limits<float>::max())) {
            if (std::isinf(d)) {
                return d > 0 ? std::numeric_limits<float>::infinity()
                             : -std::numeric_limits<float>::infinity();
            }
            FailAt(LastValuePosition(),
                   Concat("expected ", what, " within the range of a 32-bit float"));
        }
        return float(d);
    }
    if (m_intsLeft > 0) {
        Fail(what);
    }
    for (;;) {
        SkipSeparators();
        if (Remaining() < 2 || TokenAt(m_p) != kFloatList) {
            Fail(what);
        }
        const std::size_t size = TokenSize(kFloatList);
        m_floatsLeft = std::uint32_t((size - 6) / std::size_t(m_floatBytes));
        m_p += 6;
        if (m_floatsLeft > 0) {
            return ReadFloat(what);
        }
    }
}

void XFileBinaryTokenizer::ExpectOpenBrace(std::string_view expected) {
    ExpectToken(kOpenBrace, expected);
}

void XFileBinaryTokenizer::ExpectCloseBrace(std::string_view expected) {
    ExpectToken(kCloseBrace, expected);
}

void XFileBinaryTokenizer::ExpectToken(std::uint16_t token, std::string_view expected) {
    if (!ListPending()) {
        SkipSeparators();
    }
    if (ListPending() || Remaining() < 2 || TokenAt(m_p) != token) {
        Fail(expected);
    }
    m_p += 2;
}

void XFileBinaryTokenizer::SkipOptionalGuid() {
    if (!ListPending() && Remaining() >= 2 && TokenAt(m_p) == kGuid) {
        SkipToken();
    }
}

std::string_view XFileBinaryTokenizer::ReadReference() {
    const char* open = m_p;
    ExpectOpenBrace("'{' to open a reference");
    std::string_view name;
    if (Remaining() >= 2 && TokenAt(m_p) == kName) {
        name = ReadName("a name in the reference");
    }
    SkipOptionalGuid();
    ExpectCloseBrace("'}' to close the reference");
    m_last = open;
    return name;
}

void XFileBinaryTokenizer::SkipObjectBody() {
    // Called among an object's values, the rest of the list being read goes first.
    m_p += 4 * std::size_t(m_intsLeft) + std::size_t(m_floatBytes) * m_floatsLeft;
    m_intsLeft = 0;
    m_floatsLeft = 0;
    const std::size_t open = Position() >= 2 ? Position() - 2 : 0;
    int depth = 1;
    while (depth > 0) {
        if (Remaining() < 2) {
            FailAt(open, "expected '}' to close the object opened here, found end of file");
        }
        const std::uint16_t token = SkipToken();
        if (token == kOpenBrace) {
            ++depth;
        } else if (token == kCloseBrace) {
            --depth;
        }
    }
}

std::string_view XFileBinaryTokenizer::SkipTemplate() {
    SkipToken(); // `template`
    std::string_view name;
    if (Remaining() >= 2 && TokenAt(m_p) == kName) {
        name = ReadName("the template's name");
    }
    for (;;) {
        if (Remaining() < 2) {
            FailAt(Position(), "expected '{' to open the template, found end of file");
        }
        if (SkipToken() == kOpenBrace) {
            break;
        }
    }
    SkipObjectBody();
    return name;
}

std::string XFileBinaryTokenizer::ObjectText(std::size_t begin, std::size_t end) const {
    static constexpr const char* kTypes[] = {"WORD",    "DWORD",   "FLOAT",  "DOUBLE", "CHAR",
                                             "UCHAR",   "SWORD",   "SDWORD", "VOID",   "STRING",
                                             "UNICODE", "CSTRING", "array"};
    std::string text;
    const char* p = m_begin + begin;
    const char* const last = m_begin + end;
    const auto dword = [&](std::size_t at) { return DwordAt(p + at); };
    // Values of a list: ',' between them, ';' after the last.
    const auto list = [&](std::uint32_t count, auto append) {
        for (std::uint32_t i = 0; i < count; ++i) {
            append(i);
            text += i + 1 < count ? ',' : ';';
        }
    };
    bool wordBefore = false; // a name or type keyword just written: a blank goes between
    int depth = 0;
    while (last - p >= 2) {
        const std::uint16_t token = TokenAt(p);
        if (token == kCloseBrace) {
            if (!text.empty() && text.back() != '\n') {
                text += '\n';
            }
            depth = std::max(depth - 1, 0);
        }
        if ((text.empty() || text.back() == '\n') && token != kComma && token != kSemicolon) {
            text.append(std::size_t(depth), ' ');
        }
        const std::size_t left = std::size_t(last - p);
        const std::uint32_t count = left >= 6 ? dword(2) : 0;
        bool word = false;
        std::size_t size = 2;
        switch (token) {
        case kName:
            size = 6 + std::size_t(count);
            if (wordBefore) {
                text += ' ';
            }
            text.append(p + 6, count);
            word = true;
            break;
        case kString:
            size = 6 + std::size_t(count);
            text += '"';
            text.append(p + 6, count);
            text += '"';
            break;
        case kInteger:
            size = 6;
            text += std::to_string(count);
            break;
        case kGuid: {
            size = 18;
            char guid[40];
            std::uint16_t data2;
            std::uint16_t data3;
            std::memcpy(&data2, p + 6, 2);
            std::memcpy(&data3, p + 8, 2);
            const auto* b = reinterpret_cast<const unsigned char*>(p + 10);
            std::snprintf(guid, sizeof guid, "<%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X>",
                          dword(2), data2, data3, b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]);
            text += guid;
            break;
        }
        case kIntegerList:
            size = 6 + std::size_t(count) * 4;
            list(count, [&](std::uint32_t i) { text += std::to_string(dword(6 + 4 * i)); });
            break;
        case kFloatList:
            size = 6 + std::size_t(count) * std::size_t(m_floatBytes);
            list(count, [&](std::uint32_t i) {
                double value;
                if (m_floatBytes == 8) {
                    std::memcpy(&value, p + 6 + 8 * std::size_t(i), 8);
                } else {
                    float single;
                    std::memcpy(&single, p + 6 + 4 * std::size_t(i), 4);
                    value = single;
                }
                char number[64];
                std::snprintf(number, sizeof number, "%f", value);
                text += number;
            });
            break;
        case kOpenBrace:
            text += " {\n";
            ++depth;
            break;
        case kCloseBrace:
            text += "}\n";
            break;
        case kComma:
            text += ',';
            break;
        case kSemicolon:
            text += ";\n";
            break;
        case kTemplate:
            text += "template";
            word = true;
            break;
        default:
            if (token >= 40 && token <= 52) {
                if (wordBefore) {
                    text += ' ';
                }
                text += kTypes[token - 40];
                word = true;
            } else if (token >= 12 && token <= 18) {
                text += StandAloneText(token)[1];
            }
            break;
        }
        wordBefore = word;
        p += std::min(size, left);
    }
    if (text.empty() || text.back() != '\n') {
        text += '\n';
    }
    return text;
}

std::string XFileBinaryTokenizer::Describe() const {
    if (m_intsLeft > 0) {
        return "the integer " + std::to_string(DwordAt(m_p));
    }
    if (m_floatsLeft > 0) {
        return "a float";
    }
    if (m_p == m_end) {
        return "end of file";
    }
    if (Remaining() < 2) {
        return "a stray byte";
    }
    const std::uint16_t token = TokenAt(m_p);
    const bool hasCount = Remaining() >= 6;
    const std::uint32_t count = hasCount ? DwordAt(m_p + 2) : 0;
    switch (token) {
    case kName:
        if (hasCount && count <= Remaining() - 6) {
            return "the name " + QuoteForMessage({m_p + 6, count});
        }
        return "a name";
    case kString:
        return "a string";
    case kInteger:
        return hasCount ? "the integer " + std::to_string(count) : "an integer";
    case kGuid:
        return "a GUID";
    case kIntegerList:
        return "a list of " + std::to_string(count) + " integers";
    case kFloatList:
        return "a list of " + std::to_string(count) + " floats";
    default:
        if (IsStandAlone(token)) {
            return StandAloneText(token);
        }
        return "unknown token " + std::to_string(token);
    }
}

void XFileBinaryTokenizer::Fail(std::string_view expected) const {
    FailAt(Position(), Concat(Concat("expected ", expected, ", found "), Describe()));
}

} // namespace rm

#include "platform/rm/Implementation/XFileTextTokenizer.h"

#include <array>
#include <cctype>
#include <cstring>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rm {

namespace {

// Bytes that end a name. Everything else, including bytes of multi-byte encodings, may be
// part of one: real files carry names like "Anim-Epileptisch-Torso" or Shift-JIS text.
bool IsDelimiter(unsigned char c) {
    switch (c) {
    case '{':
    case '}':
    case '<':
    case '>':
    case ';':
    case ',':
    case '"':
    case '(':
    case ')':
    case '[':
    case ']':
        return true;
    default:
        return c <= ' ';
    }
}

// Whether [p, end) is ASCII or whole UTF-8 characters.
bool IsUtf8(const char* p, const char* end) {
    while (p != end) {
        const auto c = static_cast<unsigned char>(*p++);
        int more = 0;
        if (c < 0x80) {
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
        } else {
            return false;
        }
        for (; more > 0; --more, ++p) {
            if (p == end || (static_cast<unsigned char>(*p) & 0xC0) != 0x80) {
                return false;
            }
        }
    }
    return true;
}

bool IsShiftJisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool IsShiftJisTrail(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// Where a lead byte and the delimiter after it ('[', ']', '{' or '}') are one character:
// the name goes on after them, or they end the name where a name's end may stand (before
// an object's '{', a reference's '}' or a GUID, blanks allowed). Anywhere else the lead byte
// is a character of its own (a Latin-1 "é" before its object's brace, "Bodyé{" followed by
// the object's first member) and the delimiter is structure. The rule looks only at the
// bytes after the pair, so the reader and the skipping of objects draw the same line.
bool PairsWithDelimiter(const char* afterPair, const char* end) {
    if (afterPair == end) {
        return true;
    }
    auto c = static_cast<unsigned char>(*afterPair);
    if (!IsDelimiter(c)) {
        return true;
    }
    while (c <= ' ' && ++afterPair != end) {
        c = static_cast<unsigned char>(*afterPair);
    }
    return afterPair == end || c == '{' || c == '}' || c == '<';
}

const char* NameEnd(const char* p, const char* end) {
    const char* plain = p;
    while (plain != end && !IsDelimiter(static_cast<unsigned char>(*plain))) {
        ++plain;
    }
    if (IsUtf8(p, plain)) {
        return plain;
    }
    while (p != end) {
        const auto c = static_cast<unsigned char>(*p);
        if (IsShiftJisLead(c) && p + 1 != end) {
            const auto trail = static_cast<unsigned char>(p[1]);
            if (IsShiftJisTrail(trail) && (!IsDelimiter(trail) || PairsWithDelimiter(p + 2, end))) {
                p += 2;
                continue;
            }
        }
        if (IsDelimiter(c)) {
            break;
        }
        ++p;
    }
    return p;
}

bool IsValueStart(unsigned char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
}

bool IsNameStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

std::string Phrase(std::string_view a, std::string_view b) {
    std::string s(a);
    s += b;
    return s;
}

} // namespace

XFileTextTokenizer::XFileTextTokenizer(std::string_view content, const XFileErrorContext& context)
    : XFileTokenizerBase(content, context) {}

XFileToken XFileTextTokenizer::Peek() {
    SkipSpaceAndSeparators();
    if (m_p == m_end) {
        return XFileToken::End;
    }
    const auto c = static_cast<unsigned char>(*m_p);
    switch (c) {
    case '{':
        return XFileToken::OpenBrace;
    case '}':
        return XFileToken::CloseBrace;
    case '"':
        return XFileToken::String;
    case '<':
        return XFileToken::Guid;
    default:
        break;
    }
    if (IsValueStart(c)) {
        return XFileToken::Number;
    }
    if (IsNameStart(c)) {
        constexpr std::string_view kTemplate = "template";
        if (std::size_t(m_end - m_p) >= kTemplate.size() &&
            std::memcmp(m_p, kTemplate.data(), kTemplate.size()) == 0 &&
            (m_p + kTemplate.size() == m_end ||
             IsDelimiter(static_cast<unsigned char>(m_p[kTemplate.size()])))) {
            return XFileToken::Template;
        }
        return XFileToken::Name;
    }
    return XFileToken::Other;
}

std::string_view XFileTextTokenizer::ReadName(std::string_view what) {
    SkipSpaceAndSeparators();
    const char* start = m_p;
    m_p = NameEnd(m_p, m_end);
    if (m_p == start) {
        Fail(what);
    }
    m_last = start;
    return {start, std::size_t(m_p - start)};
}

std::size_t XFileTextTokenizer::NameLength(std::string_view bytes) {
    return static_cast<std::size_t>(NameEnd(bytes.data(), bytes.data() + bytes.size()) -
                                    bytes.data());
}

bool XFileTextTokenizer::ReadObjectName(std::string_view* name) {
    SkipSpace();
    if (m_p == m_end || IsDelimiter(static_cast<unsigned char>(*m_p))) {
        return false;
    }
    *name = ReadName("a name");
    return true;
}

std::string_view XFileTextTokenizer::ReadString(std::string_view what) {
    SkipSpaceAndSeparators();
    if (m_p == m_end || *m_p != '"') {
        Fail(what);
    }
    m_last = m_p;
    const char* start = m_p + 1;
    const auto* close =
        static_cast<const char*>(std::memchr(start, '"', std::size_t(m_end - start)));
    if (!close) {
        FailAt(LastValuePosition(),
               Phrase(Phrase("expected the closing '\"' of ", what), ", found end of file"));
    }
    m_p = close + 1;
    AfterValue(what, false);
    return {start, std::size_t(close - start)};
}

void XFileTextTokenizer::ExpectOpenBrace(std::string_view expected) {
    SkipSpaceAndSeparators();
    if (m_p == m_end || *m_p != '{') {
        Fail(expected);
    }
    ++m_p;
}

void XFileTextTokenizer::ExpectCloseBrace(std::string_view expected) {
    SkipSpaceAndSeparators();
    if (m_p == m_end || *m_p != '}') {
        Fail(expected);
    }
    ++m_p;
}

void XFileTextTokenizer::SkipOptionalGuid() {
    const char* start = m_p;
    SkipSpace();
    if (m_p == m_end || *m_p != '<') {
        m_p = start; // so that positions reported later point where they should
        return;
    }
    // Only hex digits and dashes: a stray '<' must not swallow the braces after it.
    const char* p = m_p + 1;
    while (p != m_end && (std::isxdigit(static_cast<unsigned char>(*p)) || *p == '-')) {
        ++p;
    }
    if (p == m_end || *p != '>') {
        m_p = p;
        SkipSpace();
        std::string text = "expected '>' to close the GUID, found ";
        text += Describe(m_p);
        FailAt(Position(), text);
    }
    m_p = p + 1;
}

std::string_view XFileTextTokenizer::ReadReference() {
    SkipSpaceAndSeparators();
    const char* open = m_p;
    if (m_p == m_end || *m_p != '{') {
        Fail("'{' to open a reference");
    }
    ++m_p;
    SkipSpace();
    std::string_view name;
    if (m_p != m_end && *m_p != '<' && *m_p != '}') {
        name = ReadName("a name in the reference");
    }
    SkipOptionalGuid();
    SkipSpace();
    if (m_p == m_end || *m_p != '}') {
        Fail("'}' to close the reference");
    }
    ++m_p;
    m_last = open;
    return name;
}

void XFileTextTokenizer::SkipObjectBody() {
    // Bytes that matter while skipping; everything else is stepped over in a tight loop,
    // since skipped objects (skin weights, vertex declarations) can be most of a file.
    // A byte above 0x7F may start a Shift-JIS character whose second byte is a brace: the
    // name around it is measured as ReadName measures it.
    static constexpr auto kSpecial = [] {
        std::array<bool, 256> table{};
        table['{'] = table['}'] = table['"'] = table['#'] = table['/'] = true;
        for (std::size_t c = 0x80; c < table.size(); ++c) {
            table[c] = true;
        }
        return table;
    }();
    const char* open = m_p;
    int depth = 1;
    const char* p = m_p;
    while (p != m_end) {
#if defined(__SSE2__)
        // Sixteen bytes at a time while none of them matters.
        if (m_end - p >= 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i hits =
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('{')),
                                          _mm_cmpeq_epi8(chunk, _mm_set1_epi8('}'))),
                             _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('"')),
                                                       _mm_cmpeq_epi8(chunk, _mm_set1_epi8('#'))),
                                          _mm_cmpeq_epi8(chunk, _mm_set1_epi8('/'))));
            const int mask = _mm_movemask_epi8(hits) | _mm_movemask_epi8(chunk);
            if (mask == 0) {
                p += 16;
                continue;
            }
            p += __builtin_ctz(unsigned(mask));
        }
#endif
        if (!kSpecial[static_cast<unsigned char>(*p)]) {
            ++p;
            continue;
        }
        const char c = *p;
        if (static_cast<unsigned char>(c) >= 0x80) {
            const char* start = p;
            while (start != open && !IsDelimiter(static_cast<unsigned char>(start[-1]))) {
                --start;
            }
            p = NameEnd(start, m_end);
            continue;
        }
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0) {
                m_p = p + 1;
                return;
            }
        } else if (c == '"') {
            const auto* close =
                static_cast<const char*>(std::memchr(p + 1, '"', std::size_t(m_end - p - 1)));
            if (!close) {
                FailAt(std::size_t(p - m_begin),
                       "expected the closing '\"' of a string, found end of file");
            }
            p = close;
        } else if ((c == '#' || (p + 1 != m_end && p[1] == '/')) &&
                   (p == m_begin || IsDelimiter(static_cast<unsigned char>(p[-1])))) {
            // A comment only where a token may start; inside a name '#' is a name byte.
            const auto* eol =
                static_cast<const char*>(std::memchr(p, '\n', std::size_t(m_end - p)));
            p = eol ? eol : m_end;
            continue;
        }
        ++p;
    }
    const std::size_t openBrace = std::size_t(open - m_begin) - (open != m_begin ? 1 : 0);
    FailAt(openBrace, "expected '}' to close the object opened here, found end of file");
}

std::string_view XFileTextTokenizer::SkipTemplate() {
    ReadName("template");
    const std::string_view name = ReadName("the template's name");
    SkipOptionalGuid();
    ExpectOpenBrace("'{' to open the template");
    SkipObjectBody();
    return name;
}

std::string XFileTextTokenizer::ObjectText(std::size_t begin, std::size_t end) const {
    const char* first = m_begin + begin;
    const char* last = m_begin + end;
    // The first line's indentation, when only blanks stand before it on its line.
    std::size_t indent = 0;
    for (const char* p = first; p != m_begin && (p[-1] == ' ' || p[-1] == '\t'); --p) {
        ++indent;
    }
    if (first - indent != m_begin && first[-std::ptrdiff_t(indent) - 1] != '\n' &&
        first[-std::ptrdiff_t(indent) - 1] != '\r') {
        indent = 0;
    }
    std::string text;
    text.reserve(std::size_t(last - first) + 1);
    bool lineStart = false;
    std::size_t stripped = 0;
    for (const char* p = first; p != last; ++p) {
        char c = *p;
        if (c == '\r') {
            if (p + 1 != last && p[1] == '\n') {
                continue;
            }
            c = '\n';
        }
        if (lineStart && stripped < indent && (c == ' ' || c == '\t')) {
            ++stripped;
            continue;
        }
        lineStart = c == '\n';
        stripped = 0;
        text += c;
    }
    if (text.empty() || text.back() != '\n') {
        text += '\n';
    }
    return text;
}

void XFileTextTokenizer::SkipLine() {
    const auto* eol = static_cast<const char*>(std::memchr(m_p, '\n', std::size_t(m_end - m_p)));
    m_p = eol ? eol + 1 : m_end;
}

void XFileTextTokenizer::CheckAfterValue(std::string_view what, bool mayPrecedeReference) {
    if (m_p != m_end) {
        auto c = static_cast<unsigned char>(*m_p);
        if (c == '{' && mayPrecedeReference) {
            return;
        }
        if (c <= ' ') {
            // Whitespace ends the value; what follows may be the next value with its
            // separator left out, the next object, or the end of this one. A comment must
            // not touch the value: "1.0#" is a malformed number, as skipping sees it too.
            SkipSpace();
            if (m_p != m_end) {
                c = static_cast<unsigned char>(*m_p);
                if (c == ';' || c == ',' || c == '}' || IsValueStart(c) || IsNameStart(c) ||
                    (c == '{' && mayPrecedeReference)) {
                    return;
                }
            }
        }
    }
    std::string text = "expected ';' after ";
    text += what;
    text += ", found ";
    text += Describe(m_p);
    FailAt(Position(), text);
}

std::string XFileTextTokenizer::Describe(const char* p) const {
    if (p == m_end) {
        return "end of file";
    }
    if (*p == '"') {
        return "a string";
    }
    const char* q = p;
    while (q != m_end && !IsDelimiter(static_cast<unsigned char>(*q))) {
        ++q;
    }
    if (q == p) {
        q = p + 1;
    }
    return QuoteForMessage({p, std::size_t(q - p)});
}

void XFileTextTokenizer::Fail(std::string_view expected) const {
    // Point at the offending token, not at the whitespace before it.
    XFileTextTokenizer probe = *this;
    probe.SkipSpace();
    std::string text = "expected ";
    text += expected;
    text += ", found ";
    text += probe.Describe(probe.m_p);
    probe.FailAt(probe.Position(), text);
}

void XFileTextTokenizer::FailTooLarge(std::string_view what) const {
    std::string text = "expected ";
    text += what;
    text += " below 4294967296, found ";
    text += Describe(m_last);
    FailAt(LastValuePosition(), text);
}

void XFileTextTokenizer::FailFloat(std::string_view what, bool outOfRange) const {
    if (!outOfRange) {
        Fail(what);
    }
    std::string text = "expected ";
    text += what;
    text += " within the range of a 32-bit float, found ";
    text += Describe(m_last);
    FailAt(LastValuePosition(), text);
}

} // namespace rm

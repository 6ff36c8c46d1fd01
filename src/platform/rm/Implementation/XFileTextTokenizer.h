#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/rm/Implementation/XFileError.h"
#include "platform/rm/Implementation/XFileToken.h"
#include "platform/rm/Implementation/XFileTokenizerBase.h"

namespace rm {

/// Reads the text form of a .x file (the content after the 16-byte header) in place: names
/// and strings are views into the content, numbers are parsed where they stand. Whitespace,
/// `//` and `#` comments (where a token may start: in "Bone#1" the '#' is part of the name)
/// and the separators ';' and ',' between values are skipped, so
/// missing or doubled separators are accepted; a value must still be followed by a
/// separator, whitespace or '}', so "24{" is reported where it stands.
///
/// Every failure throws XFileError with "<file>:<line>: expected ..., found ...". `what`
/// arguments name the thing being read for that message ("the vertex count").
class XFileTextTokenizer : public XFileTokenizerBase {
public:
    XFileTextTokenizer(std::string_view content, const XFileErrorContext& context);

    /// The kind of the next token (separators skipped).
    XFileToken Peek();
    /// A name: any run of bytes up to whitespace or one of {}<>;,"()[] (see NameLength).
    std::string_view ReadName(std::string_view what);
    /// How many bytes at the start of `bytes` a name takes: up to the first whitespace or
    /// one of {}<>;,"()[]. Names written in Shift-JIS (code page 932) are the exception:
    /// the second byte of one of their characters may be '[', ']', '{' or '}' ("マ" is
    /// 0x83 0x7D). When the bytes up to the first delimiter are not UTF-8, the name is
    /// read as Shift-JIS, each lead byte taking the byte after it along; a lead byte takes
    /// a delimiter along only where the name goes on after the pair or the pair ends it
    /// before '{', '}' or '<' (blanks between allowed), so "Bodyé{" followed by the object's
    /// first member is the Latin-1 name "Bodyé" and its brace. SkipObjectBody measures names
    /// the same way, so reading an object and stepping over it find the same closing brace.
    static std::size_t NameLength(std::string_view bytes);
    /// The optional name between a keyword and its '{'; false when there is none.
    bool ReadObjectName(std::string_view* name);
    /// The bytes between double quotes, exactly as written (no escapes).
    std::string_view ReadString(std::string_view what);
    /// A decimal 32-bit unsigned value. With mayPrecedeReference, a '{' may follow it
    /// directly (the last value of an object before a {reference}).
    [[gnu::always_inline]] std::uint32_t ReadUInt(std::string_view what,
                                                  bool mayPrecedeReference = false) {
        SkipSpaceAndSeparators();
        m_last = m_p;
        const char* p = m_p;
        if (p != m_end && *p == '+') {
            ++p;
        }
        if (p == m_end || unsigned(*p - '0') > 9) {
            Fail(what);
        }
        // Nine digits always fit in 32 bits; only a tenth needs the overflow check.
        std::uint64_t value = unsigned(*p - '0');
        const char* fast = p + std::min<std::ptrdiff_t>(9, m_end - p);
        ++p;
        while (p != fast && unsigned(*p - '0') <= 9) {
            value = value * 10 + unsigned(*p - '0');
            ++p;
        }
        while (p != m_end && unsigned(*p - '0') <= 9) {
            value = value * 10 + unsigned(*p - '0');
            if (value > 0xFFFFFFFFu) {
                FailTooLarge(what);
            }
            ++p;
        }
        m_p = p;
        AfterValue(what, mayPrecedeReference);
        return std::uint32_t(value);
    }
    /// A floating-point value (decimal, optional sign and exponent).
    [[gnu::always_inline]] float ReadFloat(std::string_view what) {
        SkipSpaceAndSeparators();
        m_last = m_p;
        const char* p = m_p;
        if (p != m_end && *p == '+' && p + 1 != m_end && p[1] != '-') {
            ++p;
        }
        float value = 0;
        const char* end = ParseShortDecimal(p, &value);
        if (!end) {
            const auto result = std::from_chars(p, m_end, value);
            if (result.ec != std::errc()) {
                FailFloat(what, result.ec == std::errc::result_out_of_range);
            }
            end = result.ptr;
        }
        m_p = end;
        AfterValue(what, false);
        return value;
    }
    /// Consumes '{' or fails with "expected <expected>, found ...".
    void ExpectOpenBrace(std::string_view expected);
    void ExpectCloseBrace(std::string_view expected);
    /// Skips a <GUID> when one comes next.
    void SkipOptionalGuid();
    /// At '{': reads "{ name }", "{ name <guid> }" or "{ <guid> }" and returns the name
    /// (empty for a GUID alone). LastValuePosition() then points at the '{'.
    std::string_view ReadReference();
    /// After an object's '{', or anywhere among its values: skips to just past its
    /// matching '}'.
    void SkipObjectBody();
    /// At `template`: skips the whole template definition; returns the template's name.
    std::string_view SkipTemplate();
    /// The content from `begin` to `end` (offsets) as text to write back: line ends made
    /// '\n', and following lines without the indentation the first one had.
    std::string ObjectText(std::size_t begin, std::size_t end) const;

    /// An upper bound on how many values the rest of the content can hold; counts are
    /// checked against it before anything is allocated for them.
    std::size_t MaxValuesLeft() const { return (std::size_t(m_end - m_p) + 1) / 2; }

    /// Throws "expected <expected>, found <what comes next>".
    [[noreturn]] void Fail(std::string_view expected) const;

private:
    void SkipSpace() {
        while (m_p != m_end) {
            const auto c = static_cast<unsigned char>(*m_p);
            if (c <= ' ') {
                ++m_p;
            } else if (c == '#' || (c == '/' && m_p + 1 != m_end && m_p[1] == '/')) {
                SkipLine();
            } else {
                return;
            }
        }
    }
    /// What a byte is to SkipSpaceAndSeparators: stepped over, possibly a comment, or the
    /// start of a token.
    enum : std::uint8_t { kTokenByte, kSkipByte, kCommentByte };
    static constexpr auto kByteKinds = [] {
        std::array<std::uint8_t, 256> kinds{};
        for (int c = 0; c <= ' '; ++c) {
            kinds[std::size_t(c)] = kSkipByte;
        }
        kinds[';'] = kinds[','] = kSkipByte;
        kinds['#'] = kinds['/'] = kCommentByte;
        return kinds;
    }();
    void SkipSpaceAndSeparators() {
        while (m_p != m_end) {
            const std::uint8_t kind = kByteKinds[static_cast<unsigned char>(*m_p)];
            if (kind == kSkipByte) {
                ++m_p;
            } else if (kind == kCommentByte &&
                       (*m_p == '#' || (m_p + 1 != m_end && m_p[1] == '/'))) {
                SkipLine();
            } else {
                return;
            }
        }
    }
    void AfterValue(std::string_view what, bool mayPrecedeReference) {
        if (m_p != m_end && (*m_p == ';' || *m_p == ',' || *m_p == '}')) {
            return;
        }
        CheckAfterValue(what, mayPrecedeReference);
    }
    /// The common case of a float in a .x file, "-0.391876" or "29.753700": at most 19
    /// digits, no exponent. Digits up to 2^53 and a power of ten up to 1e22 are exact
    /// doubles, so one division gives the correctly rounded double; rounding that to float
    /// gives the correctly rounded float (the one from_chars gives) unless the double lies
    /// exactly halfway between two floats, which is left to from_chars with the rest
    /// (exponents, long mantissas, values below the normal float range). Returns the end
    /// of the number, or null when it is not handled here.
    const char* ParseShortDecimal(const char* p, float* value) const {
        const bool negative = p != m_end && *p == '-';
        if (negative) {
            ++p;
        }
        std::uint64_t mantissa = 0;
        int digits = 0;
        int decimals = 0;
        // "d.dddddd" read eight bytes at a time: up to seven digits before the point and
        // seven after it, where sixteen bytes can be read.
        if (m_end - p >= 16) {
            std::uint64_t head;
            std::memcpy(&head, p, 8);
            const int whole = DigitRun(head);
            if (whole > 0 && whole < 8 && (p[whole] == '.' || unsigned(p[whole] | 0x20) != 'e')) {
                mantissa = EightDigits(head, whole);
                p += whole;
                if (*p == '.') {
                    std::uint64_t tail;
                    std::memcpy(&tail, p + 1, 8);
                    decimals = DigitRun(tail);
                    if (decimals < 8 && unsigned(p[1 + decimals] | 0x20) != 'e') {
                        static constexpr std::uint32_t kScale[] = {
                            1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
                        mantissa = mantissa * kScale[decimals] +
                                   (decimals ? EightDigits(tail, decimals) : 0);
                        p += 1 + decimals;
                        return FinishShortDecimal(p, mantissa, decimals, negative, value);
                    }
                    p -= whole;
                    mantissa = 0;
                    decimals = 0;
                } else {
                    return FinishShortDecimal(p, mantissa, 0, negative, value);
                }
            }
        }
        // Takes a run of digits into the mantissa; false past 19 digits.
        const auto takeDigits = [&] {
            for (; p != m_end && unsigned(*p - '0') <= 9; ++p, ++digits) {
                if (digits == 19) {
                    return false;
                }
                mantissa = mantissa * 10 + unsigned(*p - '0');
            }
            return true;
        };
        if (!takeDigits()) {
            return nullptr;
        }
        if (p != m_end && *p == '.') {
            ++p;
            const int integerDigits = digits;
            if (!takeDigits()) {
                return nullptr;
            }
            decimals = digits - integerDigits;
        }
        if (digits == 0 || (p != m_end && (*p == 'e' || *p == 'E')) ||
            mantissa > (std::uint64_t(1) << 53) || decimals > 22) {
            return nullptr;
        }
        return FinishShortDecimal(p, mantissa, decimals, negative, value);
    }
    /// How many of the eight bytes in `bytes` (the first in the lowest byte) are decimal
    /// digits before the first byte that is not.
    static int DigitRun(std::uint64_t bytes) {
        // A byte's top bit is set where it is below '0' or above '9'; borrows only ever run
        // from a byte that is not a digit, so the lowest flagged byte is the first one.
        const std::uint64_t flagged =
            ((bytes - 0x3030303030303030u) | (bytes + 0x4646464646464646u)) & 0x8080808080808080u;
        return flagged ? std::countr_zero(flagged) >> 3 : 8;
    }
    /// The value of the first `count` (1 to 8) digits of `bytes`.
    static std::uint32_t EightDigits(std::uint64_t bytes, int count) {
        // Leading '0's fill the bytes in front, then the eight digits are combined in pairs,
        // fours and eights.
        const int shift = 8 * (8 - count);
        if (shift) {
            bytes = (bytes << shift) | (0x3030303030303030u >> (64 - shift));
        }
        bytes -= 0x3030303030303030u;
        bytes = bytes * 10 + (bytes >> 8);
        bytes = (((bytes & 0x000000FF000000FFu) * 0x000F424000000064u) +
                 (((bytes >> 16) & 0x000000FF000000FFu) * 0x0000271000000001u)) >>
                32;
        return std::uint32_t(bytes);
    }
    /// mantissa / 10^decimals correctly rounded to float (see ParseShortDecimal); null
    /// where from_chars must decide.
    static const char* FinishShortDecimal(const char* p, std::uint64_t mantissa, int decimals,
                                          bool negative, float* value) {
        static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        static constexpr double kInversePowers[] = {
            1e0,   1e-1,  1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7,  1e-8,  1e-9,  1e-10, 1e-11,
            1e-12, 1e-13, 1e-14, 1e-15, 1e-16, 1e-17, 1e-18, 1e-19, 1e-20, 1e-21, 1e-22};
        constexpr std::uint64_t kBelowFloat = (std::uint64_t(1) << 29) - 1;
        constexpr std::uint64_t kHalfway = std::uint64_t(1) << 28;
        // A multiplication first, a division only near a rounding boundary: the product is
        // within two units in the last place of the double of the exact value, so unless
        // its bits below float precision lie within a few units of a float halfway point,
        // both round to the same float.
        const double product = double(mantissa) * kInversePowers[decimals];
        if (((std::bit_cast<std::uint64_t>(product) & kBelowFloat) - (kHalfway - 8)) > 16 &&
            (mantissa == 0 || product >= 1.2e-38)) {
            const auto magnitude = float(product);
            *value = negative ? -magnitude : magnitude;
            return p;
        }
        const double exact = double(mantissa) / kPowers[decimals];
        if ((std::bit_cast<std::uint64_t>(exact) & kBelowFloat) == (std::uint64_t(1) << 28) ||
            (mantissa != 0 && exact < 1.1754943508222875e-38)) {
            return nullptr;
        }
        const auto magnitude = float(exact);
        *value = negative ? -magnitude : magnitude;
        return p;
    }
    void SkipLine();
    void CheckAfterValue(std::string_view what, bool mayPrecedeReference);
    std::string Describe(const char* p) const;
    [[noreturn]] void FailTooLarge(std::string_view what) const;
    [[noreturn]] void FailFloat(std::string_view what, bool outOfRange) const;
};

} // namespace rm

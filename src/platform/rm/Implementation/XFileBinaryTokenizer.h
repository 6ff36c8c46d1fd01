#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/rm/Implementation/XFileError.h"
#include "platform/rm/Implementation/XFileToken.h"
#include "platform/rm/Implementation/XFileTokenizerBase.h"

namespace rm {

/// Reads the binary form of a .x file (the content after the 16-byte header): little-endian
/// 16-bit tokens, some followed by a record. Values come from integer and float lists; a
/// list may hold the values of several members in a row, so values are handed out one at a
/// time across list boundaries. Floats are 4 or 8 bytes as the header says; 8-byte values
/// are narrowed to float. Same interface as XFileTextTokenizer, so one parser reads both.
///
/// Every failure throws XFileError with "<file>:byte <offset>: expected ..., found ...".
class XFileBinaryTokenizer : public XFileTokenizerBase {
public:
    XFileBinaryTokenizer(std::string_view content, int floatBytes,
                         const XFileErrorContext& context);

    XFileToken Peek();
    std::string_view ReadName(std::string_view what);
    bool ReadObjectName(std::string_view* name);
    std::string_view ReadString(std::string_view what);
    std::uint32_t ReadUInt(std::string_view what, bool /*mayPrecedeReference*/ = false) {
        if (m_intsLeft > 0) {
            --m_intsLeft;
            m_last = m_p;
            std::uint32_t v;
            std::memcpy(&v, m_p, 4);
            m_p += 4;
            return v;
        }
        return ReadUIntFromToken(what);
    }
    float ReadFloat(std::string_view what) {
        if (m_floatsLeft > 0 && m_floatBytes == 4) {
            --m_floatsLeft;
            m_last = m_p;
            float v;
            std::memcpy(&v, m_p, 4);
            m_p += 4;
            return v;
        }
        return ReadFloatFromToken(what);
    }
    void ExpectOpenBrace(std::string_view expected);
    void ExpectCloseBrace(std::string_view expected);
    void SkipOptionalGuid();
    std::string_view ReadReference();
    void SkipObjectBody();
    std::string_view SkipTemplate();
    /// The tokens from `begin` to `end` (offsets, whole tokens) written out as text.
    std::string ObjectText(std::size_t begin, std::size_t end) const;

    std::size_t MaxValuesLeft() const {
        return std::size_t(m_intsLeft) + m_floatsLeft + std::size_t(m_end - m_p) / 4;
    }

    [[noreturn]] void Fail(std::string_view expected) const;

private:
    /// A name or string token (its 4-byte length after the token): its text.
    std::string_view ReadSizedToken(std::uint16_t token, std::string_view what);
    std::size_t Remaining() const { return std::size_t(m_end - m_p); }
    std::uint16_t TokenAt(const char* p) const {
        std::uint16_t t;
        std::memcpy(&t, p, 2);
        return t;
    }
    std::uint32_t DwordAt(const char* p) const {
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    void SkipSeparators();
    /// Consumes `token` or fails with "expected <expected>, found ...".
    void ExpectToken(std::uint16_t token, std::string_view expected);
    /// Steps over one token and its record; returns the token.
    std::uint16_t SkipToken();
    /// The size of the record-bearing token at m_p, checked against the content left.
    std::size_t TokenSize(std::uint16_t token) const;
    bool ListPending() const { return m_intsLeft > 0 || m_floatsLeft > 0; }
    std::uint32_t ReadUIntFromToken(std::string_view what);
    float ReadFloatFromToken(std::string_view what);
    std::string Describe() const;

    int m_floatBytes;
    std::uint32_t m_intsLeft = 0;
    std::uint32_t m_floatsLeft = 0;
};

} // namespace rm

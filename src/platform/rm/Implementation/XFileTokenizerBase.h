#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/rm/Implementation/XFileError.h"

namespace rm {

/// What the text and the binary tokenizer share: the content being read, where reading
/// stands in it, and how a message is placed there ("<file>:<line>: …" or
/// "<file>:byte <offset>: …", as the error context says).
class XFileTokenizerBase {
public:
    /// Offset of the next unread byte.
    std::size_t Position() const { return std::size_t(m_p - m_begin); }
    /// Offset where the last value, string or reference started.
    std::size_t LastValuePosition() const { return std::size_t(m_last - m_begin); }
    /// Goes on reading at `position` (an offset this tokenizer gave).
    void MoveTo(std::size_t position) { m_p = m_last = m_begin + position; }

    /// Throws "<text>" placed at `position`.
    [[noreturn]] void FailAt(std::size_t position, std::string_view text) const {
        ThrowXFileError(m_context, m_begin, position, text);
    }
    /// "<text>" placed at `position` as FailAt words it, for a warning.
    std::string MessageAt(std::size_t position, std::string_view text) const {
        return FormatXFileMessage(m_context, m_begin, position, text);
    }

protected:
    XFileTokenizerBase(std::string_view content, const XFileErrorContext& context)
        : m_begin(content.data()), m_p(content.data()), m_end(content.data() + content.size()),
          m_last(content.data()), m_context(context) {}

    const char* m_begin;
    const char* m_p;
    const char* m_end;
    const char* m_last;
    XFileErrorContext m_context;
};

} // namespace rm

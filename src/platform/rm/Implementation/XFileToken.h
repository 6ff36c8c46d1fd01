#pragma once

namespace rm {

/// What comes next in a .x file, as the parser sees it. Separators (';' and ',') are never
/// reported: both tokenizers step over them, which is what makes the reader tolerant of
/// missing and doubled separators.
enum class XFileToken {
    End,        ///< no more content
    Name,       ///< an identifier: a keyword, an object name
    String,     ///< a quoted string
    Number,     ///< a value (text number, binary integer or float, or a list of them)
    OpenBrace,  ///< '{'
    CloseBrace, ///< '}'
    Guid,       ///< <xxxxxxxx-...> (text) or a GUID record (binary)
    Template,   ///< the `template` keyword
    Other,      ///< anything else: always an error where it appears
};

} // namespace rm

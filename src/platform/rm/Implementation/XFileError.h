#pragma once

// The reader's internal failure report. It never leaves the reader: the Load functions catch
// it and turn it into a result code and GetLastLoadMessage().

#include <cstddef>
#include <string>
#include <string_view>

namespace rm {

/// Bad input found while reading a .x file; `message` is complete (file, place, problem).
struct XFileError {
    std::string message;
};

/// What an error message needs to say where it happened.
struct XFileErrorContext {
    /// The file name as the caller gave it.
    std::string_view fileName;
    /// Positions in binary content are reported as byte offsets from the start of the file
    /// (or of the decompressed content); in text content as line numbers.
    bool binary = false;
    bool decompressed = false;
};

/// "<file>:<line>: <text>" for text content, "<file>:byte <n>: <text>" for binary content
/// (with " (decompressed)" after the offset when the file was compressed). `begin` is the
/// start of the content after the 16-byte header; `offset` is measured from it.
std::string FormatXFileMessage(const XFileErrorContext& context, const char* begin,
                               std::size_t offset, std::string_view text);

[[noreturn]] void ThrowXFileError(const XFileErrorContext& context, const char* begin,
                                  std::size_t offset, std::string_view text);

/// `bytes` quoted for a message: printable ASCII as is, other bytes as \xNN, cut after 40.
std::string QuoteForMessage(std::string_view bytes);

} // namespace rm

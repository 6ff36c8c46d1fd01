#pragma once

#include <string>
#include <string_view>

namespace cli {

/// Appends `bytes` to `out` as a JSON string literal, quotes included. Names read from
/// files are bytes in no known encoding: valid UTF-8 sequences are kept as they are, and
/// every other byte 0x80-0xFF becomes \u00XX (the code point of that byte), so the output
/// is always valid JSON. '"', '\' and control characters are escaped.
void AppendJsonString(std::string* out, std::string_view bytes);

} // namespace cli

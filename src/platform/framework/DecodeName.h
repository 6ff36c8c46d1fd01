#pragma once

#include <string_view>

#include <QString>

namespace framework {

/// A name read from a file as text. Names are bytes in the file's code page: valid UTF-8 is
/// taken as UTF-8, anything else as code page 932 (Shift-JIS with the Windows extensions,
/// the code page of the Japanese files this editor is made for); a byte that is not valid
/// there either becomes U+FFFD.
QString DecodeName(std::string_view bytes);

/// Whether `bytes` is valid UTF-8 (ASCII included).
bool IsValidUtf8(std::string_view bytes);

} // namespace framework

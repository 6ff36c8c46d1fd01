#pragma once

#include <string>
#include <string_view>

#include <QString>

/// Part names are bytes: the file's own, UTF-8 or code page 932 (Shift-JIS). These are
/// the two ways between those bytes and the text a dialog shows and takes.
namespace part_name_text {

/// The text of `bytes`: read as UTF-8 when they are valid UTF-8, else as code page 932
/// (framework::DecodeName).
QString ToText(std::string_view bytes);

/// The bytes a typed part name is stored as: its code page 932 encoding, on which the
/// saved file's frame name and the binding of animations rest. Empty (refused) when the
/// text holds a space or other blank, one of { } [ ] ( ) < > " , ;, a control character, a
/// character code page 932 cannot hold, or for any other reason would not be read back
/// from a saved file as this very name.
std::string FromText(const QString& text);

} // namespace part_name_text

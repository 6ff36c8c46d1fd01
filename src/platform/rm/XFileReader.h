#pragma once

// Reading a .x file into an XFileDocument: the header, decompression, and the text or
// binary parser. No scene object is made here.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/rm/Types.h"
#include "platform/rm/XFileDocument.h"
#include "platform/rm/XFileParser.h"

namespace rm {

/// Files (and decompressed contents) larger than this are refused rather than read.
inline constexpr std::size_t kMaxXFileSize = std::size_t(1) << 30;

/// Reads and parses the named file. Results: D3DRM_OK; D3DRMERR_FILENOTFOUND when it
/// cannot be opened or is not a regular file; D3DRMERR_BADFILE for content that is not a
/// well-formed .x file; D3DRMERR_BADALLOC when memory runs out. On failure *message says
/// what went wrong and where ("walk.x:12: expected ..., found ..."); the document is then
/// in an unspecified state.
HRESULT ReadXFile(const char* fileName, XFileDocument* document, std::string* message,
                  XFileReadOptions options = {});

/// The same for a whole file held in memory (header included); `displayName` stands for
/// the file name in messages.
HRESULT ReadXFileFromMemory(std::string_view bytes, std::string_view displayName,
                            XFileDocument* document, std::string* message,
                            XFileReadOptions options = {});

/// Reads only the 16-byte header of the named file.
HRESULT ReadXFileFormat(const char* fileName, XFileFormat* format, std::string* message);

} // namespace rm

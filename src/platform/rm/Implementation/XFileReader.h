#pragma once

// Reading a .x file into an XFileDocument: the header, decompression, and the text or
// binary parser. No scene object is made here.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/rm/Implementation/XFileBytes.h"
#include "platform/rm/Implementation/XFileDocument.h"
#include "platform/rm/Implementation/XFileReadOptions.h"
#include "platform/rm/Types.h"

namespace rm {

/// Files (and decompressed contents) larger than this are refused rather than read.
inline constexpr std::size_t kMaxXFileSize = std::size_t(1) << 30;

/// Reads and parses the named file. Results: D3DRM_OK; D3DRMERR_FILENOTFOUND when it
/// cannot be opened or is not a regular file; D3DRMERR_BADFILE for content that is not a
/// well-formed .x file; D3DRMERR_BADALLOC when memory runs out. On failure *message says
/// what went wrong and where ("walk.x:12: expected ..., found ..."); the document is then
/// in an unspecified state. The file is mapped for the parse only (XFileBytes); one that
/// another program truncates meanwhile is refused as D3DRMERR_BADFILE. With `identity`,
/// the identity of the file as it was read is stored there.
HRESULT ReadXFile(const char* fileName, XFileDocument* document, std::string* message,
                  XFileReadOptions options = {}, XFileIdentity* identity = nullptr);

/// The same for a whole file held in memory (header included); `displayName` stands for
/// the file name in messages.
HRESULT ReadXFileFromMemory(std::string_view bytes, std::string_view displayName,
                            XFileDocument* document, std::string* message,
                            XFileReadOptions options = {});

/// How many files ReadXFile has opened on this thread: what the sharing of an open scope
/// saves shows here.
std::uint64_t XFileReadsOnThisThread();

/// The document for one load of the named file: the one an open scope (XFileOpenScope)
/// already holds for this file when the file is unchanged and the document has what the
/// options ask for, else read with ReadXFile (and, inside a scope, kept there for the next
/// load). Results and messages as for ReadXFile. Defined beside XFileOpenScope.
HRESULT AcquireXFileDocument(const char* fileName, XFileReadOptions options,
                             std::shared_ptr<XFileDocument>* document, std::string* message);

/// Reads only the 16-byte header of the named file.
HRESULT ReadXFileFormat(const char* fileName, XFileFormat* format, std::string* message);

} // namespace rm

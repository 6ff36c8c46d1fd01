#pragma once

// The .x file reader behind Frame::Load, MeshBuilder::Load and AnimationSet::Load.
//
// Files: text, binary (32- and 64-bit floats) and MSZIP-compressed ("tzip", "bzip"), with
// the headers "xof 0302" and "xof 0303". Results of the three loads:
// - D3DRM_OK: everything was read; GetLastLoadMessage() holds warnings (texture images
//   not found) or is empty.
// - D3DRMERR_FILENOTFOUND: the file cannot be opened.
// - D3DRMERR_BADFILE: the content is not a well-formed .x file.
// - D3DRMERR_NOTFOUND: well-formed, but without what the load takes (no Frame, no Mesh,
//   no AnimationSet).
// - D3DRMERR_BADALLOC: memory ran out.
// On failure nothing is attached to the frame, set or parent the load was called on.
// Texture images are looked up relative to the texture directory the frame or mesh load is
// given (the current directory when none): first as named in the file, then by the bare
// file name after its last '\' or '/'. No load changes the working directory.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/rm/Types.h"
#include "platform/rm/XFileFormat.h"

namespace rm {

/// The message of the last failed (or warned) load on this thread, naming the file, the
/// line or byte offset and what was expected, e.g.
/// "walk.x:12: expected ';' after the vertex count, found '{'". Empty after a clean load.
const std::string& GetLastLoadMessage();

/// The format named by the file's header. Failures as for the loads (the message in
/// GetLastLoadMessage()).
HRESULT GetXFileFormat(const char* fileName, XFileFormat* format);

/// What a .x file offers the loads, found without building anything.
struct XFileContents {
    /// A top-level Frame or a Mesh: what a model load takes.
    bool model = false;
    bool animationSets = false;
};

/// Reads fileName as the loads do (its meshes only when withMeshes) and says what it holds;
/// inside an XFileOpenScope the loads that follow use this same read. Failures as for the
/// loads (the message in GetLastLoadMessage()); a well-formed file without a model or
/// animation sets is D3DRM_OK.
HRESULT ReadXFileContents(const char* fileName, bool withMeshes, XFileContents* contents);

/// How many bytes at the start of `bytes` a text file's reader takes as one name (a frame
/// name, a reference): a name written with these bytes is read back whole only when this
/// is their length. Shift-JIS names keep the delimiter bytes inside their characters.
std::size_t XFileNameLength(std::string_view bytes);

} // namespace rm

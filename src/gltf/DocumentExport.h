#pragma once

#include <string>
#include <vector>

#include "gltf/GltfExporter.h"

namespace scene {
struct SceneDocument;
} // namespace scene

namespace gltf {

/// The export the editor's File ▸ Export and the command line's --export share: the
/// document as File Save would write it (the current model with every animation set of the
/// current character, in the character's order; the current set alone without a current
/// character or with options.currentSetOnly) written as glTF 2.0 to `path` (.glb: one
/// file; else .gltf with its .bin and images beside it). Reads the document only.
///
/// Returns 1 when every file is complete on disk, with what was changed or left out on the
/// way in *warnings (may be null). Returns 0 with the reason in *error (may be null) when
/// there is no model or a file could not be written; a file that was not written in full
/// is left as it was.
int ExportDocument(const char* path, const scene::SceneDocument& doc, const ExportOptions& options,
                   std::string* error, std::vector<std::string>* warnings);

} // namespace gltf

#pragma once

#include <string>
#include <string_view>

#include "platform/rm/Types.h"

namespace rm {
class Frame;
} // namespace rm

namespace scene {

/// Which load read a model file.
enum class ModelFileContent {
    None,   ///< neither (the load failed, or the file has no frame and no mesh)
    Frames, ///< its top-level frames
    Mesh,   ///< its bare mesh, in a new unnamed frame
};

/// Reads the model of the .x file at path into root, the one way every opener does: the
/// file's top-level frames as children of root (rm::Frame::Load), or, when the file has no
/// frame, its mesh (rm::MeshBuilder::Load) in a new unnamed child frame of root. Texture
/// images the file names are looked for beside it (in DirectoryOf(path)); the working
/// directory is never changed. Returns the frame load's result, or for a file without
/// frames the mesh load's (D3DRMERR_NOTFOUND when it has no mesh either); the message of a
/// failure, or the texture warnings of a success, is in rm::GetLastLoadMessage().
/// *content (may be null) says which load worked. On failure *frameMessage (may be null)
/// holds the frame load's message, which the model load reports even when the mesh load
/// was tried after it.
rm::HRESULT LoadModelFile(rm::Frame* root, const char* path, ModelFileContent* content = nullptr,
                          std::string* frameMessage = nullptr);

/// The loads start each line of a message with the path they were given; the model's
/// messages name the file by its bare name: `message` with each line's leading `path`
/// replaced by the part after its last '/' or '\\'.
std::string WithBareFileName(const std::string& message, std::string_view path);

/// The directory part of path: what comes before its last '\' or '/' ("/" for a file in
/// the root directory), empty for a bare file name.
std::string DirectoryOf(std::string_view path);

} // namespace scene

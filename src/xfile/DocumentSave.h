#pragma once

#include <string>

#include "xfile/SafeFileWriter.h"

class CAnimationData;
class CModelData;

namespace xfile {

/// The document's save sequence, shared by the editor and the command line: puts back the
/// names the animations of `animation` and the frames of `model` had in their files,
/// writes `path` with CXSave (flags CXSave::kDocumentFlags, the set of `animation` and the
/// children of the root frame of the model `animation` is bound to as the top-level
/// frames), then gives frames and animations their working names again, whether the write
/// succeeded or not. The caller stops playback first and takes off the model's frames
/// anything that is not part of the model (the selection box).
///
/// Returns 1 when the file is complete on disk. Returns 0, with the reason (file and system
/// error) in *error when error is not null, when g_d3drm, `model` or `animation` is
/// missing or the file could not be written; the previous file at `path` is then left
/// byte for byte as it was. `write` replaces the function the bytes are written with (a
/// test seam, see SafeFileWriter); empty means POSIX write.
int SaveCharacter(const char* path, CModelData* model, CAnimationData* animation,
                  std::string* error, SafeFileWriter::WriteFunction write = {});

} // namespace xfile

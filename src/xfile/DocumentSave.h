#pragma once

#include <span>
#include <string>

#include "xfile/SafeFileWriter.h"

class CAnimationData;
class CModelData;

namespace scene {
struct SceneDocument;
} // namespace scene

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

/// The same sequence for a character with several animation sets: every set of
/// `animations` is written, in the order given, each as its own AnimationSet block; the
/// frames written are those of the model the first bound set is bound to. 0 (with the
/// reason) when `animations` is empty or holds a null set, as for a missing set above.
int SaveCharacter(const char* path, CModelData* model, std::span<CAnimationData* const> animations,
                  std::string* error, SafeFileWriter::WriteFunction write = {});

/// What File Save writes: the current model with every animation set of the current
/// character, in the character's order (the current set alone when there is no current
/// character). Results as above.
int SaveDocument(const char* path, const scene::SceneDocument& doc, std::string* error,
                 SafeFileWriter::WriteFunction write = {});

} // namespace xfile

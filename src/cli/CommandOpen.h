#pragma once

#include <ostream>
#include <string>

#include "scene/SceneDocument.h"

namespace cli {

/// What `--animation ANIM` names.
enum class AnimationArgument {
    File,          ///< a file whose animation set replaces the character's (--resave)
    SetNameOrFile, ///< one of the character's animation sets by name, else such a file (--render)
};

/// The open sequence of `--resave` and `--render`: opens `file` into doc as File Open does
/// (a new scene), then, when `animation` is not null, makes that animation set current
/// (see AnimationArgument; a file is taken as Change Animation takes it). The document's
/// messages go to `err` as "pavrix: FILE: text". The command line never writes or draws a
/// rest pose for a file whose animation set cannot be read, so unlike the editor an open
/// that had to make an empty set for such a file fails; a well-formed file without an
/// animation set gets the empty set and its notice. Each file is read once: the open
/// reports the animation load's result code.
///
/// Returns false after writing the reason to `err`: "pavrix: cannot open FILE: …",
/// "pavrix: cannot read the animation set of FILE: …" (without the empty-set notice) or
/// "pavrix: cannot change the animation to ANIM: …".
bool OpenCommandDocument(scene::SceneDocument& doc, const std::string& file,
                         const std::string* animation, AnimationArgument kind, std::ostream& err);

} // namespace cli

#pragma once

#include <ostream>
#include <string>

#include "scene/SceneDocument.h"

namespace cli {

/// What a command does with an animation set that is in a file but cannot be read.
enum class DamagedAnimation {
    BecomesEmpty, ///< as the editor does: an empty set, with its notice
    Fails,        ///< the open fails, so a damaged file is never saved back without it
};

/// The open sequence of `--resave` and `--render`: opens `file` into doc as File Open does
/// (a new scene), then, when `animation` is not null, changes the current character's
/// animation set to that file's as Change Animation does. The document's messages go to
/// `err` as "pavrix: FILE: text". Returns false after writing the reason to `err`:
/// "pavrix: cannot open FILE: …", "pavrix: cannot change the animation to ANIM: …", or
/// with DamagedAnimation::Fails "pavrix: cannot read the animation set of FILE: …" (the
/// empty-set notice is not shown then). Each file is read once.
bool OpenCommandDocument(scene::SceneDocument& doc, const std::string& file,
                         const std::string* animation, DamagedAnimation damaged, std::ostream& err);

} // namespace cli

#pragma once

// The .x file reader behind Frame::Load, MeshBuilder::Load and AnimationSet::Load.

#include <string>

#include "platform/rm/Types.h"

namespace rm {

/// The message of the last failed (or warned) load on this thread, naming the file, the
/// line or byte offset and what was expected, e.g.
/// "walk.x:12: expected ';' after the vertex count, found '{'". Empty after a clean load.
const std::string& GetLastLoadMessage();

} // namespace rm

#pragma once

#include <ostream>
#include <string>

namespace cli {

/// The check --resave and --render make before they give a character the animation set of
/// another file (--animation), or keep the empty one the open made for a file that seemed
/// to have none: the editor's open sequence turns any animation load failure into an
/// empty animation set, but the command line must not write or draw a rest pose for a
/// file whose animation set cannot be read. A well-formed file without an animation set
/// passes. Needs the shared factory (g_d3drm).
///
/// Returns true when `path` holds an animation set that cannot be read (a missing file,
/// a damaged one), after writing the one message both commands give for it to `err`:
/// "pavrix: cannot read the animation set of PATH: REASON".
bool RefuseUnreadableAnimationSet(const std::string& path, std::ostream& err);

} // namespace cli

#pragma once

#include <ostream>
#include <span>
#include <string>

namespace cli {

/// `pavrix --resave IN OUT [--animation ANIM] [EDIT...]`: opens IN as the editor's File
/// Open does (a new scene: the model of IN, bound to every animation set of IN or to an
/// empty one when IN has none), then, with --animation, gives the character the animation
/// sets of ANIM as the editor's change-animation command does, then runs the batch edits
/// in the order given on the current model and animation set (ResaveEdits: the editor's
/// own commands, questions answered yes), then saves the character with all its sets to
/// OUT as the editor's File Save does. OUT is replaced only once it is complete on disk;
/// with a bad edit option nothing is read or written.
///
/// Every message the editor would show goes to `err` as it arises, one per line starting
/// with "pavrix: "; nothing goes to `out`. A file that holds an animation set that cannot
/// be read is a failure, not an empty animation. Returns kExitOk on success; kExitFailed
/// with a one-line reason on `err` when a file cannot be read or OUT cannot be written;
/// kExitUsage, with the usage, when the arguments are wrong.
int RunResave(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace cli

#pragma once

#include "platform/NonCopyable.h"

namespace rm {

/// One open of a file, as the program's open sequence makes it: while an XFileOpenScope
/// lives on a thread, the .x loads on that thread (Frame::Load, MeshBuilder::Load,
/// AnimationSet::Load) read and parse a file once and share the result, so opening a model
/// and its animation from one file costs one read. A load reuses the parse only when the
/// file is still the one that was read: the same file (device and inode, whatever the path
/// that names it) with the same size, modification and status-change times; after any
/// change it reads the file again. Nothing is kept once the outermost scope ends.
///
/// Scopes nest (an inner one adds nothing). Outside any scope every load reads the file.
class XFileOpenScope : private platform::NonCopyable {
public:
    XFileOpenScope();
    ~XFileOpenScope();
};

} // namespace rm

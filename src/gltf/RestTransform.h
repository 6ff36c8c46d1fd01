#pragma once

#include "platform/rm/Types.h"

namespace rm {
class Frame;
} // namespace rm

namespace gltf {

/// The transform a frame has in the model, relative to its parent, as a save writes it.
/// Every read of a frame's transform by the export goes through here: the rest, never the
/// pose of the moment, so an export does not depend on the time the editor shows.
rm::Matrix4 RestTransformOf(const rm::Frame& frame);

/// The rest transform of `frame` relative to the world: its own and its parents', up to the
/// root of its tree.
rm::Matrix4 RestWorldTransformOf(const rm::Frame& frame);

} // namespace gltf

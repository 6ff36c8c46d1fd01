#include "gltf/RestTransform.h"

#include "platform/rm/Frame.h"
#include "platform/rm/Math.h"

namespace gltf {

rm::Matrix4 RestTransformOf(const rm::Frame& frame) {
    return frame.GetRestTransform();
}

rm::Matrix4 RestWorldTransformOf(const rm::Frame& frame) {
    rm::Matrix4 world = RestTransformOf(frame);
    for (const rm::Frame* parent = frame.GetParent(); parent; parent = parent->GetParent()) {
        world = rm::MatrixMultiply(world, RestTransformOf(*parent));
    }
    return world;
}

} // namespace gltf

#include "render/OrientationToQuaternion.h"

#include <cmath>

namespace render {

rm::Quaternion OrientationToQuaternion(const rm::Vector& d, const rm::Vector& u) {
    // r.x of r = u x d is (u.y d.z - d.y u.z); the other elements of r appear expanded
    // in the x, y, z terms below.
    const float t = d.z + u.y + (u.y * d.z - d.y * u.z) + 1.0f;
    rm::Quaternion q;
    if (t <= 0.0f) {
        return q;
    }
    const float root = std::sqrt(t);
    const float e = 2.0f * root;
    q.v.x = (d.y - u.z) / e;
    q.v.y = (d.y * u.x - d.x * u.y - d.x) / e;
    q.v.z = (u.x - d.x * u.z + u.x * d.z) / e;
    q.s = root / 2.0f;
    return q;
}

} // namespace render

#include "render/OrientationToQuaternion.h"

#include <cmath>

#include "platform/rm/Math.h"

namespace render {

rm::Quaternion OrientationToQuaternion(const rm::Vector& d, const rm::Vector& u) {
    // r.x of r = u x d is (u.y d.z - d.y u.z); the other elements of r appear expanded
    // in the x, y, z terms below.
    const float t = d.z + u.y + (u.y * d.z - d.y * u.z) + 1.0f;
    if (t > kHalfTurnLimit) {
        const float root = std::sqrt(t);
        const float e = 2.0f * root;
        rm::Quaternion q;
        q.v.x = (d.y - u.z) / e;
        q.v.y = (d.y * u.x - d.x * u.y - d.x) / e;
        q.v.z = (u.x - d.x * u.z + u.x * d.z) / e;
        q.s = root / 2.0f;
        return q;
    }
    // About half a turn the formula above divides by almost nothing (and below it has no
    // answer at all); the rotation is then read from its largest diagonal element. A part
    // turned past a half turn thus keeps its turn instead of snapping back to rest.
    rm::Matrix4 m;
    const rm::Vector r = rm::VectorCrossProduct(u, d);
    const rm::Vector rows[3] = {r, u, d};
    for (int i = 0; i < 3; ++i) {
        m.m[i][0] = rows[i].x;
        m.m[i][1] = rows[i].y;
        m.m[i][2] = rows[i].z;
    }
    rm::Quaternion q = rm::QuaternionFromMatrix(m);
    if (q.s < 0) {
        q = {-q.s, {-q.v.x, -q.v.y, -q.v.z}};
    }
    return q;
}

} // namespace render

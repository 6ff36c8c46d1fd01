#pragma once

#include <array>

#include "platform/rm/Types.h"

namespace gltf {

// From the .x space to glTF's. The .x space is left-handed (x right, y up, z away from the
// viewer) with row vectors; glTF's is right-handed with column vectors. The z axis is
// flipped: a point (x, y, z) becomes (x, y, -z), a matrix M becomes F M F with
// F = diag(1, 1, -1), and because a mirror turns the winding of every face, each triangle's
// corners are written in the reverse order so that front faces stay front faces.

using Vec3 = std::array<float, 3>;
/// A glTF rotation: x, y, z, w.
using Quat = std::array<float, 4>;

/// A point or a direction.
Vec3 ToGltf(const rm::Vector& v);
/// A unit direction (a zero vector gives +y).
Vec3 ToGltfNormal(const rm::Vector& v);

/// Translation, rotation and scale of a node, composed by glTF as T R S.
struct Trs {
    Vec3 translation{0, 0, 0};
    Quat rotation{0, 0, 0, 1};
    Vec3 scale{1, 1, 1};
};
/// The node transform of a frame's matrix (relative to its parent). A matrix that mirrors
/// gets a negative x scale; shear, which glTF nodes cannot hold, is dropped.
Trs TrsOf(const rm::Matrix4& m);
/// The glTF rotation of a rotation key.
Quat ToGltf(const rm::Quaternion& q);
/// A matrix as glTF stores it (column-major, for column vectors): 16 numbers.
std::array<float, 16> MatrixToGltf(const rm::Matrix4& m);

} // namespace gltf

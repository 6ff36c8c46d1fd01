#pragma once

#include "platform/rm/Types.h"

namespace render {

/// Below this value of 1 + trace the orientation is within about 11 degrees of a half
/// turn and is converted by the largest-diagonal method instead of the trace formula.
inline constexpr float kHalfTurnLimit = 0.04f;

/// The rotation quaternion (scalar first, s >= 0) of the orientation whose rows are
/// r = up x direction, up and direction, for unit-length, perpendicular direction and up,
/// so that rm::MatrixFromQuaternion of the result has the rows r, up, direction. With
/// t = 1 + trace above kHalfTurnLimit: s = sqrt(t) / 2 and x, y, z follow from the
/// off-diagonal elements; nearer a half turn (where that formula fails) the same rotation
/// is read from the largest diagonal element, so half turns are converted too.
rm::Quaternion OrientationToQuaternion(const rm::Vector& direction, const rm::Vector& up);

} // namespace render

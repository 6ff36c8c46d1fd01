#pragma once

#include "platform/rm/Types.h"

namespace render {

/// The rotation quaternion (scalar first) of the orientation whose rows are
/// r = up x direction, up and direction, for unit-length, perpendicular direction and up.
/// With t = 1 + trace: t <= 0 gives the identity (this includes orientations of about a
/// half turn, for which the result is therefore not the rotation); otherwise
/// s = sqrt(t) / 2 and x, y, z follow from the off-diagonal elements, so that
/// rm::MatrixFromQuaternion of the result has the rows r, up, direction.
rm::Quaternion OrientationToQuaternion(const rm::Vector& direction, const rm::Vector& up);

} // namespace render

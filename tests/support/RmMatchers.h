#pragma once

// Matchers that compare the scene library's vectors, quaternions and matrices element by
// element and print both sides when they differ.

#include <cmath>
#include <ostream>

#include <gmock/gmock.h>

#include "platform/rm/Types.h"

namespace rm {

inline void PrintTo(const Vector& v, std::ostream* os) {
    *os << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}

inline void PrintTo(const Quaternion& q, std::ostream* os) {
    *os << "[s " << q.s << " | " << q.v.x << ", " << q.v.y << ", " << q.v.z << "]";
}

inline void PrintTo(const Matrix4& m, std::ostream* os) {
    for (int i = 0; i < 4; ++i) {
        *os << (i ? " / " : "") << m.m[i][0] << ", " << m.m[i][1] << ", " << m.m[i][2] << ", "
            << m.m[i][3];
    }
}

} // namespace rm

namespace testing_rm {

MATCHER_P2(VectorNear, expected, tolerance,
           "is within " + ::testing::PrintToString(tolerance) + " of " +
               ::testing::PrintToString(expected)) {
    return std::fabs(arg.x - expected.x) <= tolerance &&
           std::fabs(arg.y - expected.y) <= tolerance && std::fabs(arg.z - expected.z) <= tolerance;
}

/// Equal as rotations: q and -q are the same turn.
MATCHER_P2(RotationNear, expected, tolerance,
           "is the same rotation (within " + ::testing::PrintToString(tolerance) + ") as " +
               ::testing::PrintToString(expected)) {
    auto near = [&](float sign) {
        return std::fabs(arg.s - sign * expected.s) <= tolerance &&
               std::fabs(arg.v.x - sign * expected.v.x) <= tolerance &&
               std::fabs(arg.v.y - sign * expected.v.y) <= tolerance &&
               std::fabs(arg.v.z - sign * expected.v.z) <= tolerance;
    };
    return near(1.0f) || near(-1.0f);
}

MATCHER_P2(MatrixNear, expected, tolerance,
           "is within " + ::testing::PrintToString(tolerance) + " of " +
               ::testing::PrintToString(expected)) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            if (std::fabs(arg.m[i][j] - expected.m[i][j]) > tolerance) {
                *result_listener << "first difference at [" << i << "][" << j << "]";
                return false;
            }
        }
    }
    return true;
}

} // namespace testing_rm

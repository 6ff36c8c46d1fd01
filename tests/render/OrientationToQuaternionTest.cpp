#include "render/OrientationToQuaternion.h"

#include <cmath>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/rm/Math.h"
#include "support/RmMatchers.h"

namespace {

using render::OrientationToQuaternion;
using testing_rm::RotationNear;
using testing_rm::VectorNear;

constexpr float kPi = 3.14159265358979f;

TEST(OrientationToQuaternionTest, FixedExamples) {
    struct Case {
        const char* label;
        rm::Vector direction;
        rm::Vector up;
        rm::Quaternion expected;
    };
    const float h = std::sqrt(0.5f);
    const Case cases[] = {
        {"identity", {0, 0, 1}, {0, 1, 0}, {1, {0, 0, 0}}},
        // Half turns (trace -1) are turns too, not the identity: a part posed past half a
        // turn must keep its pose.
        {"half turn about y", {0, 0, -1}, {0, 1, 0}, {0, {0, 1, 0}}},
        {"half turn about z", {0, 0, 1}, {0, -1, 0}, {0, {0, 0, 1}}},
        // Rows (r, u, d) = ((0,0,1), (0,1,0), (-1,0,0)): a quarter turn about +y.
        {"quarter turn about +y", {-1, 0, 0}, {0, 1, 0}, {h, {0, h, 0}}},
        {"quarter turn about -y", {1, 0, 0}, {0, 1, 0}, {h, {0, -h, 0}}},
        // Rows ((1,0,0), (0,0,-1), (0,1,0)): a quarter turn about +x.
        {"quarter turn about +x", {0, 1, 0}, {0, 0, -1}, {h, {h, 0, 0}}},
    };
    for (const Case& c : cases) {
        const rm::Quaternion q = OrientationToQuaternion(c.direction, c.up);
        EXPECT_NEAR(q.s, c.expected.s, 1e-6f) << c.label;
        EXPECT_NEAR(q.v.x, c.expected.v.x, 1e-6f) << c.label;
        EXPECT_NEAR(q.v.y, c.expected.v.y, 1e-6f) << c.label;
        EXPECT_NEAR(q.v.z, c.expected.v.z, 1e-6f) << c.label;
    }
}

// The result is the rotation itself, up to and through half a turn: its matrix has the
// rows r = up x direction, up and direction, in the library's convention.
TEST(OrientationToQuaternionTest, RoundTripsRotationsUpToAndPastAHalfTurn) {
    struct Case {
        rm::Vector axis;
        float angle;
    };
    const Case cases[] = {
        {{0, 1, 0}, kPi / 2},     {{1, 0, 0}, -kPi / 3},     {{0, 0, 1}, 2.5f},
        {{1, 1, 1}, 1.0f},        {{-2, 1, 0.5f}, 2.9f},     {{0.3f, -1, 2}, 0.01f},
        {{0, 1, 0}, kPi},         {{1, 2, 3}, kPi - 0.001f}, {{1, 0, 0}, kPi + 0.2f},
        {{0.5f, 0.5f, -1}, 3.0f},
    };
    for (const Case& c : cases) {
        const rm::Quaternion original = rm::QuaternionFromRotation(c.axis, c.angle);
        const rm::Matrix4 m = rm::MatrixFromQuaternion(original);
        const rm::Vector up{m.m[1][0], m.m[1][1], m.m[1][2]};
        const rm::Vector direction{m.m[2][0], m.m[2][1], m.m[2][2]};

        const rm::Quaternion q = OrientationToQuaternion(direction, up);
        EXPECT_THAT(q, RotationNear(original, 1e-4f)) << "angle " << c.angle;
        EXPECT_GE(q.s, 0.0f) << "the scalar part is never negative";
        const rm::Matrix4 back = rm::MatrixFromQuaternion(q);
        EXPECT_THAT((rm::Vector{back.m[0][0], back.m[0][1], back.m[0][2]}),
                    VectorNear(rm::VectorCrossProduct(up, direction), 1e-4f));
    }
}

} // namespace

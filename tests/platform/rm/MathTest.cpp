#include "platform/rm/Math.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "support/RmMatchers.h"

using namespace rm;
using namespace testing_rm;

namespace {
constexpr float kHalfPi = std::numbers::pi_v<float> / 2;
} // namespace

// Files from other tools store rotation keys in this convention, so it is pinned here:
// a quarter turn about +y, applied to a row vector, takes +x to +z and +z to -x.
TEST(MathTest, QuarterTurnAboutYFollowsTheFileConvention) {
    const Quaternion q = QuaternionFromRotation({0, 1, 0}, kHalfPi);
    EXPECT_NEAR(q.s, std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(q.v.y, std::sqrt(0.5f), 1e-6f);
    const Matrix4 m = MatrixFromQuaternion(q);
    EXPECT_THAT(TransformDirection({1, 0, 0}, m), VectorNear(Vector{0, 0, 1}, 1e-6f));
    EXPECT_THAT(TransformDirection({0, 0, 1}, m), VectorNear(Vector{-1, 0, 0}, 1e-6f));
    EXPECT_THAT(TransformDirection({0, 1, 0}, m), VectorNear(Vector{0, 1, 0}, 1e-6f));
    EXPECT_THAT(VectorRotate({1, 0, 0}, {0, 1, 0}, kHalfPi), VectorNear(Vector{0, 0, 1}, 1e-6f));
}

TEST(MathTest, ProductAppliesTheLeftFactorFirst) {
    const Quaternion aboutX = QuaternionFromRotation({1, 0, 0}, kHalfPi);
    const Quaternion aboutY = QuaternionFromRotation({0, 1, 0}, kHalfPi);
    const Matrix4 product = MatrixFromQuaternion(QuaternionMultiply(aboutX, aboutY));
    const Matrix4 chained =
        MatrixMultiply(MatrixFromQuaternion(aboutX), MatrixFromQuaternion(aboutY));
    EXPECT_THAT(product, MatrixNear(chained, 1e-6f));
}

TEST(MathTest, MatrixAndQuaternionRoundTrip) {
    const struct {
        Vector axis;
        float angle;
    } cases[] = {{{0, 1, 0}, 0.3f}, {{1, 0, 0}, 2.9f},     {{0, 0, 1}, -1.2f},
                 {{1, 1, 0}, 3.1f}, {{0.2f, -1, 0.5f}, 1}, {{1, 0, 0}, 0}};
    for (const auto& c : cases) {
        const Quaternion q = QuaternionFromRotation(c.axis, c.angle);
        EXPECT_THAT(QuaternionFromMatrix(MatrixFromQuaternion(q)), RotationNear(q, 1e-5f))
            << "angle " << c.angle;
    }
}

TEST(MathTest, SlerpTakesTheShorterArc) {
    const Quaternion a = QuaternionFromRotation({0, 1, 0}, 0);
    // 270 degrees is the same orientation as -90 degrees; halfway is -45 degrees.
    const Quaternion b = QuaternionFromRotation({0, 1, 0}, 3 * kHalfPi);
    EXPECT_THAT(QuaternionSlerp(a, b, 0.5f),
                RotationNear(QuaternionFromRotation({0, 1, 0}, -kHalfPi / 2), 1e-5f));
    EXPECT_THAT(QuaternionSlerp(a, b, 0.0f), RotationNear(a, 1e-6f));
    EXPECT_THAT(QuaternionSlerp(a, b, 1.0f), RotationNear(b, 1e-6f));
}

TEST(MathTest, DecomposeAndComposeAreInverse) {
    const Quaternion r = QuaternionFromRotation({0.3f, 1, -0.2f}, 0.8f);
    const Matrix4 m = ComposeMatrix({2, 0.5f, 3}, r, {1, -2, 7});
    const Decomposed d = DecomposeMatrix(m);
    EXPECT_THAT(d.scale, VectorNear(Vector{2, 0.5f, 3}, 1e-5f));
    EXPECT_THAT(d.rotation, RotationNear(r, 1e-5f));
    EXPECT_THAT(d.translation, VectorNear(Vector{1, -2, 7}, 1e-6f));
    EXPECT_THAT(ComposeMatrix(d.scale, d.rotation, d.translation), MatrixNear(m, 1e-5f));
}

TEST(MathTest, InverseUndoesTheMatrixAndRefusesSingularOnes) {
    const Matrix4 m =
        MatrixMultiply(ComposeMatrix({1, 2, 1}, QuaternionFromRotation({1, 0, 0}, 0.5f), {3, 4, 5}),
                       MatrixTranslation({-1, 0, 2}));
    Matrix4 inv;
    ASSERT_EQ(MatrixInvert(m, &inv), 1);
    EXPECT_THAT(MatrixMultiply(m, inv), MatrixNear(Matrix4{}, 1e-5f));
    EXPECT_EQ(MatrixInvert(MatrixScale({1, 0, 1}), &inv), 0);
}

TEST(MathTest, VectorFunctions) {
    EXPECT_THAT(VectorCrossProduct({0, 1, 0}, {0, 0, 1}), VectorNear(Vector{1, 0, 0}, 0));
    Vector v{3, 0, 4};
    EXPECT_EQ(VectorNormalize(&v), 1);
    EXPECT_THAT(v, VectorNear(Vector{0.6f, 0, 0.8f}, 1e-6f));
    Vector zero{};
    EXPECT_EQ(VectorNormalize(&zero), 0);
}

TEST(MathTest, ColourChannels) {
    const D3DCOLOR c = 0x80FF4000;
    EXPECT_FLOAT_EQ(ColorGetAlpha(c), 128 / 255.0f);
    EXPECT_FLOAT_EQ(ColorGetRed(c), 1.0f);
    EXPECT_FLOAT_EQ(ColorGetGreen(c), 64 / 255.0f);
    EXPECT_FLOAT_EQ(ColorGetBlue(c), 0.0f);
    EXPECT_EQ(CreateColorRGBA(1, 0.25f, 0, 0.5f), 0x80FF4000u);
    EXPECT_EQ(CreateColorRGB(2, -1, 0.5f), 0xFFFF0080u);
}

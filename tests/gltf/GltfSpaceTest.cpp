// The change from the .x space (left-handed, row vectors) to glTF's.

#include "gltf/GltfSpace.h"

#include <array>
#include <cmath>

#include <gtest/gtest.h>

#include "platform/rm/Math.h"

namespace {

using Mat = std::array<float, 16>; // column-major, as glTF stores it

/// T R S of a node, as glTF composes it.
Mat Compose(const gltf::Trs& trs) {
    const auto [x, y, z, w] = trs.rotation;
    const float r[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
                           {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
                           {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}};
    Mat m{};
    for (int c = 0; c < 3; ++c) {
        for (int row = 0; row < 3; ++row) {
            m[std::size_t(c * 4 + row)] = r[row][c] * trs.scale[std::size_t(c)];
        }
    }
    m[12] = trs.translation[0];
    m[13] = trs.translation[1];
    m[14] = trs.translation[2];
    m[15] = 1;
    return m;
}

struct MatrixCase {
    const char* what;
    rm::Matrix4 matrix;
};

rm::Matrix4 Srt(rm::Vector s, rm::Vector axis, float angle, rm::Vector t) {
    return rm::ComposeMatrix(s, rm::QuaternionFromRotation(axis, angle), t);
}

} // namespace

TEST(GltfSpace, NodeTransformsComposeBackToTheMirroredMatrix) {
    const MatrixCase cases[] = {
        {"identity", rm::MatrixIdentity()},
        {"translation", Srt({1, 1, 1}, {0, 1, 0}, 0, {1, 2, 3})},
        {"turn about y", Srt({1, 1, 1}, {0, 1, 0}, 0.7f, {0, 0, 5})},
        {"turn about a slanted axis, scaled", Srt({2, 0.5f, 3}, {1, 2, -1}, 2.5f, {-4, 1, 2})},
        {"half turn", Srt({1, 1, 1}, {0, 0, 1}, 3.14159265f, {0, 0, 0})},
        {"mirror in x", rm::MatrixScale({-1, 1, 1})},
        {"mirror in z, turned", rm::MatrixMultiply(rm::MatrixScale({1, 1, -2}),
                                                   Srt({1, 1, 1}, {1, 0, 0}, 1.0f, {0, 3, 0}))},
    };
    for (const MatrixCase& c : cases) {
        const Mat expected = gltf::MatrixToGltf(c.matrix);
        const Mat got = Compose(gltf::TrsOf(c.matrix));
        for (std::size_t i = 0; i < 16; ++i) {
            EXPECT_NEAR(got[i], expected[i], 1e-5f) << c.what << " element " << i;
        }
    }
}

TEST(GltfSpace, PointsAndMatricesFlipTheZAxis) {
    // A frame one unit along +z (away from the .x viewer) sits at -z in glTF, and a point
    // it carries lands where the flipped point lands.
    const rm::Matrix4 m = Srt({1, 1, 1}, {0, 1, 0}, 0.5f, {0, 0, 1});
    const rm::Vector p{1, 2, 3};
    const rm::Vector moved = rm::TransformPoint(p, m);
    const gltf::Vec3 q = gltf::ToGltf(p);
    const Mat g = gltf::MatrixToGltf(m);
    for (int row = 0; row < 3; ++row) {
        const float value = g[std::size_t(row)] * q[0] + g[std::size_t(4 + row)] * q[1] +
                            g[std::size_t(8 + row)] * q[2] + g[std::size_t(12 + row)];
        EXPECT_NEAR(value, gltf::ToGltf(moved)[std::size_t(row)], 1e-5f) << "row " << row;
    }
    EXPECT_EQ(gltf::ToGltf(rm::Vector{0, 0, 1})[2], -1.0f);
}

TEST(GltfSpace, RotationKeysTurnAsTheirMatrices) {
    const rm::Quaternion keys[] = {
        rm::QuaternionFromRotation({0, 1, 0}, 0.3f),
        rm::QuaternionFromRotation({1, 1, 0}, -2.0f),
        rm::QuaternionFromRotation({0.2f, -1, 3}, 3.0f),
        {2, {0, 0, 2}}, // not of unit length: the key's turn, normalised
    };
    for (const rm::Quaternion& key : keys) {
        gltf::Trs trs;
        trs.rotation = gltf::ToGltf(key);
        const auto [x, y, z, w] = trs.rotation;
        const float length = std::sqrt(x * x + y * y + z * z + w * w);
        EXPECT_NEAR(length, 1.0f, 1e-6f);
        const Mat expected =
            gltf::MatrixToGltf(rm::MatrixFromQuaternion(rm::QuaternionNormalize(key)));
        const Mat got = Compose(trs);
        for (std::size_t i = 0; i < 16; ++i) {
            EXPECT_NEAR(got[i], expected[i], 1e-5f) << "element " << i;
        }
    }
}

#include "gltf/GltfSpace.h"

#include <cmath>

#include "platform/rm/Math.h"

namespace gltf {

namespace {

/// F M F: the sign of every element in row 2 or column 2 (but not both) turns.
rm::Matrix4 Mirror(const rm::Matrix4& m) {
    rm::Matrix4 out = m;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if ((r == 2) != (c == 2)) {
                out.m[r][c] = -out.m[r][c];
            }
        }
    }
    return out;
}

/// The rotation of a column-vector rotation matrix r[row][column].
Quat QuatOfRotation(const double r[3][3]) {
    double x, y, z, w;
    const double trace = r[0][0] + r[1][1] + r[2][2];
    if (trace > 0) {
        const double s = 0.5 / std::sqrt(trace + 1.0);
        w = 0.25 / s;
        x = (r[2][1] - r[1][2]) * s;
        y = (r[0][2] - r[2][0]) * s;
        z = (r[1][0] - r[0][1]) * s;
    } else if (r[0][0] > r[1][1] && r[0][0] > r[2][2]) {
        const double s = 2.0 * std::sqrt(1.0 + r[0][0] - r[1][1] - r[2][2]);
        w = (r[2][1] - r[1][2]) / s;
        x = 0.25 * s;
        y = (r[0][1] + r[1][0]) / s;
        z = (r[0][2] + r[2][0]) / s;
    } else if (r[1][1] > r[2][2]) {
        const double s = 2.0 * std::sqrt(1.0 + r[1][1] - r[0][0] - r[2][2]);
        w = (r[0][2] - r[2][0]) / s;
        x = (r[0][1] + r[1][0]) / s;
        y = 0.25 * s;
        z = (r[1][2] + r[2][1]) / s;
    } else {
        const double s = 2.0 * std::sqrt(1.0 + r[2][2] - r[0][0] - r[1][1]);
        w = (r[1][0] - r[0][1]) / s;
        x = (r[0][2] + r[2][0]) / s;
        y = (r[1][2] + r[2][1]) / s;
        z = 0.25 * s;
    }
    const double n = std::sqrt(x * x + y * y + z * z + w * w);
    if (!(n > 0) || !std::isfinite(n)) {
        return {0, 0, 0, 1};
    }
    return {float(x / n), float(y / n), float(z / n), float(w / n)};
}

/// Scale and rotation of the linear part of a row-vector matrix already in glTF's space.
void SplitLinear(const rm::Matrix4& m, Vec3* scale, Quat* rotation) {
    double rows[3][3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            rows[i][j] = m.m[i][j];
        }
    }
    const double det = rows[0][0] * (rows[1][1] * rows[2][2] - rows[1][2] * rows[2][1]) -
                       rows[0][1] * (rows[1][0] * rows[2][2] - rows[1][2] * rows[2][0]) +
                       rows[0][2] * (rows[1][0] * rows[2][1] - rows[1][1] * rows[2][0]);
    double r[3][3]; // column-vector rotation: column i is row i of the row-vector matrix
    for (int i = 0; i < 3; ++i) {
        double length =
            std::sqrt(rows[i][0] * rows[i][0] + rows[i][1] * rows[i][1] + rows[i][2] * rows[i][2]);
        if (i == 0 && det < 0) {
            length = -length;
        }
        (*scale)[std::size_t(i)] = float(length);
        for (int j = 0; j < 3; ++j) {
            r[j][i] = length != 0 ? rows[i][j] / length : (i == j ? 1.0 : 0.0);
        }
    }
    *rotation = QuatOfRotation(r);
}

} // namespace

Vec3 ToGltf(const rm::Vector& v) {
    return {v.x, v.y, -v.z};
}

Vec3 ToGltfNormal(const rm::Vector& v) {
    const double length = std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
    if (!(length > 1e-20) || !std::isfinite(length)) {
        return {0, 1, 0};
    }
    return {float(v.x / length), float(v.y / length), float(-v.z / length)};
}

Trs TrsOf(const rm::Matrix4& m) {
    const rm::Matrix4 g = Mirror(m);
    Trs trs;
    trs.translation = {g.m[3][0], g.m[3][1], g.m[3][2]};
    SplitLinear(g, &trs.scale, &trs.rotation);
    return trs;
}

Quat ToGltf(const rm::Quaternion& q) {
    Vec3 scale;
    Quat rotation;
    SplitLinear(Mirror(rm::MatrixFromQuaternion(rm::QuaternionNormalize(q))), &scale, &rotation);
    return rotation;
}

std::array<float, 16> MatrixToGltf(const rm::Matrix4& m) {
    const rm::Matrix4 g = Mirror(m);
    std::array<float, 16> out{};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            out[std::size_t(r * 4 + c)] = g.m[r][c];
        }
    }
    return out;
}

} // namespace gltf

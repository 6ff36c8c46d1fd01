#include "platform/rm/Math.h"

#include <algorithm>
#include <cmath>

namespace rm {

Vector VectorAdd(const Vector& a, const Vector& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Vector VectorSubtract(const Vector& a, const Vector& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vector VectorScale(const Vector& v, float factor) {
    return {v.x * factor, v.y * factor, v.z * factor};
}

float VectorDotProduct(const Vector& a, const Vector& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vector VectorCrossProduct(const Vector& a, const Vector& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float VectorModulus(const Vector& v) {
    return std::sqrt(VectorDotProduct(v, v));
}

int VectorNormalize(Vector* v) {
    const float len = VectorModulus(*v);
    if (len == 0.0f) {
        *v = {1, 0, 0};
        return 0;
    }
    *v = VectorScale(*v, 1.0f / len);
    return 1;
}

Vector VectorRotate(const Vector& v, const Vector& axis, float theta) {
    const Matrix4 m = MatrixFromQuaternion(QuaternionFromRotation(axis, theta));
    return TransformDirection(v, m);
}

Quaternion QuaternionFromRotation(const Vector& axis, float theta) {
    Vector a = axis;
    VectorNormalize(&a);
    const float half = theta * 0.5f;
    const float s = std::sin(half);
    return {std::cos(half), {a.x * s, a.y * s, a.z * s}};
}

Quaternion QuaternionMultiply(const Quaternion& a, const Quaternion& b) {
    Quaternion r;
    r.s = a.s * b.s - VectorDotProduct(a.v, b.v);
    const Vector cross = VectorCrossProduct(a.v, b.v);
    r.v.x = a.s * b.v.x + b.s * a.v.x + cross.x;
    r.v.y = a.s * b.v.y + b.s * a.v.y + cross.y;
    r.v.z = a.s * b.v.z + b.s * a.v.z + cross.z;
    return r;
}

Quaternion QuaternionNormalize(const Quaternion& q) {
    const float len = std::sqrt(q.s * q.s + VectorDotProduct(q.v, q.v));
    if (len == 0.0f) {
        return {};
    }
    const float k = 1.0f / len;
    return {q.s * k, VectorScale(q.v, k)};
}

Quaternion QuaternionSlerp(const Quaternion& a, const Quaternion& b, float alpha) {
    double dot =
        double(a.s) * b.s + double(a.v.x) * b.v.x + double(a.v.y) * b.v.y + double(a.v.z) * b.v.z;
    double sign = 1.0;
    if (dot < 0) {
        dot = -dot;
        sign = -1.0;
    }
    double wa, wb;
    if (dot > 0.9995) {
        wa = 1.0 - alpha;
        wb = alpha;
    } else {
        const double theta = std::acos(std::min(dot, 1.0));
        const double sinTheta = std::sin(theta);
        wa = std::sin((1.0 - alpha) * theta) / sinTheta;
        wb = std::sin(alpha * theta) / sinTheta;
    }
    wb *= sign;
    Quaternion r;
    r.s = float(wa * a.s + wb * b.s);
    r.v.x = float(wa * a.v.x + wb * b.v.x);
    r.v.y = float(wa * a.v.y + wb * b.v.y);
    r.v.z = float(wa * a.v.z + wb * b.v.z);
    return QuaternionNormalize(r);
}

Matrix4 MatrixFromQuaternion(const Quaternion& q) {
    const float s = q.s, x = q.v.x, y = q.v.y, z = q.v.z;
    Matrix4 m;
    m.m[0][0] = 1 - 2 * (y * y + z * z);
    m.m[0][1] = 2 * (x * y - z * s);
    m.m[0][2] = 2 * (x * z + y * s);
    m.m[1][0] = 2 * (x * y + z * s);
    m.m[1][1] = 1 - 2 * (x * x + z * z);
    m.m[1][2] = 2 * (y * z - x * s);
    m.m[2][0] = 2 * (x * z - y * s);
    m.m[2][1] = 2 * (y * z + x * s);
    m.m[2][2] = 1 - 2 * (x * x + y * y);
    return m;
}

Quaternion QuaternionFromMatrix(const Matrix4& mat) {
    // Inverse of MatrixFromQuaternion: m[2][1] - m[1][2] = 4xs, m[0][2] - m[2][0] = 4ys,
    // m[1][0] - m[0][1] = 4zs.
    const auto& m = mat.m;
    const float trace = m[0][0] + m[1][1] + m[2][2];
    Quaternion q;
    if (trace > 0) {
        const float r = std::sqrt(1 + trace);
        const float k = 0.5f / r;
        q.s = 0.5f * r;
        q.v = {(m[2][1] - m[1][2]) * k, (m[0][2] - m[2][0]) * k, (m[1][0] - m[0][1]) * k};
    } else if (m[0][0] >= m[1][1] && m[0][0] >= m[2][2]) {
        const float r = std::sqrt(1 + m[0][0] - m[1][1] - m[2][2]);
        const float k = 0.5f / r;
        q.v.x = 0.5f * r;
        q.v.y = (m[0][1] + m[1][0]) * k;
        q.v.z = (m[0][2] + m[2][0]) * k;
        q.s = (m[2][1] - m[1][2]) * k;
    } else if (m[1][1] >= m[2][2]) {
        const float r = std::sqrt(1 - m[0][0] + m[1][1] - m[2][2]);
        const float k = 0.5f / r;
        q.v.y = 0.5f * r;
        q.v.x = (m[0][1] + m[1][0]) * k;
        q.v.z = (m[1][2] + m[2][1]) * k;
        q.s = (m[0][2] - m[2][0]) * k;
    } else {
        const float r = std::sqrt(1 - m[0][0] - m[1][1] + m[2][2]);
        const float k = 0.5f / r;
        q.v.z = 0.5f * r;
        q.v.x = (m[0][2] + m[2][0]) * k;
        q.v.y = (m[1][2] + m[2][1]) * k;
        q.s = (m[1][0] - m[0][1]) * k;
    }
    return QuaternionNormalize(q);
}

Matrix4 MatrixIdentity() {
    return Matrix4{};
}

Matrix4 MatrixMultiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                        a.m[i][3] * b.m[3][j];
        }
    }
    return r;
}

int MatrixInvert(const Matrix4& in, Matrix4* out) {
    // Gauss-Jordan elimination with partial pivoting, in double precision.
    double a[4][8];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            a[i][j] = in.m[i][j];
            a[i][j + 4] = i == j ? 1.0 : 0.0;
        }
    }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r) {
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) {
                pivot = r;
            }
        }
        if (std::fabs(a[pivot][col]) < 1e-30) {
            *out = Matrix4{};
            return 0;
        }
        if (pivot != col) {
            for (int j = 0; j < 8; ++j) {
                std::swap(a[pivot][j], a[col][j]);
            }
        }
        const double inv = 1.0 / a[col][col];
        for (int j = 0; j < 8; ++j) {
            a[col][j] *= inv;
        }
        for (int r = 0; r < 4; ++r) {
            if (r != col && a[r][col] != 0.0) {
                const double f = a[r][col];
                for (int j = 0; j < 8; ++j) {
                    a[r][j] -= f * a[col][j];
                }
            }
        }
    }
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            out->m[i][j] = float(a[i][j + 4]);
        }
    }
    return 1;
}

Vector TransformPoint(const Vector& p, const Matrix4& m) {
    const auto& a = m.m;
    Vector r{p.x * a[0][0] + p.y * a[1][0] + p.z * a[2][0] + a[3][0],
             p.x * a[0][1] + p.y * a[1][1] + p.z * a[2][1] + a[3][1],
             p.x * a[0][2] + p.y * a[1][2] + p.z * a[2][2] + a[3][2]};
    const float w = p.x * a[0][3] + p.y * a[1][3] + p.z * a[2][3] + a[3][3];
    if (w != 1.0f && w != 0.0f) {
        r = VectorScale(r, 1.0f / w);
    }
    return r;
}

Vector TransformDirection(const Vector& v, const Matrix4& m) {
    const auto& a = m.m;
    return {v.x * a[0][0] + v.y * a[1][0] + v.z * a[2][0],
            v.x * a[0][1] + v.y * a[1][1] + v.z * a[2][1],
            v.x * a[0][2] + v.y * a[1][2] + v.z * a[2][2]};
}

Matrix4 MatrixTranslation(const Vector& t) {
    return {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {t.x, t.y, t.z, 1}}};
}

Matrix4 MatrixScale(const Vector& s) {
    return {{{s.x, 0, 0, 0}, {0, s.y, 0, 0}, {0, 0, s.z, 0}, {0, 0, 0, 1}}};
}

Decomposed DecomposeMatrix(const Matrix4& m) {
    Decomposed d;
    d.translation = {m.m[3][0], m.m[3][1], m.m[3][2]};
    Vector rows[3];
    float scale[3];
    for (int i = 0; i < 3; ++i) {
        rows[i] = {m.m[i][0], m.m[i][1], m.m[i][2]};
        scale[i] = VectorModulus(rows[i]);
        if (scale[i] != 0) {
            rows[i] = VectorScale(rows[i], 1.0f / scale[i]);
        }
    }
    // A mirrored basis keeps a proper rotation by carrying the reflection in one scale.
    if (VectorDotProduct(VectorCrossProduct(rows[0], rows[1]), rows[2]) < 0) {
        scale[2] = -scale[2];
        rows[2] = VectorScale(rows[2], -1);
    }
    d.scale = {scale[0], scale[1], scale[2]};
    Matrix4 r;
    for (int i = 0; i < 3; ++i) {
        r.m[i][0] = rows[i].x;
        r.m[i][1] = rows[i].y;
        r.m[i][2] = rows[i].z;
    }
    d.rotation = QuaternionFromMatrix(r);
    return d;
}

Matrix4 ComposeMatrix(const Vector& scale, const Quaternion& rotation, const Vector& translation) {
    Matrix4 m = MatrixFromQuaternion(rotation);
    const float s[3] = {scale.x, scale.y, scale.z};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            m.m[i][j] *= s[i];
        }
    }
    m.m[3][0] = translation.x;
    m.m[3][1] = translation.y;
    m.m[3][2] = translation.z;
    return m;
}

float ColorGetAlpha(D3DCOLOR c) {
    return float((c >> 24) & 0xFF) / 255.0f;
}
float ColorGetRed(D3DCOLOR c) {
    return float((c >> 16) & 0xFF) / 255.0f;
}
float ColorGetGreen(D3DCOLOR c) {
    return float((c >> 8) & 0xFF) / 255.0f;
}
float ColorGetBlue(D3DCOLOR c) {
    return float(c & 0xFF) / 255.0f;
}

namespace {
std::uint32_t Channel(float v) {
    const float clamped = std::clamp(v, 0.0f, 1.0f);
    return static_cast<std::uint32_t>(std::lround(clamped * 255.0f));
}
} // namespace

D3DCOLOR CreateColorRGBA(float r, float g, float b, float a) {
    return (Channel(a) << 24) | (Channel(r) << 16) | (Channel(g) << 8) | Channel(b);
}

D3DCOLOR CreateColorRGB(float r, float g, float b) {
    return CreateColorRGBA(r, g, b, 1.0f);
}

} // namespace rm

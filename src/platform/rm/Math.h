#pragma once

// Vector, quaternion, matrix and colour functions of the scene services.
// Conventions as in Types.h: row vectors, p' = p M, left-handed.

#include "platform/rm/Types.h"

namespace rm {

Vector VectorAdd(const Vector& a, const Vector& b);
Vector VectorSubtract(const Vector& a, const Vector& b);
Vector VectorScale(const Vector& v, float factor);
float VectorDotProduct(const Vector& a, const Vector& b);
/// a x b = (a.y b.z - a.z b.y, a.z b.x - a.x b.z, a.x b.y - a.y b.x).
Vector VectorCrossProduct(const Vector& a, const Vector& b);
float VectorModulus(const Vector& v);
/// Unit vector along v; a zero vector is returned as (1, 0, 0) and the call reports 0.
int VectorNormalize(Vector* v);
/// Rotates v about axis by theta radians (the same sense as QuaternionFromRotation).
Vector VectorRotate(const Vector& v, const Vector& axis, float theta);

/// The rotation about the (normalised) axis by theta radians: s = cos(theta/2),
/// v = axis sin(theta/2).
Quaternion QuaternionFromRotation(const Vector& axis, float theta);
/// Hamilton product a * b. As matrices, MatrixFromQuaternion(a * b) equals
/// MatrixFromQuaternion(a) * MatrixFromQuaternion(b): a point is turned by a, then by b.
Quaternion QuaternionMultiply(const Quaternion& a, const Quaternion& b);
/// Spherical interpolation from a (alpha 0) to b (alpha 1) along the shorter arc.
Quaternion QuaternionSlerp(const Quaternion& a, const Quaternion& b, float alpha);
Quaternion QuaternionNormalize(const Quaternion& q);
/// The rotation matrix of q, applied as p M (see DESIGN: m[0][1] = 2(xy - zs), ...).
Matrix4 MatrixFromQuaternion(const Quaternion& q);
/// The quaternion of the rotation part (unit rows) of m.
Quaternion QuaternionFromMatrix(const Matrix4& m);

Matrix4 MatrixIdentity();
Matrix4 MatrixMultiply(const Matrix4& a, const Matrix4& b);
/// General inverse; a singular matrix yields the identity and reports 0.
int MatrixInvert(const Matrix4& m, Matrix4* out);
/// p M for the point p (w = 1), divided by the resulting w when it is not 1.
Vector TransformPoint(const Vector& p, const Matrix4& m);
/// v M for the direction v (w = 0).
Vector TransformDirection(const Vector& v, const Matrix4& m);
Matrix4 MatrixTranslation(const Vector& t);
Matrix4 MatrixScale(const Vector& s);

/// Scale, rotation and translation of an affine matrix m = S R T (row vectors).
struct Decomposed {
    Vector scale{1, 1, 1};
    Quaternion rotation;
    Vector translation;
};
Decomposed DecomposeMatrix(const Matrix4& m);
Matrix4 ComposeMatrix(const Vector& scale, const Quaternion& rotation, const Vector& translation);

float ColorGetAlpha(D3DCOLOR c);
float ColorGetRed(D3DCOLOR c);
float ColorGetGreen(D3DCOLOR c);
float ColorGetBlue(D3DCOLOR c);
/// Channels in 0..1 (clamped) packed as 0xAARRGGBB.
D3DCOLOR CreateColorRGBA(float r, float g, float b, float a);
D3DCOLOR CreateColorRGB(float r, float g, float b);

} // namespace rm

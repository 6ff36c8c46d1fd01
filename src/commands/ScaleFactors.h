#pragma once

/// Three scale factors along x, y and z, as the scale dialogs take them.
struct ScaleFactors {
    float x = 1.0f;
    float y = 1.0f;
    float z = 1.0f;
};

/// The factor limit of the scale dialogs: a value v with 0 <= v < 0.01 becomes 0.01, one
/// with -0.01 < v < 0 becomes -0.01; every other value stays (negative factors mirror, and
/// the "Max : x100" of the dialogs is not enforced). So a factor of 0 is never passed on.
float LimitScaleFactor(float value);
/// The limit applied to each of the three factors.
ScaleFactors LimitScaleFactors(const ScaleFactors& factors);

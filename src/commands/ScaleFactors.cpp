#include "commands/ScaleFactors.h"

namespace {

// The 32-bit float nearest to 0.01.
constexpr float kSmallestFactor = 0.01f;

} // namespace

float LimitScaleFactor(float value) {
    if (value >= 0.0f && value < kSmallestFactor) {
        return kSmallestFactor;
    }
    if (value < 0.0f && value > -kSmallestFactor) {
        return -kSmallestFactor;
    }
    return value;
}

ScaleFactors LimitScaleFactors(const ScaleFactors& factors) {
    return {LimitScaleFactor(factors.x), LimitScaleFactor(factors.y), LimitScaleFactor(factors.z)};
}

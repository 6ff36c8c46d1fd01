#include "app/KeyTimeRules.h"

#include <cmath>
#include <cstdint>

#include "app/ProgramState.h"
#include "platform/rm/AnimationSet.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"

unsigned ToKeyTime(float time) {
    // Truncating through a 64-bit integer keeps the conversion defined for negative and
    // very large times.
    if (!(std::fabs(time) < 9.0e18f)) {
        return 0;
    }
    return static_cast<unsigned>(static_cast<std::int64_t>(time));
}

float FirstKeyTime(const CAnimationData* animation) {
    return animation != nullptr ? animation->KeyTime(0) : 0.0f;
}

float LastKeyTime(const CAnimationData* animation) {
    if (animation == nullptr || animation->KeyTimeCount() == 0) {
        return 0.0f;
    }
    return animation->KeyTime(static_cast<int>(animation->KeyTimeCount()) - 1);
}

float WrapPastLastKeyTime(const CAnimationData* animation, float time) {
    return time > LastKeyTime(animation) ? FirstKeyTime(animation) : time;
}

void PoseAnimation(CAnimationData* animation, float time) {
    if (animation == nullptr || animation->Set() == nullptr) {
        return;
    }
    animation->Pose(time);
    if (CModelData* model = animation->Model()) {
        model->UpdateSkin();
    }
}

void RecomputeKeyIndex() {
    if (g_currentAnimation == nullptr) {
        return;
    }
    const unsigned previous = g_keyIndex;
    const unsigned count = g_currentAnimation->KeyTimeCount();
    for (unsigned i = 0; i < count; ++i) {
        if (g_currentAnimation->KeyTime(static_cast<int>(i)) > g_currentTime) {
            break;
        }
        g_keyIndex = i;
    }
    if (g_keyIndex != previous) {
        g_keyTime = ToKeyTime(g_currentTime);
    }
}

unsigned CurrentKeyLength() {
    if (g_currentAnimation == nullptr || g_keyIndex + 1 >= g_currentAnimation->KeyTimeCount()) {
        return 0;
    }
    return ToKeyTime(g_currentAnimation->KeyTime(static_cast<int>(g_keyIndex + 1))) - g_keyTime;
}

#include "session/KeyTimeRules.h"

#include <cmath>
#include <cstdint>

#include "platform/rm/AnimationSet.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"

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

void RecomputeKeyIndex(session::EditContext& context) {
    if (context.currentAnimation == nullptr) {
        return;
    }
    const unsigned previous = context.keyIndex;
    const unsigned count = context.currentAnimation->KeyTimeCount();
    for (unsigned i = 0; i < count; ++i) {
        if (context.currentAnimation->KeyTime(static_cast<int>(i)) > context.currentTime) {
            break;
        }
        context.keyIndex = i;
    }
    if (context.keyIndex != previous) {
        context.keyTime = ToKeyTime(context.currentTime);
    }
}

unsigned CurrentKeyLength(const session::EditContext& context) {
    if (context.currentAnimation == nullptr ||
        context.keyIndex + 1 >= context.currentAnimation->KeyTimeCount()) {
        return 0;
    }
    return ToKeyTime(context.currentAnimation->KeyTime(static_cast<int>(context.keyIndex + 1))) -
           context.keyTime;
}

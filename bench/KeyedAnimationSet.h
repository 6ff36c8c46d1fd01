#pragma once

// A large animation set for the key benchmarks: kParts parts, each with rotation, scale and
// position keys at kTimes times. The times of part p are timeOf(p, t) for t in [0, kTimes).

#include "CurrentFactory.h"
#include "platform/rm/Math.h"
#include "scene/CAnimationData.h"
#include "scene/SceneContext.h"

template <typename TimeOf>
struct KeyedAnimationSet : CurrentFactory {
    explicit KeyedAnimationSet(TimeOf timeOf) {
        data.CreateEmptySet();
        for (int p = 0; p < kParts; ++p) {
            rm::Ref<rm::Animation> animation;
            d3drm->CreateAnimation(&animation);
            for (int t = 0; t < kTimes; ++t) {
                const float time = timeOf(p, t);
                animation->AddRotateKey(time, rm::QuaternionFromRotation({0, 1, 0}, 0.01f * t));
                animation->AddScaleKey(time, 1, 1, 1);
                animation->AddPositionKey(time, float(t), 0, 0);
            }
            data.m_set->AddAnimation(animation.Get());
        }
    }
    CAnimationData data;
};

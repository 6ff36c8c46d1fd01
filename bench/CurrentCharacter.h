#pragma once

// A character built in memory for the editing benchmarks and made current in its own edit
// context: the shared factory, a model and an animation set whose parts the benchmark adds
// one by one.

#include <memory>
#include <string>
#include <vector>

#include "CurrentFactory.h"
#include "platform/rm/AnimationSet.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"

class CurrentCharacter : public CurrentFactory {
public:
    CurrentCharacter() {
        model = std::make_unique<CModelData>();
        animation = std::make_unique<CAnimationData>();
        animation->CreateEmptySet();
    }
    ~CurrentCharacter() {
        context.EmptyCurrentPointers();
        animation.reset();
        animations.clear();
        parts.clear();
        model.reset();
    }

    /// A new part "Part<n>" (n counting from 0) under `parent`, with an animation of its own
    /// (no keys yet) in the set; both are kept in `parts` and `animations`.
    rm::Animation* AddPart(rm::Frame* parent) {
        rm::Ref<rm::Frame> part;
        d3drm->CreateFrame(parent, &part);
        part->SetName(("Part" + std::to_string(parts.size())).c_str());
        rm::Ref<rm::Animation> keys;
        d3drm->CreateAnimation(&keys);
        keys->SetFrame(part.Get());
        animation->m_set->AddAnimation(keys.Get());
        parts.push_back(part);
        animations.push_back(keys);
        return keys.Get();
    }

    /// Builds the key-time list and makes the character current.
    void MakeCurrent() {
        animation->UpdateTotalKeyTimeBuffer();
        context.currentModel = model.get();
        context.currentAnimation = animation.get();
    }

    session::EditContext context;
    std::unique_ptr<CModelData> model;
    std::unique_ptr<CAnimationData> animation;
    std::vector<rm::Ref<rm::Frame>> parts;
    std::vector<rm::Ref<rm::Animation>> animations;
};

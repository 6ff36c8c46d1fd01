#pragma once

// A scene data model ready for tests: the shared factory, an object store publishing its
// libraries, and the scene messages captured instead of printed.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rm/Context.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/SceneContext.h"
#include "scene/SceneMessages.h"

class SceneFixture : public ::testing::Test {
protected:
    SceneFixture() {
        rm::Direct3DRMCreate(&d3drm);
        g_d3drm = d3drm.Get();
        store = std::make_unique<CObjectStore>(&g_modelLibrary, &g_animationLibrary);
        previousHook =
            scene::SetMessageHook([this](std::string_view text) { messages.emplace_back(text); });
    }
    ~SceneFixture() override {
        store.reset();
        g_d3drm = nullptr;
        scene::SetMessageHook(previousHook);
    }

    /// A frame named name under parent (the frame stays alive through its parent).
    rm::Frame* AddFrame(rm::Frame* parent, const char* name) {
        rm::Ref<rm::Frame> frame;
        d3drm->CreateFrame(parent, &frame);
        frame->SetName(name);
        return frame.Get();
    }

    /// An animation set as a load would leave it: each animation named animName drives a
    /// frame named frameName (under a scratch parent), then frames and animations get their
    /// working names.
    CAnimationData* MakeAnimation(const char* entryName,
                                  const std::vector<std::pair<const char*, const char*>>& parts) {
        CAnimationData* data = NewAnimation(entryName);
        rm::Ref<rm::Frame> parent;
        d3drm->CreateFrame(nullptr, &parent);
        for (const auto& [animName, frameName] : parts) {
            rm::Ref<rm::Animation> animation;
            d3drm->CreateAnimation(&animation);
            animation->SetName(animName);
            animation->SetFrame(AddFrame(parent.Get(), frameName));
            data->m_set->AddAnimation(animation.Get());
        }
        scene::NameFrameTree(parent.Get(), scene::FrameOrigin::AnimationSetLoad, nullptr);
        data->NameAnimations();
        return data;
    }

    rm::Animation* AnimationAt(CAnimationData* data, std::size_t i) {
        return data->m_set->Animations()[i].Get();
    }

    rm::Ref<rm::Context> d3drm;
    std::unique_ptr<CObjectStore> store;
    std::vector<std::string> messages;
    scene::MessageHook previousHook;
};

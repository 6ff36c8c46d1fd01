#pragma once

// A character with position keys for the batch edits, and what a user can see of a
// character in a file: its part names, mesh vertices, key times and position keys.
//
// The character is the two boxes of TestCharacters.h ("Body" and "Arm" above it); its
// animation set starts at key time 5: both parts have rotation keys at 5 and 15, the Arm
// position keys at 5 and 15 as well.

#include <memory>
#include <string>
#include <vector>

#include <QString>

#include "app/TestCharacters.h"
#include "platform/rm/Animation.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Context.h"
#include "platform/rm/Frame.h"
#include "platform/rm/MeshBuilder.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/CPartRecord.h"
#include "scene/DocumentOpen.h"
#include "scene/SceneContext.h"

namespace batch_test {

inline const std::vector<float> kKeyTimes = {5, 15};
/// The Arm's position keys at the two key times.
inline const rm::Vector kArmPositions[2] = {{0.0f, 0.5f, 0.0f}, {0.25f, 0.75f, -0.5f}};

inline std::string CharacterText() {
    std::string text = "xof 0303txt 0032\r\n\r\n" + shell_test::CharacterFrames();
    text += "\r\nAnimationSet Turn {\r\n";
    text += shell_test::RotationKeys("Body", kKeyTimes, false);
    std::string arm = shell_test::RotationKeys("Arm", kKeyTimes, true);
    // The Arm's position keys go into its Animation block, after its rotation keys.
    std::string positions = "  AnimationKey {\r\n   2;\r\n   2;\r\n";
    for (int i = 0; i < 2; ++i) {
        positions += "   " + std::to_string(static_cast<int>(kKeyTimes[i])) + "; 3; " +
                     std::to_string(kArmPositions[i].x) + ", " +
                     std::to_string(kArmPositions[i].y) + ", " +
                     std::to_string(kArmPositions[i].z) + ";;" + (i == 0 ? "," : ";") + "\r\n";
    }
    positions += "  }\r\n";
    arm.insert(arm.rfind(" }\r\n"), positions);
    text += arm + "}\r\n";
    return text;
}

/// What a user sees of a character: frames in depth-first order with their part names
/// and mesh vertices (frame coordinates), and per animation its keys.
struct Snapshot {
    struct Part {
        std::string name;
        rm::Vector offset; // position relative to the parent frame
        std::vector<rm::Vector> vertices;
        std::vector<float> keyTimes;          // all keys of the part's animation
        std::vector<rm::Vector> positionKeys; // values of its position keys
        std::vector<float> positionKeyTimes;
        std::vector<rm::Quaternion> rotationKeys; // values of its rotation keys
    };
    std::vector<Part> parts;
};

/// The parts of `model` (below its root) as bound to `animation`.
inline Snapshot Capture(CModelData* model) {
    Snapshot snapshot;
    if (model == nullptr) {
        return snapshot;
    }
    std::vector<rm::Frame*> pending;
    for (auto it = model->Root()->Children().rbegin(); it != model->Root()->Children().rend();
         ++it) {
        pending.push_back(it->Get());
    }
    while (!pending.empty()) {
        rm::Frame* frame = pending.back();
        pending.pop_back();
        Snapshot::Part part;
        if (const CPartRecord* record = CPartRecord::Of(frame)) {
            part.name = record->baseName.value_or("");
            if (record->animation != nullptr) {
                for (const auto& key : record->animation->Keys()) {
                    part.keyTimes.push_back(key.dvTime);
                    if (key.dwKeyType == rm::D3DRMANIMATION_POSITIONKEY) {
                        part.positionKeys.push_back(key.dvPositionKey);
                        part.positionKeyTimes.push_back(key.dvTime);
                    } else if (key.dwKeyType == rm::D3DRMANIMATION_ROTATEKEY) {
                        part.rotationKeys.push_back(key.dqRotateKey);
                    }
                }
            }
        }
        frame->GetPosition(frame->GetParent(), &part.offset);
        for (const auto& visual : frame->Visuals()) {
            if (auto* builder = dynamic_cast<rm::MeshBuilder*>(visual.Get())) {
                std::uint32_t count = builder->GetVertexCount();
                std::vector<rm::Vector> vertices(count);
                builder->GetVertices(0, &count, vertices.data());
                part.vertices.insert(part.vertices.end(), vertices.begin(), vertices.end());
            }
        }
        snapshot.parts.push_back(part);
        const auto& children = frame->Children();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            pending.push_back(it->Get());
        }
    }
    return snapshot;
}

/// Opens `path` as File Open does in a scene of its own (made and taken down here, the
/// scene globals put back after) and hands the opened document to `look`. false when the
/// file does not open (`look` is not called).
template <class Look>
bool LookAtFile(const std::string& path, Look look) {
    rm::Context* previous = g_d3drm;
    auto* previousModels = g_modelLibrary;
    auto* previousAnimations = g_animationLibrary;
    rm::Ref<rm::Context> d3drm;
    rm::Direct3DRMCreate(&d3drm);
    g_d3drm = d3drm.Get();
    bool opened = false;
    {
        auto store = std::make_unique<CObjectStore>(&g_modelLibrary, &g_animationLibrary);
        rm::Ref<rm::Frame> sceneFrame;
        d3drm->CreateFrame(nullptr, &sceneFrame);
        scene::SceneDocument doc;
        doc.sceneFrame = sceneFrame.Get();
        doc.store = store.get();
        if (scene::OpenDocument(doc, path.c_str(), scene::kOpenNewScene).ok) {
            opened = true;
            look(doc);
        }
        store.reset();
    }
    g_d3drm = previous;
    g_modelLibrary = previousModels;
    g_animationLibrary = previousAnimations;
    return opened;
}

/// LookAtFile capturing the character. Empty when it does not open.
inline Snapshot CaptureFile(const std::string& path) {
    Snapshot snapshot;
    LookAtFile(path,
               [&](const scene::SceneDocument& doc) { snapshot = Capture(doc.currentModel); });
    return snapshot;
}

} // namespace batch_test

#pragma once

// What the tests of the undo core share: a character built in memory (a chain of parts,
// each with a small mesh and rotation keys at the same times) made current, and a way to
// tell whether the scene is exactly as a picture taken earlier shows it.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "commands/SceneImage.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Math.h"
#include "platform/rm/MeshBuilder.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "scene/SceneFixture.h"
#include "session/EditContext.h"

class UndoFixture : public SceneFixture {
protected:
    static constexpr int kParts = 6;
    static constexpr int kTimes = 64;

    UndoFixture() {
        model = std::make_unique<CModelData>();
        animation = std::make_unique<CAnimationData>();
        animation->CreateEmptySet();
        rm::Frame* parent = model->Root();
        for (int p = 0; p < kParts; ++p) {
            rm::Frame* part = AddFrame(parent, ("Part" + std::to_string(p)).c_str());
            part->SetPosition(parent, 0, 1, 0);
            rm::Ref<rm::MeshBuilder> mesh;
            d3drm->CreateMeshBuilder(&mesh);
            for (int v = 0; v < 8; ++v) {
                mesh->AddVertex(float(v % 2), float(v / 2), float(p));
            }
            const std::uint32_t face[3] = {0, 1, 2};
            mesh->AddFace(3, face, nullptr);
            part->AddVisual(mesh.Get());
            rm::Ref<rm::Animation> keys;
            d3drm->CreateAnimation(&keys);
            keys->SetFrame(part);
            for (int t = 0; t < kTimes; ++t) {
                keys->AddRotateKey(float(t * 10),
                                   rm::QuaternionFromRotation({0, 1, 0}, 0.01f * float(t + p)));
            }
            animation->m_set->AddAnimation(keys.Get());
            parts.push_back(part);
            meshes.push_back(mesh.Get());
            parent = part;
        }
        model->NamePartsAndRecord(model->Root());
        model->RecordPartAnimations(animation->Set());
        animation->m_model = model.get();
        animation->UpdateTotalKeyTimeBuffer();
        context.currentModel = model.get();
        context.currentAnimation = animation.get();
    }
    ~UndoFixture() override {
        context.Reset();
        animation.reset();
        model.reset();
    }

    /// What the edits under test work on.
    session::EditContext context;

    rm::Animation* PartAnimation(int p) const {
        return animation->Set()->Animations()[std::size_t(p)].Get();
    }

    /// A picture of everything an edit may touch.
    SceneImage PictureOfAll(CModelData* model) {
        SceneImage image;
        image.CaptureCurrent(context);
        image.CaptureFrames(model->Root());
        image.CaptureSet(context.currentAnimation);
        image.CaptureMeshes(model->Root());
        return image;
    }

    /// Whether the scene is byte for byte as `picture` (of everything) shows it.
    ::testing::AssertionResult SameAs(SceneImage picture) {
        SceneImage now;
        const SceneImage::Differences d = SceneImage::TakeAfter(picture, &now);
        if (d.frames || d.animations || d.meshes) {
            return ::testing::AssertionFailure()
                   << "differs in" << (d.frames ? " frames" : "")
                   << (d.animations ? " animations" : "") << (d.meshes ? " meshes" : "");
        }
        return ::testing::AssertionSuccess();
    }

    std::unique_ptr<CModelData> model;
    std::unique_ptr<CAnimationData> animation;
    std::vector<rm::Frame*> parts;
    std::vector<rm::MeshBuilder*> meshes;
};

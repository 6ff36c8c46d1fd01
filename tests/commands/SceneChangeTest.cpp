#include "commands/SceneChange.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "UndoFixture.h"
#include "commands/ScaledLanes.h"
#include "session/EditContext.h"

namespace {

class SceneChangeTest : public UndoFixture {
protected:
    /// Pictures everything, runs `edit`, and returns the change it made, leaving the scene
    /// as the edit left it; `*before` and `*after` are full pictures of both states.
    template <typename Edit>
    SceneChange Record(Edit edit, SceneImage* before, SceneImage* after) {
        *before = PictureOfAll(model.get());
        SceneImage open = *before;
        edit();
        *after = PictureOfAll(model.get());
        SceneImage taken;
        SceneImage::TakeAfter(open, &taken);
        return SceneChange::Between(open, taken);
    }
};

TEST_F(SceneChangeTest, UndoAndRedoGiveBackEachStateByteForByte) {
    struct Case {
        const char* name;
        std::function<void()> edit;
    };
    const std::vector<Case> cases = {
        {"turn one part and key it",
         [this] {
             const rm::Quaternion q = rm::QuaternionFromRotation({1, 0, 0}, 0.3f);
             parts[3]->SetQuaternion(parts[2], q);
             PartAnimation(3)->AddRotateKey(320, q);
         }},
        {"paste a key time onto another for every part",
         [this] {
             animation->CopyKeys(55, 20);
             animation->UpdateTotalKeyTimeBuffer();
             context.keyTime = 55;
         }},
        {"a key at a new time for one part, and the time moved",
         [this] {
             PartAnimation(1)->AddPositionKey(1000, 1, 2, 3);
             animation->UpdateTotalKeyTimeBuffer();
             context.currentTime = 1000;
         }},
        {"keys removed from the middle",
         [this] {
             for (const float time : {100.0f, 110.0f, 120.0f}) {
                 animation->DeleteKeysAt(time);
             }
             animation->UpdateTotalKeyTimeBuffer();
         }},
        {"re-parent a part",
         [this] {
             parts[1]->AddChild(parts[4]);
             parts[4]->SetName("moved");
         }},
        {"move the vertices of two meshes",
         [this] {
             meshes[0]->SetVertex(3, 9, 9, 9);
             meshes[5]->SetVertex(0, -1, -1, -1);
             meshes[5]->SetVertex(7, -1, -1, -1);
         }},
        {"scale the whole model", [this] { model->Scale(model->Root(), 2, 2, 2); }},
    };
    for (const Case& c : cases) {
        SceneImage before, after;
        const std::vector<float> timesBefore = animation->KeyTimeList();
        const unsigned keyTimeBefore = context.keyTime;
        const float timeBefore = context.currentTime;
        const SceneChange change = Record([&] { c.edit(); }, &before, &after);
        const std::vector<float> timesAfter = animation->KeyTimeList();

        change.Undo();
        EXPECT_TRUE(SameAs(before)) << c.name;
        EXPECT_EQ(animation->KeyTimeList(), timesBefore) << c.name;
        EXPECT_EQ(context.keyTime, keyTimeBefore) << c.name;
        EXPECT_EQ(context.currentTime, timeBefore) << c.name;
        change.Redo();
        EXPECT_TRUE(SameAs(after)) << c.name;
        EXPECT_EQ(animation->KeyTimeList(), timesAfter) << c.name;
        // Back where the case started, for the next one.
        change.Undo();
    }
}

TEST_F(SceneChangeTest, AStepOfOnePartKeepsTheOneKeyAndTheOneMatrixNotTheCharacter) {
    SceneImage before, after;
    const rm::Quaternion q = rm::QuaternionFromRotation({1, 0, 0}, 0.3f);
    const SceneChange turn = Record(
        [&] {
            parts[3]->SetQuaternion(parts[2], q);
            PartAnimation(3)->AddRotateKey(320, q);
        },
        &before, &after);
    // The keys of one part alone are 64 * 32 bytes; the frames' pictures several KB.
    EXPECT_LT(turn.Bytes(), std::size_t(1024));

    const SceneChange nothing = Record([] {}, &before, &after);
    EXPECT_LT(nothing.Bytes(), std::size_t(512));
}

TEST_F(SceneChangeTest, AModelScaleKeepsFewBytesAndComesBackExactlyWhateverThePoseBetween) {
    // A mesh large enough for its vertices to be kept as they follow from each other, a
    // skinned one, and position keys on every part.
    for (int v = 0; v < 3000; ++v) {
        meshes[0]->AddVertex(float(v % 17) * 0.37f, -float(v % 5), float(v) * 0.001f);
    }
    for (int p = 0; p < kParts; ++p) {
        for (int t = 0; t < kTimes; ++t) {
            PartAnimation(p)->AddPositionKey(float(t * 10), float(t), 0.5f * float(p), -1.0f);
        }
    }
    // A skin on another mesh: a scale changes its bones' offsets, not their weights.
    rm::MeshSkin skin;
    skin.maxWeightsPerVertex = 2;
    skin.maxWeightsPerFace = 2;
    for (int b = 0; b < 2; ++b) {
        rm::SkinBone bone;
        bone.frameName = "Part" + std::to_string(b + 1);
        for (std::uint32_t v = 0; v < 8; ++v) {
            bone.vertices.push_back(v);
            bone.weights.push_back(0.25f + 0.5f * float(b));
        }
        bone.offset.m[3][1] = -float(b + 1);
        skin.bones.push_back(std::move(bone));
    }
    meshes[1]->SetSkin(skin);
    for (const float factor : {1.01f, -3.0f, 0.3f}) {
        const auto edit = [&] {
            model->Scale(model->Root(), factor, factor, factor);
            animation->ScalePositionKeys(factor, factor, factor, -1.0f);
        };
        SceneImage before, after;
        ScaledLanes::SetEnabled(false);
        const SceneChange plain = Record(edit, &before, &after);
        plain.Undo();
        ScaledLanes::SetEnabled(true);
        const SceneChange scale = Record(edit, &before, &after);
        EXPECT_LT(scale.Bytes() * 5, plain.Bytes()) << factor;

        // The pose changes between the steps (the time moved); the frames still come back
        // as each side of the step had them.
        scale.Undo();
        EXPECT_TRUE(SameAs(before)) << factor;
        parts[2]->SetQuaternion(parts[1], rm::QuaternionFromRotation({0, 0, 1}, 0.7f));
        scale.Redo();
        EXPECT_TRUE(SameAs(after)) << factor;
        parts[4]->SetQuaternion(parts[3], rm::QuaternionFromRotation({1, 0, 0}, -0.2f));
        scale.Undo();
        EXPECT_TRUE(SameAs(before)) << factor;
    }
}

} // namespace

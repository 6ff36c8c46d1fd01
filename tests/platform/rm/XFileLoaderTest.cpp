// What the three loads make of a file: which frames, which builders (shared or not), the
// face attributes, and how animations find the frames they drive.

#include "platform/rm/XFileLoader.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/rm/AnimationSet.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Math.h"
#include "platform/rm/MeshBuilder.h"
#include "support/RmMatchers.h"
#include "support/XFileTestSupport.h"

using namespace rm;
using namespace testing_xfile;
using testing_rm::RotationNear;
using testing_rm::VectorNear;

namespace {

const char* const kHeader = "xof 0303txt 0032\n";

std::string Triangle(const char* name, const char* extra = "") {
    return std::string("Mesh ") + name + " { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; " + extra +
           "}\n";
}

std::string MaterialText(const char* name, const char* rgba, const char* texture) {
    std::string m = std::string("Material ") + name + " { " + rgba + ";; 1; 0;0;0;; 0;0;0;; ";
    if (texture) {
        m += std::string("TextureFilename { \"") + texture + "\"; } ";
    }
    return m + "}\n";
}

Ref<Frame> LoadFrames(const std::string& text) {
    auto root = MakeRef<Frame>();
    const std::string path = WriteScratch("loader.x", kHeader + text);
    EXPECT_EQ(root->Load(path.c_str()), D3DRM_OK) << GetLastLoadMessage();
    return root;
}

Ref<AnimationSet> LoadAnimations(const std::string& text, Frame* parent) {
    auto set = MakeRef<AnimationSet>();
    const std::string path = WriteScratch("animation.x", kHeader + text);
    EXPECT_EQ(set->Load(path.c_str(), parent), D3DRM_OK) << GetLastLoadMessage();
    return set;
}

MeshBuilder* BuilderOf(const Frame& frame, std::size_t i = 0) {
    return i < frame.Visuals().size() ? dynamic_cast<MeshBuilder*>(frame.Visuals()[i].Get())
                                      : nullptr;
}

} // namespace

// Top-level frames and top-level meshes no frame shows are added in file order after the
// children the frame already had; a referenced mesh is the same builder wherever shown.
TEST(XFileLoaderTest, FrameLoadAddsTheFilesTopLevelObjectsInOrder) {
    auto root = MakeRef<Frame>();
    auto old = MakeRef<Frame>();
    old->SetName("Old");
    root->AddChild(old.Get());
    const std::string path =
        WriteScratch("order.x", kHeader + std::string("Frame A { { Shared } { Later } }\n") +
                                    Triangle("Shared") + Triangle("Loose") +
                                    "Frame B { Frame C { { Shared } } }\n" + Triangle("Later"));
    ASSERT_EQ(root->Load(path.c_str()), D3DRM_OK) << GetLastLoadMessage();

    const auto& children = root->Children();
    ASSERT_EQ(children.size(), 4u);
    EXPECT_EQ(children[0]->Name(), "Old");
    EXPECT_EQ(children[1]->Name(), "A");
    EXPECT_EQ(children[2]->Name(), "");
    EXPECT_EQ(children[3]->Name(), "B");
    ASSERT_NE(BuilderOf(*children[2]), nullptr);
    EXPECT_EQ(BuilderOf(*children[2])->Name(), "Loose");

    MeshBuilder* shared = BuilderOf(*children[1], 0);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->Name(), "Shared");
    ASSERT_EQ(children[3]->Children().size(), 1u);
    EXPECT_EQ(BuilderOf(*children[3]->Children()[0]), shared);
    // A reference may name a mesh written later in the file.
    ASSERT_NE(BuilderOf(*children[1], 1), nullptr);
    EXPECT_EQ(BuilderOf(*children[1], 1)->Name(), "Later");
}

TEST(XFileLoaderTest, FacesKeepTheirPolygonsAndDefaultToWhiteWithoutMaterial) {
    const auto root =
        LoadFrames("Frame F { Mesh { 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;; 2; 4;0,1,2,3;, 3;0,2,1;;"
                   " MeshNormals { 1; 0;0;1;; 1; 4;0,0,0,0;; } } }\n");
    ASSERT_EQ(root->Children().size(), 1u);
    const MeshBuilder* mesh = BuilderOf(*root->Children()[0]);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->Name(), "");
    ASSERT_EQ(mesh->GetFaceCount(), 2u);
    EXPECT_EQ(mesh->FaceCornerCount(0), 4u);
    EXPECT_EQ(mesh->FaceCornerCount(1), 3u);
    for (std::uint32_t f = 0; f < 2; ++f) {
        EXPECT_EQ(mesh->FaceColor(f), 0xFFFFFFFFu);
        EXPECT_EQ(mesh->FaceMaterial(f), nullptr);
        EXPECT_EQ(mesh->FaceTexture(f), nullptr);
    }
    // MeshNormals covers only the first face; the second has no normals.
    EXPECT_EQ(mesh->FaceNormalIndex(0, 3), 0u);
    EXPECT_EQ(mesh->FaceNormalIndex(1, 0), UINT32_MAX);
    EXPECT_FALSE(mesh->HasVertexColors());
}

// Fewer face indexes than faces: the last index holds for the rest (one index for all is
// how files say "every face uses material 0").
TEST(XFileLoaderTest, AShortMaterialIndexListRepeatsItsLastIndex) {
    const std::string quad3 = "3; 0;0;0;, 1;0;0;, 0;1;0;; 3; 3;0,1,2;, 3;0,2,1;, 3;1,2,0;;";
    const std::string red = "Material { 1;0;0;1;; 0; 0;0;0;; 0;0;0;; }";
    const std::string blue = "Material { 0;0;1;1;; 0; 0;0;0;; 0;0;0;; }";
    const struct {
        std::string list;
        std::uint32_t expected[3];
    } cases[] = {
        {"1; 1; 0;; " + red, {0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u}},
        {"2; 2; 1, 0;; " + red + blue, {0xFF0000FFu, 0xFFFF0000u, 0xFFFF0000u}},
        {"2; 3; 0, 1, 1;; " + red + blue, {0xFFFF0000u, 0xFF0000FFu, 0xFF0000FFu}},
        {"2; 4; 1, 1, 0, 1;; " + red + blue, {0xFF0000FFu, 0xFF0000FFu, 0xFFFF0000u}},
    };
    for (const auto& c : cases) {
        const auto root =
            LoadFrames("Frame F { Mesh { " + quad3 + " MeshMaterialList { " + c.list + " } } }");
        ASSERT_EQ(root->Children().size(), 1u) << c.list;
        const MeshBuilder* mesh = BuilderOf(*root->Children()[0]);
        ASSERT_NE(mesh, nullptr) << c.list;
        for (std::uint32_t f = 0; f < 3; ++f) {
            EXPECT_EQ(mesh->FaceColor(f), c.expected[f]) << c.list << " face " << f;
        }
    }
}

TEST(XFileLoaderTest, MaterialsAreSharedAndTexturesAreOnePerFileName) {
    const auto root = LoadFrames(
        MaterialText("Wood", "0.5;0.25;0;1", "wood.png") +
        MaterialText("Oak", "1;1;1;1", "wood.png") + MaterialText("Stone", "1;1;1;1", "stone.png") +
        "Frame F { " + Triangle("A", "MeshMaterialList { 1; 1; 0;; { Wood } }") +
        Triangle("B", "MeshMaterialList { 3; 1; 2;; { Wood } { Oak } { Stone } }") +
        Triangle("C", "MeshMaterialList { 1; 1; 0;; { Oak } }") + "}");
    ASSERT_EQ(root->Children().size(), 1u);
    const Frame& frame = *root->Children()[0];
    const MeshBuilder* a = BuilderOf(frame, 0);
    const MeshBuilder* b = BuilderOf(frame, 1);
    const MeshBuilder* c = BuilderOf(frame, 2);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->FaceColor(0), CreateColorRGBA(0.5f, 0.25f, 0, 1));
    EXPECT_EQ(a->FaceMaterial(0)->Name(), "Wood");
    EXPECT_EQ(c->FaceMaterial(0)->Name(), "Oak");
    EXPECT_NE(a->FaceMaterial(0), c->FaceMaterial(0));
    EXPECT_EQ(a->FaceTexture(0), c->FaceTexture(0)); // Wood and Oak name the same file
    EXPECT_EQ(b->FaceMaterial(0)->Name(), "Stone");
    EXPECT_NE(b->FaceTexture(0), a->FaceTexture(0));
    EXPECT_EQ(b->FaceTexture(0)->Name(), "stone.png");
}

TEST(XFileLoaderTest, MeshBuilderLoadTakesTheFirstTopLevelMeshAndReplacesItsContent) {
    auto builder = MakeRef<MeshBuilder>();
    builder->AddVertex(9, 9, 9);
    builder->AddVertex(9, 9, 9);
    builder->AddVertex(9, 9, 9);
    builder->AddVertex(9, 9, 9);
    const std::string path =
        WriteScratch("meshes.x", kHeader + std::string("Frame F { ") + Triangle("Nested") + "}\n" +
                                     Triangle("First") + Triangle("Second"));
    ASSERT_EQ(builder->Load(path.c_str()), D3DRM_OK);
    EXPECT_EQ(builder->Name(), "First");
    EXPECT_EQ(builder->GetVertexCount(), 3u);
    EXPECT_EQ(builder->GetFaceCount(), 1u);

    // Without a top-level mesh, the first mesh anywhere.
    const std::string nested =
        WriteScratch("nested.x", kHeader + std::string("Frame F { ") + Triangle("Nested") + "}\n");
    ASSERT_EQ(builder->Load(nested.c_str()), D3DRM_OK);
    EXPECT_EQ(builder->Name(), "Nested");
}

TEST(XFileLoaderTest, AnimationsDriveTheFramesTheyNameOrNewFramesOfThatName) {
    auto parent = MakeRef<Frame>();
    const auto set = LoadAnimations(
        "Frame Hip { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,5,0,1;; } " +
            Triangle("Pelvis") +
            " Frame Knee { } }\n"
            "AnimationSet Walk {\n"
            " Animation A { { Knee } }\n"
            " Animation B { { Foot } }\n"
            " Animation C { { Foot } }\n"
            " Animation D { Frame Tail { } }\n"
            " Animation E { }\n"
            "}\n"
            "AnimationSet Run { Animation R { { Hip } } }\n",
        parent.Get());
    EXPECT_EQ(set->Name(), "Walk");
    ASSERT_EQ(set->Animations().size(), 5u);
    const auto& anims = set->Animations();
    EXPECT_EQ(anims[0]->Name(), "A");
    ASSERT_TRUE(anims[0]->GetFrame());
    EXPECT_EQ(anims[0]->GetFrame()->Name(), "Knee");
    EXPECT_EQ(anims[0]->GetFrame()->GetParent()->Name(), "Hip");
    // The file's frames are made under the parent, named, with their matrices; the
    // animations need no meshes.
    const Frame* hip = anims[0]->GetFrame()->GetParent();
    EXPECT_EQ(hip->GetParent(), parent.Get());
    EXPECT_EQ(hip->LocalTransform().m[3][1], 5.0f);
    EXPECT_TRUE(hip->Visuals().empty());
    // Foot is not in the file: one new frame of that name under the parent, for both.
    ASSERT_TRUE(anims[1]->GetFrame());
    EXPECT_EQ(anims[1]->GetFrame()->Name(), "Foot");
    EXPECT_EQ(anims[1]->GetFrame()->GetParent(), parent.Get());
    EXPECT_EQ(anims[2]->GetFrame(), anims[1]->GetFrame());
    // A frame written inside the animation is the one it drives.
    ASSERT_TRUE(anims[3]->GetFrame());
    EXPECT_EQ(anims[3]->GetFrame()->Name(), "Tail");
    EXPECT_EQ(anims[3]->GetFrame()->GetParent(), parent.Get());
    EXPECT_FALSE(anims[4]->GetFrame());
    // Hip, Foot and Tail; nothing from the second set.
    EXPECT_EQ(parent->Children().size(), 3u);
}

TEST(XFileLoaderTest, AnAnimationFileOfItsOwnBindsByNameUnderTheParent) {
    auto parent = MakeRef<Frame>();
    const auto set = LoadAnimations(
        "AnimTicksPerSecond { 60; }\n"
        "AnimationSet { Animation { { Arm } AnimationKey { 2; 1; 0;3;1,2,3;;; } } }\n",
        parent.Get());
    EXPECT_EQ(set->Name(), "");
    EXPECT_EQ(set->TicksPerSecond(), 60u);
    ASSERT_EQ(parent->Children().size(), 1u);
    ASSERT_EQ(set->Animations().size(), 1u);
    EXPECT_EQ(parent->Children()[0]->Name(), "Arm");
    EXPECT_EQ(set->Animations()[0]->GetFrame(), parent->Children()[0]);

    // Without a parent the frames live as long as the animations that drive them.
    auto orphan = MakeRef<AnimationSet>();
    ASSERT_EQ(
        orphan->Load(WriteScratch("orphan.x", kHeader + std::string("AnimationSet { Animation { { "
                                                                    "Arm } } }"))
                         .c_str(),
                     nullptr),
        D3DRM_OK);
    ASSERT_TRUE(orphan->Animations()[0]->GetFrame());
    EXPECT_EQ(orphan->Animations()[0]->GetFrame()->Name(), "Arm");
    EXPECT_EQ(orphan->Animations()[0]->GetFrame()->GetParent(), nullptr);
}

TEST(XFileLoaderTest, AnimationOptionsMapToOpenClosedAndPositionQuality) {
    const struct {
        const char* options;
        std::uint32_t expected;
    } cases[] = {
        {"", kDefaultAnimationOptions},
        // 0 is closed and 1 open, as the file format defines them.
        {"AnimationOptions { 0; 0; }", D3DRMANIMATION_CLOSED | D3DRMANIMATION_SPLINEPOSITION |
                                           D3DRMANIMATION_SCALEANDROTATION |
                                           D3DRMANIMATION_POSITION},
        {"AnimationOptions { 1; 1; }", D3DRMANIMATION_OPEN | D3DRMANIMATION_LINEARPOSITION |
                                           D3DRMANIMATION_SCALEANDROTATION |
                                           D3DRMANIMATION_POSITION},
        {"AnimationOptions { 0; 1; }", D3DRMANIMATION_CLOSED | D3DRMANIMATION_LINEARPOSITION |
                                           D3DRMANIMATION_SCALEANDROTATION |
                                           D3DRMANIMATION_POSITION},
    };
    for (const auto& c : cases) {
        auto parent = MakeRef<Frame>();
        const auto set = LoadAnimations(
            std::string("AnimationSet { Animation { { F } ") + c.options + " } }", parent.Get());
        ASSERT_EQ(set->Animations().size(), 1u);
        EXPECT_EQ(set->Animations()[0]->GetOptions(), c.expected) << c.options;
    }
}

// Keys come out in time order whatever order the file lists them in; rotation keys keep
// (s, x, y, z) as written; a matrix key becomes a rotation, a scale and a position key.
TEST(XFileLoaderTest, KeysAreSortedAndMatrixKeysAreSplit) {
    const Quaternion turn = QuaternionFromRotation({0, 1, 0}, std::numbers::pi_v<float> / 2);
    const Matrix4 m = ComposeMatrix({2, 3, 4}, turn, {1, -2, 5});
    std::string matrix;
    for (const auto& row : m.m) {
        for (float v : row) {
            matrix += std::to_string(v) + ",";
        }
    }
    matrix.pop_back();
    auto parent = MakeRef<Frame>();
    const auto set = LoadAnimations(
        "AnimationSet { Animation { { F }\n"
        " AnimationKey { 0; 3; 20;4;0.5,0.5,0.5,0.5;;, 0;4;1,0,0,0;;, 10;4;0,0,1,0;;; }\n"
        " AnimationKey { 2; 1; 10;3;7,8,9;;; }\n"
        " AnimationKey { 4; 1; 30;16;" +
            matrix + ";;; }\n} }",
        parent.Get());
    ASSERT_EQ(set->Animations().size(), 1u);
    const auto& keys = set->Animations()[0]->Keys();
    ASSERT_EQ(keys.size(), 7u);
    const float times[] = {0, 10, 10, 20, 30, 30, 30};
    const std::uint32_t types[] = {1, 1, 3, 1, 1, 2, 3};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].dvTime, times[i]) << i;
        EXPECT_EQ(keys[i].dwKeyType, types[i]) << i;
    }
    EXPECT_EQ(keys[1].dqRotateKey.s, 0.0f);
    EXPECT_EQ(keys[1].dqRotateKey.v.y, 1.0f);
    EXPECT_EQ(keys[3].dqRotateKey.s, 0.5f);
    EXPECT_THAT(keys[4].dqRotateKey, RotationNear(turn, 1e-5f));
    EXPECT_THAT(keys[5].dvScaleKey, VectorNear(Vector{2, 3, 4}, 1e-5f));
    EXPECT_THAT(keys[6].dvPositionKey, VectorNear(Vector{1, -2, 5}, 1e-5f));
}

// Loading an animation file must not run into a mesh's problems: the animation load does
// not read meshes at all, while the frame load does and reports them.
TEST(XFileLoaderTest, TheAnimationLoadStepsOverMeshes) {
    const std::string path = WriteScratch(
        "badmesh.x", kHeader + std::string("Frame F { Mesh { 1; 0;0;0;; 1; 3;0,1,2;; } }\n"
                                           "AnimationSet { Animation { { F } } }\n"));
    auto root = MakeRef<Frame>();
    EXPECT_EQ(root->Load(path.c_str()), D3DRMERR_BADFILE);
    auto set = MakeRef<AnimationSet>();
    ASSERT_EQ(set->Load(path.c_str(), root.Get()), D3DRM_OK);
    ASSERT_EQ(set->Animations().size(), 1u);
    ASSERT_TRUE(set->Animations()[0]->GetFrame());
    EXPECT_EQ(set->Animations()[0]->GetFrame()->Name(), "F");
}

// A file of meshes without frames loads as one builder holding every mesh, none lost.
TEST(XFileLoaderTest, AFileOfSeveralMeshesAndNoFrameKeepsThemAll) {
    const std::string path =
        WriteScratch("meshes-only.x", kHeader + Triangle("First") +
                                          Triangle("Second", "MeshMaterialList { "
                                                             "1; 1; 0;; Material { "
                                                             "1;0;0;1;; 5; 0;0;0;; "
                                                             "0;0;0;; } }"));
    auto frame = MakeRef<Frame>();
    EXPECT_NE(frame->Load(path.c_str()), D3DRM_OK) << "no frame in the file";
    auto builder = MakeRef<MeshBuilder>();
    ASSERT_EQ(builder->Load(path.c_str()), D3DRM_OK) << GetLastLoadMessage();
    EXPECT_EQ(builder->Name(), "First");
    EXPECT_EQ(builder->GetVertexCount(), 6u);
    ASSERT_EQ(builder->GetFaceCount(), 2u);
    EXPECT_EQ(builder->FaceVertexIndex(1, 2), 5u);
    EXPECT_EQ(builder->FaceColor(1), 0xFFFF0000u);
    EXPECT_EQ(builder->FaceColor(0), 0xFFFFFFFFu);
}

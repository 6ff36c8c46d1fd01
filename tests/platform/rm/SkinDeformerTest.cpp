#include "platform/rm/Implementation/SkinDeformer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "DeviceSceneTest.h"
#include "DeviceTestContext.h"
#include "platform/rm/BoneNameAlias.h"
#include "platform/rm/Implementation/FrameWalk.h"
#include "platform/rm/Implementation/MeshCache.h"
#include "platform/rm/Math.h"

using namespace rm;
using testing_rm::Quad;

namespace {

Ref<Frame> AddFrame(Frame* parent, const char* name, const Matrix4& local) {
    auto frame = MakeRef<Frame>();
    frame->SetName(name);
    frame->AddTransform(D3DRMCOMBINE_REPLACE, local);
    parent->AddChild(frame.Get());
    return frame;
}

void ExpectNear(const Vector& actual, const Vector& expected, float tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST(SkinDeformerTest, MovesAVertexByItsWeightedBonesAndLeavesTheUnweightedRigid) {
    // root -> A (up 2) -> ..., root -> Big (scaled 3), root -> Turned (a quarter turn about
    // z), root -> P (up 10) -> Twin, root -> Twin (down 10), root -> Shown@7f3a (3 along z).
    // The mesh's own frame is 5 along x.
    auto root = MakeRef<Frame>();
    AddFrame(root.Get(), "A", MatrixTranslation({0, 2, 0}));
    AddFrame(root.Get(), "Big", MatrixScale({3, 3, 3}));
    const Matrix4 turn =
        MatrixFromQuaternion(QuaternionFromRotation({0, 0, 1}, std::numbers::pi_v<float> / 2));
    AddFrame(root.Get(), "Turned", turn);
    auto p = AddFrame(root.Get(), "P", MatrixTranslation({0, 10, 0}));
    AddFrame(p.Get(), "Twin", Matrix4{});
    AddFrame(root.Get(), "Twin", MatrixTranslation({0, -10, 0}));
    AddFrame(root.Get(), "Shown@7f3a", MatrixTranslation({0, 0, 3})); // the editor's name
    const Matrix4 rigid = MatrixTranslation({5, 0, 0});
    const Matrix4 left = MatrixTranslation({-1, 0, 0});

    struct Weight {
        const char* bone;
        float weight;
        Matrix4 offset;
    };
    struct Case {
        const char* what;
        std::vector<Weight> weights;
        Vector position, normal;
    };
    const Vector turnedNormal = TransformDirection({0, 1, 0}, turn);
    const Case cases[] = {
        {"one bone, offset then frame", {{"A", 1, left}}, {0, 2, 0}, {0, 1, 0}},
        {"two bones blended", {{"A", 0.5f, left}, {"Big", 0.5f, {}}}, {1.5f, 1, 0}, {0, 1, 0}},
        {"weights summing to a half are used as given", {{"A", 0.5f, left}}, {0, 1, 0}, {0, 1, 0}},
        {"no weight: the mesh's own frame", {}, {6, 0, 0}, {0, 1, 0}},
        {"a bone naming no frame is left out", {{"Nowhere", 1, {}}}, {6, 0, 0}, {0, 1, 0}},
        {"beside a bone left out",
         {{"Nowhere", 0.5f, {}}, {"A", 0.5f, left}},
         {0, 1, 0},
         {0, 1, 0}},
        {"the first frame of the name, depth first", {{"Twin", 1, {}}}, {1, 10, 0}, {0, 1, 0}},
        {"a frame answers to the name before its '@'", {{"Shown", 1, {}}}, {1, 0, 3}, {0, 1, 0}},
        {"the normal turns with the bone",
         {{"Turned", 1, {}}},
         TransformPoint({1, 0, 0}, turn),
         turnedNormal},
    };
    // The editor's working names, "name@identifier", answer to the name before the '@', as
    // its scene layer installs the rule.
    const BoneNameAlias before = GetBoneNameAlias();
    SetBoneNameAlias([](std::string_view name) {
        const std::size_t at = name.rfind('@');
        return at == std::string_view::npos ? std::string_view() : name.substr(0, at);
    });
    FrameWalk walk;
    walk.Walk(root.Get());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MeshSkin skin;
        for (const Weight& w : c.weights) {
            skin.bones.push_back({w.bone, {0}, {w.weight}, w.offset});
        }
        skin.bones.push_back({"A", {7}, {1}, {}}); // a vertex the mesh does not have
        SkinDeformer deformer;
        deformer.Build(skin, nullptr, 1);
        EXPECT_TRUE(deformer.Pose(&walk, rigid));
        MeshVertex rest, out;
        rest.position = {1, 0, 0};
        rest.normal = {0, 1, 0};
        deformer.Deform(&rest, &out);
        ExpectNear(out.position, c.position, 1e-5f);
        ExpectNear(out.normal, c.normal, 1e-5f);
    }
    // Without a rule a frame answers to its own name only.
    SetBoneNameAlias(nullptr);
    walk.Walk(root.Get());
    EXPECT_EQ(walk.Find("Shown"), nullptr);
    EXPECT_NE(walk.Find("Shown@7f3a"), nullptr);
    SetBoneNameAlias(before);
}

// The deformation as its rule reads, one vertex at a time over every influence.
MeshVertex Reference(const MeshSkin& skin, FrameWalk& walk, const Matrix4& rigid,
                     std::uint32_t source, const MeshVertex& rest) {
    Matrix4 sum;
    for (auto& row : sum.m) {
        std::fill(std::begin(row), std::end(row), 0.0f);
    }
    float placed = 0;
    for (const SkinBone& bone : skin.bones) {
        const Matrix4* frame = walk.Find(bone.frameName);
        for (std::size_t k = 0; k < bone.vertices.size(); ++k) {
            if (bone.vertices[k] != source || !frame) {
                continue;
            }
            const Matrix4 m = MatrixMultiply(bone.offset, *frame);
            for (int r = 0; r < 4; ++r) {
                for (int c = 0; c < 4; ++c) {
                    sum.m[r][c] += bone.weights[k] * m.m[r][c];
                }
            }
            placed += bone.weights[k];
        }
    }
    const Matrix4& m = placed == 0 ? rigid : sum;
    // Affine: the weights scale the translation as they scale the rest, never divided out.
    const Vector& p = rest.position;
    const Vector& n = rest.normal;
    MeshVertex out = rest;
    out.position = {p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0],
                    p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1],
                    p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2]};
    out.normal = {n.x * m.m[0][0] + n.y * m.m[1][0] + n.z * m.m[2][0],
                  n.x * m.m[0][1] + n.y * m.m[1][1] + n.z * m.m[2][1],
                  n.x * m.m[0][2] + n.y * m.m[1][2] + n.z * m.m[2][2]};
    VectorNormalize(&out.normal);
    return out;
}

TEST(SkinDeformerTest, EveryInfluenceCountDeformsAsTheRuleReadsInPiecesAndAfterABoneGoes) {
    // Twelve bones turned and moved apart (the last has no frame), vertices of 0 to 7
    // influences, each drawn vertex taken from a shuffled builder vertex.
    auto root = MakeRef<Frame>();
    std::vector<Ref<Frame>> frames;
    MeshSkin skin;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(-1, 1);
    for (int b = 0; b < 12; ++b) {
        const std::string name = "bone" + std::to_string(b);
        if (b < 11) {
            frames.push_back(AddFrame(
                root.Get(), name.c_str(),
                MatrixMultiply(MatrixFromQuaternion(QuaternionFromRotation(
                                   {unit(random), 1, unit(random)}, unit(random))),
                               MatrixTranslation({unit(random), unit(random), unit(random)}))));
        }
        skin.bones.push_back({name, {}, {}, MatrixTranslation({0, 0.1f * float(b), 0})});
    }
    constexpr std::uint32_t kVertices = 400;
    std::vector<MeshVertex> rest(kVertices);
    for (std::uint32_t v = 0; v < kVertices; ++v) {
        rest[v].position = {unit(random), unit(random), unit(random)};
        rest[v].normal = {unit(random), unit(random), 1};
        rest[v].tu = float(v);
        rest[v].color = 0xFF000000u | v;
        const std::uint32_t count = v % 8;
        for (std::uint32_t k = 0; k < count; ++k) {
            SkinBone& bone = skin.bones[(v * 5 + k * 7) % 12];
            bone.vertices.push_back(v);
            bone.weights.push_back(0.1f + 0.05f * float(k));
        }
    }
    std::vector<std::uint32_t> source(kVertices);
    for (std::uint32_t i = 0; i < kVertices; ++i) {
        source[i] = (i * 37) % kVertices;
    }
    std::vector<MeshVertex> restDrawn(kVertices);
    for (std::uint32_t i = 0; i < kVertices; ++i) {
        restDrawn[i] = rest[source[i]];
    }
    const Matrix4 rigid = MatrixTranslation({5, 0, 0});
    SkinDeformer deformer;
    deformer.Build(skin, source.data(), kVertices);
    FrameWalk walk;
    for (const char* stage : {"all placed but one", "after bone5 leaves the tree"}) {
        SCOPED_TRACE(stage);
        walk.Walk(root.Get());
        deformer.Pose(&walk, rigid);
        std::vector<MeshVertex> whole(kVertices), pieces(kVertices);
        deformer.Deform(restDrawn.data(), whole.data());
        for (std::size_t first : {std::size_t(0), std::size_t(133), std::size_t(301)}) {
            const std::size_t last = first == 0 ? 133 : first == 133 ? 301 : kVertices;
            deformer.DeformRange(restDrawn.data(), pieces.data(), first, last);
        }
        for (std::uint32_t i = 0; i < kVertices; ++i) {
            SCOPED_TRACE(i);
            const MeshVertex expected = Reference(skin, walk, rigid, source[i], restDrawn[i]);
            ExpectNear(whole[i].position, expected.position, 1e-4f);
            ExpectNear(whole[i].normal, expected.normal, 1e-4f);
            EXPECT_EQ(whole[i].tu, expected.tu);
            EXPECT_EQ(whole[i].color, expected.color);
            EXPECT_EQ(std::memcmp(&whole[i], &pieces[i], sizeof(MeshVertex)), 0);
        }
        root->DeleteChild(frames[5].Get());
    }
}

TEST(SkinDeformerTest, TheCpuSkinBufferHoldsEachPoseWhetherRewrittenInPlaceOrGivenFreshMemory) {
    testing_rm::DeviceTestContext gl(8, 8);
    if (!gl.Ok()) {
        GTEST_SKIP() << "no OpenGL 3.3 context on the software rasteriser";
    }
    // A strip of 64 vertices with normals on two bones, the second turning each pose.
    auto root = MakeRef<Frame>();
    auto lower = AddFrame(root.Get(), "lower", Matrix4{});
    auto upper = AddFrame(lower.Get(), "upper", MatrixTranslation({0, 1, 0}));
    MeshSkin skin;
    skin.bones.push_back({"lower", {}, {}, {}});
    skin.bones.push_back({"upper", {}, {}, MatrixTranslation({0, -1, 0})});
    std::vector<Vector> points;
    std::vector<std::uint32_t> faces;
    for (std::uint32_t i = 0; i < 32; ++i) {
        points.push_back({0, 0.1f * float(i), 0});
        points.push_back({1, 0.1f * float(i), 0});
        const float share = float(i) / 31;
        for (std::uint32_t v : {2 * i, 2 * i + 1}) {
            skin.bones[0].vertices.push_back(v);
            skin.bones[0].weights.push_back(1 - share);
            skin.bones[1].vertices.push_back(v);
            skin.bones[1].weights.push_back(share);
        }
        if (i > 0) {
            faces.insert(faces.end(), {4, 2 * i - 2, 0, 2 * i, 0, 2 * i + 1, 0, 2 * i - 1, 0});
        }
    }
    faces.push_back(0);
    const Vector facing{0, 0, -1};
    auto builder = MakeRef<MeshBuilder>();
    builder->AddFaces(std::uint32_t(points.size()), points.data(), 1, &facing, faces.data());
    builder->SetSkin(skin);
    std::vector<MeshVertex> rest(points.size()), expected(points.size()), held(points.size());
    for (std::size_t v = 0; v < points.size(); ++v) {
        rest[v].position = points[v];
        rest[v].normal = facing;
    }
    for (const bool inPlace : {false, true}) {
        SCOPED_TRACE(inPlace ? "rewritten in place" : "fresh memory each pose");
        MeshCache cache;
        cache.SetRewriteInPlace(inPlace);
        for (int pose = 0; pose < 3; ++pose) {
            SCOPED_TRACE(pose);
            upper->AddTransform(D3DRMCOMBINE_REPLACE,
                                MatrixMultiply(MatrixFromQuaternion(QuaternionFromRotation(
                                                   {0, 0, 1}, 0.3f * float(pose + 1))),
                                               MatrixTranslation({0, 1, 0})));
            FrameWalk walk;
            walk.Walk(root.Get());
            const MeshCache::Entry* entry = cache.Get(builder.Get(), &walk, Matrix4{});
            ASSERT_NE(entry, nullptr);
            ASSERT_FALSE(entry->skin->onGpu);
            SkinDeformer reference;
            reference.Build(skin, nullptr, rest.size());
            reference.Pose(&walk, Matrix4{});
            reference.Deform(rest.data(), expected.data());
            glBindBuffer(GL_ARRAY_BUFFER, entry->vertexBuffer);
            glGetBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(held.size() * sizeof(MeshVertex)),
                               held.data());
            glBindBuffer(GL_ARRAY_BUFFER, 0);
            // The buffer keeps the mesh's order: each vertex is found by where it rests.
            const auto& drawnRest = entry->skin->restVertices;
            ASSERT_EQ(drawnRest.size(), held.size());
            for (std::size_t v = 0; v < held.size(); ++v) {
                const Vector& at = drawnRest[v].position;
                const auto from = std::find_if(points.begin(), points.end(), [&](const Vector& p) {
                    return p.x == at.x && p.y == at.y && p.z == at.z;
                });
                ASSERT_NE(from, points.end());
                const MeshVertex& want = expected[std::size_t(from - points.begin())];
                ExpectNear(held[v].position, want.position, 1e-6f);
                ExpectNear(held[v].normal, want.normal, 1e-6f);
            }
        }
        cache.Clear();
    }
}

TEST(SkinDeformerTest, AVertexStageGetsTheFourLargestWeightsScaledToTheSumOfAll) {
    // Bones 0-5 have frames; "gone" has none.
    auto root = MakeRef<Frame>();
    MeshSkin skin;
    const float six[6] = {0.05f, 0.3f, 0.1f, 0.25f, 0.2f, 0.1f};
    for (int b = 0; b < 6; ++b) {
        const std::string name = "bone" + std::to_string(b);
        AddFrame(root.Get(), name.c_str(), Matrix4{});
        skin.bones.push_back({name, {0}, {six[b]}, {}});
    }
    skin.bones[1].vertices.push_back(1);
    skin.bones[1].weights.push_back(0.6f);
    skin.bones[4].vertices.push_back(1);
    skin.bones[4].weights.push_back(0.4f);
    skin.bones.push_back({"gone", {2, 3}, {1, 0.5f}, {}});
    skin.bones[2].vertices.push_back(3);
    skin.bones[2].weights.push_back(0.5f);
    SkinDeformer deformer;
    deformer.Build(skin, nullptr, 4);
    FrameWalk walk;
    walk.Walk(root.Get());
    deformer.Pose(&walk, Matrix4{});
    SkinDeformer::FourInfluences influences[4];
    EXPECT_EQ(deformer.Influences(influences), 1u);

    // Vertex 0: bones 1, 3, 4 and one of the two 0.1s, scaled from 0.85 up to 1.
    float sum = 0;
    std::vector<int> chosen;
    for (int k = 0; k < 4; ++k) {
        sum += influences[0].weights[k];
        chosen.push_back(influences[0].bones[k]);
    }
    EXPECT_NEAR(sum, 1.0f, 1e-5f);
    for (int b : {1, 3, 4}) {
        EXPECT_NE(std::find(chosen.begin(), chosen.end(), b), chosen.end()) << b;
    }
    EXPECT_EQ(std::find(chosen.begin(), chosen.end(), 0), chosen.end());
    EXPECT_NEAR(influences[0].weights[0], 0.3f / 0.85f, 1e-5f);
    // Vertex 1: its two as given, the rest empty; vertex 2 has none.
    EXPECT_EQ(influences[1].bones[0], 1);
    EXPECT_FLOAT_EQ(influences[1].weights[0], 0.6f);
    EXPECT_EQ(influences[1].bones[1], 4);
    EXPECT_FLOAT_EQ(influences[1].weights[1], 0.4f);
    EXPECT_EQ(influences[1].weights[2] + influences[1].weights[3], 0.0f);
    // Vertex 2 hangs only on the bone left out: no placed weight, so the rigid matrix.
    EXPECT_EQ(influences[2].weights[0] + influences[2].weights[1] + influences[2].weights[2] +
                  influences[2].weights[3],
              0.0f);
    // Vertex 3: half on bone 2, half on the bone left out (weighing 0).
    EXPECT_EQ(influences[3].bones[0], 2);
    EXPECT_FLOAT_EQ(influences[3].weights[0], 0.5f);
    EXPECT_EQ(influences[3].bones[1], 6);
    EXPECT_EQ(influences[3].weights[1], 0.0f);
}

constexpr int kWidth = 240;
constexpr int kHeight = 180;

class SkinDrawTest : public testing_rm::DeviceSceneTest {
protected:
    SkinDrawTest() : DeviceSceneTest(kWidth, kHeight, 0xFF000000) {}

    // The vertex stage deforms where it can, also on the software rasteriser of the tests.
    void SetUp() override {
        setenv("PAVRIX_CPU_SKINNING", "0", 1);
        DeviceSceneTest::SetUp();
        device->SetQuality(D3DRMRENDER_UNLITFLAT);
    }
    void TearDown() override {
        DeviceSceneTest::TearDown();
        unsetenv("PAVRIX_CPU_SKINNING");
    }

    // Where the viewport puts a world point, in pixels.
    bool Project(const Vector& world, float* x, float* y) const {
        Vector4 s;
        viewport->Transform(&s, world);
        if (s.w <= 0) {
            return false;
        }
        *x = s.x / s.w;
        *y = s.y / s.w;
        return true;
    }
};

TEST_F(SkinDrawTest, ADeformedMeshIsDrawnWhereTheReferenceDeformationPutsIt) {
    // A chain of bones along x at depth 8 and markers spread along it: small quads of
    // one colour each, whose four corners share one random set of weights. Under random
    // poses each marker's drawn centre must be where the CPU deformation puts it.
    constexpr int kBones = 5, kMarkers = 16;
    constexpr float kHalf = 0.1f;
    std::mt19937 random(18);
    std::uniform_real_distribution<float> unit(0, 1);
    std::vector<Ref<Frame>> bones;
    MeshSkin skin;
    Frame* parent = root.Get();
    for (int b = 0; b < kBones; ++b) {
        const std::string name = "bone" + std::to_string(b);
        const Vector at = b == 0 ? Vector{-2, 0, 8} : Vector{1, 0, 0};
        bones.push_back(AddFrame(parent, name.c_str(), MatrixTranslation(at)));
        parent = bones.back().Get();
        // The offset takes the rest pose into the bone's space.
        skin.bones.push_back({name, {}, {}, MatrixTranslation({2 - float(b), 0, -8})});
    }
    // With normals the vertex stage deforms the mesh; without, the CPU (it fills normals in
    // from the deformed faces).
    const MeshSkin boneSkin = skin;
    for (const bool withNormals : {false, true}) {
        SCOPED_TRACE(withNormals ? "normals given" : "no normals");
        MeshSkin skin = boneSkin;
        auto builder = MakeRef<MeshBuilder>();
        std::vector<D3DCOLOR> colours;
        for (int m = 0; m < kMarkers; ++m) {
            const float x = -2 + 4.5f * unit(random), y = unit(random) - 0.5f;
            const Vector corners[4] = {{x - kHalf, y + kHalf, 8},
                                       {x + kHalf, y + kHalf, 8},
                                       {x + kHalf, y - kHalf, 8},
                                       {x - kHalf, y - kHalf, 8}};
            const std::uint32_t first = builder->GetVertexCount();
            if (withNormals) {
                const Vector towardsCamera{0, 0, -1};
                const std::uint32_t face[] = {4, 0, 0, 1, 0, 2, 0, 3, 0, 0};
                builder->AddFaces(4, corners, 1, &towardsCamera, face);
            } else {
                const std::uint32_t face[] = {4, 0, 1, 2, 3, 0};
                builder->AddFaces(4, corners, 0, nullptr, face);
            }
            colours.push_back(0xFF000000 | std::uint32_t(40 + 13 * m) << 16 |
                              std::uint32_t(250 - 11 * m) << 8 | 0x80);
            builder->SetFaceColor(std::uint32_t(m), colours.back());
            // Two neighbouring bones share the marker, and now and then a third takes some.
            const int near = std::min(kBones - 2, int(x + 2));
            const float share = unit(random);
            for (std::uint32_t v = first; v < first + 4; ++v) {
                skin.bones[std::size_t(near)].vertices.push_back(v);
                skin.bones[std::size_t(near)].weights.push_back(share);
                skin.bones[std::size_t(near + 1)].vertices.push_back(v);
                skin.bones[std::size_t(near + 1)].weights.push_back(1 - share);
            }
        }
        builder->SetSkin(skin);
        root->AddVisual(builder.Get());

        std::vector<MeshVertex> rest(builder->GetVertexCount()), posed(rest.size());
        for (std::uint32_t v = 0; v < rest.size(); ++v) {
            std::uint32_t one = 1;
            builder->GetVertices(v, &one, &rest[v].position);
        }
        int checked = 0;
        std::uint64_t firstUploads = 0;
        for (int pose = 0; pose < 3; ++pose) {
            SCOPED_TRACE(pose);
            for (auto& bone : bones) {
                const Vector at = bone.Get() == bones[0].Get() ? Vector{-2, unit(random) - 0.5f, 8}
                                                               : Vector{1, 0, 0};
                bone->AddTransform(D3DRMCOMBINE_REPLACE,
                                   MatrixMultiply(MatrixFromQuaternion(QuaternionFromRotation(
                                                      {0, 0, 1}, unit(random) - 0.5f)),
                                                  MatrixTranslation(at)));
            }
            Draw();
            if (pose == 0) {
                firstUploads = device->Cache().VertexUploads();
            }
            FrameWalk walk;
            walk.Walk(root.Get());
            SkinDeformer reference;
            reference.Build(skin, nullptr, rest.size());
            reference.Pose(&walk, Matrix4{});
            reference.Deform(rest.data(), posed.data());
            std::vector<std::pair<float, float>> centres(kMarkers);
            for (int m = 0; m < kMarkers; ++m) {
                Vector c{};
                for (int k = 0; k < 4; ++k) {
                    c = VectorAdd(c, VectorScale(posed[std::size_t(4 * m + k)].position, 0.25f));
                }
                ASSERT_TRUE(
                    Project(c, &centres[std::size_t(m)].first, &centres[std::size_t(m)].second));
            }
            for (int m = 0; m < kMarkers; ++m) {
                const auto [x, y] = centres[std::size_t(m)];
                // Markers that may hide one another or leave the picture are not judged.
                bool alone = x > 8 && y > 8 && x < kWidth - 8 && y < kHeight - 8;
                for (int o = 0; o < kMarkers; ++o) {
                    alone = alone && (o == m || std::abs(centres[std::size_t(o)].first - x) > 8 ||
                                      std::abs(centres[std::size_t(o)].second - y) > 8);
                }
                if (!alone) {
                    continue;
                }
                float drawnX = 0, drawnY = 0;
                ASSERT_TRUE(gl.CentreOf(colours[std::size_t(m)], &drawnX, &drawnY)) << m;
                EXPECT_NEAR(drawnX, x, 1.0f) << m;
                EXPECT_NEAR(drawnY, y, 1.0f) << m;
                ++checked;
            }
        }
        EXPECT_GE(checked, kMarkers);

        // Drawing the same pose again sends nothing.
        const std::uint64_t uploads = device->Cache().VertexUploads();
        Draw();
        EXPECT_EQ(device->Cache().VertexUploads(), uploads);
        // The vertex stage takes new poses without a vertex sent; the CPU sends each.
        if (withNormals) {
            EXPECT_EQ(uploads, firstUploads);
        } else {
            EXPECT_GE(uploads, firstUploads + 2);
        }
        root->DeleteVisual(builder.Get());
    }
}

TEST_F(SkinDrawTest, APickHitsTheMeshWhereItIsDrawnNotWhereItRests) {
    // A quad at the centre of the picture, bound wholly to a bone that has moved right.
    auto bone = AddFrame(root.Get(), "arm", MatrixTranslation({1.5f, 0, 0}));
    auto quad = Quad(-0.5f, -0.5f, 0.5f, 0.5f, 8, 0xFFFFFFFF);
    MeshSkin skin;
    skin.bones.push_back({"arm", {0, 1, 2, 3}, {1, 1, 1, 1}, {}});
    quad->SetSkin(skin);
    auto holder = AddFrame(root.Get(), "holder", Matrix4{});
    holder->AddVisual(quad.Get());
    Draw();
    float x = 0, y = 0, restX = 0, restY = 0;
    ASSERT_TRUE(Project({1.5f, 0, 8}, &x, &y));
    ASSERT_TRUE(Project({-0.3f, 0, 8}, &restX, &restY));
    EXPECT_EQ(gl.Pixel(int(x), int(y)) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(gl.Pixel(int(restX), int(restY)) & 0xFFFFFF, 0u);

    std::vector<PickRecord> picks;
    ASSERT_EQ(viewport->Pick(int(x), int(y), &picks), D3DRM_OK);
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_EQ(picks[0].visual.Get(), quad.Get());
    EXPECT_EQ(picks[0].framePath.back().Get(), holder.Get());
    EXPECT_NEAR(picks[0].position.z, 8, 1e-3);
    ASSERT_EQ(viewport->Pick(int(restX), int(restY), &picks), D3DRM_OK);
    EXPECT_TRUE(picks.empty());
}

} // namespace

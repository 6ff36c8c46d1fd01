// Skin weights as the loads make them: kept with their mesh, and whatever of them is
// malformed left out with a warning while the rest of the file loads.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rm/Frame.h"
#include "platform/rm/MeshBuilder.h"
#include "platform/rm/XFileLoader.h"
#include "support/XFileTestSupport.h"

using namespace rm;
using namespace testing_xfile;

namespace {

struct ExpectedBone {
    std::string frame;
    std::vector<std::uint32_t> vertices;
    std::vector<float> weights;
};

/// A triangle mesh between two bone frames (the second one after the mesh, so bone names
/// are checked once the whole file is read), its skin part given.
std::string SkinnedFile(const std::string& skin) {
    return "xof 0303txt 0032\nFrame Bone1 {}\nMesh Body {\n 3; 0;0;0;, 1;0;0;, 0;1;0;;\n"
           " 1; 3;0,1,2;;\n" +
           skin + "}\nFrame Bone2 {}\n";
}

std::string Weights(const std::string& bone, const std::string& values) {
    return " SkinWeights { \"" + bone + "\"; " + values +
           " 1,0,0,0, 0,1,0,0, 0,0,1,0, 1,2,3,1;; }\n";
}

const MeshBuilder* LoadedBody(const Frame& root) {
    for (const auto& frame : root.Children()) {
        for (const auto& visual : frame->Visuals()) {
            if (const auto* builder = dynamic_cast<const MeshBuilder*>(visual.Get())) {
                return builder;
            }
        }
    }
    return nullptr;
}

void ExpectSkin(const std::string& path, const std::vector<ExpectedBone>& bones,
                const std::vector<std::string>& warnings, std::uint16_t perVertex,
                std::uint16_t perFace) {
    auto root = MakeRef<Frame>();
    ASSERT_EQ(root->Load(path.c_str()), D3DRM_OK) << GetLastLoadMessage();
    const std::string message = GetLastLoadMessage();
    for (const std::string& warning : warnings) {
        EXPECT_NE(message.find(warning), std::string::npos) << message;
    }
    if (warnings.empty()) {
        EXPECT_EQ(message, "");
    }
    const MeshBuilder* body = LoadedBody(*root);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->GetVertexCount(), 3u);
    const MeshSkin& skin = body->GetSkin();
    EXPECT_EQ(skin.maxWeightsPerVertex, perVertex);
    EXPECT_EQ(skin.maxWeightsPerFace, perFace);
    ASSERT_EQ(skin.bones.size(), bones.size());
    for (std::size_t b = 0; b < bones.size(); ++b) {
        EXPECT_EQ(skin.bones[b].frameName, bones[b].frame);
        EXPECT_EQ(skin.bones[b].vertices, bones[b].vertices);
        EXPECT_EQ(skin.bones[b].weights, bones[b].weights);
        EXPECT_EQ(skin.bones[b].offset.m[3][0], 1.0f);
        EXPECT_EQ(skin.bones[b].offset.m[3][2], 3.0f);
    }
}

} // namespace

TEST(XFileSkinTest, WeightsAreKeptAndWhatIsMalformedIsLeftOutWithAWarning) {
    const std::string header = " XSkinMeshHeader { 2; 3; 2; }\n";
    const std::string bone1 = Weights("Bone1", "2; 0,1; 1.0,0.5;");
    const std::string bone2 = Weights("Bone2", "2; 1,2; 0.5,1.0;");
    const ExpectedBone first{"Bone1", {0, 1}, {1.0f, 0.5f}};
    const ExpectedBone second{"Bone2", {1, 2}, {0.5f, 1.0f}};
    const struct {
        const char* name;
        std::string skin;
        std::vector<ExpectedBone> bones;
        std::vector<std::string> warnings;
        std::uint16_t perVertex, perFace;
    } cases[] = {
        {"well formed", header + bone1 + bone2, {first, second}, {}, 2, 3},
        {"without a header the counts are worked out", bone1 + bone2, {first, second}, {}, 2, 2},
        {"an index out of range",
         header + Weights("Bone1", "3; 0,7,1; 1.0,0.25,0.5;") + bone2,
         {first, second},
         {"loader.x:7: expected vertex indices below 3 (the number of vertices) in the "
          "SkinWeights of bone 'Bone1', found 7; 1 weight is left out"},
         2,
         3},
        {"a bone naming no frame",
         header + Weights("Nobody", "2; 0,1; 1.0,0.5;") + bone2,
         {second},
         {"loader.x:7: expected the name of a frame in this file for a bone, found 'Nobody'; "
          "its 2 weights are left out"},
         2,
         3},
        {"short arrays",
         header + Weights("Bone1", "3; 0,1; 1.0,0.5,0.5;") + bone2,
         {second},
         {"loader.x:7: expected ';' after a vertex index, found '.0'; these SkinWeights are left "
          "out"},
         2,
         3},
        {"more SkinWeights than the header counts",
         " XSkinMeshHeader { 2; 3; 1; }\n" + bone1 + bone2,
         {first, second},
         {"loader.x:6: expected 1 SkinWeights (the XSkinMeshHeader's bone count), found 2"},
         2,
         3},
        {"a header count past a WORD",
         " XSkinMeshHeader { 2; 70000; 2; }\n" + bone1 + bone2,
         {first, second},
         {"expected a count of the XSkinMeshHeader below 65536, found 70000; the "
          "XSkinMeshHeader is left out"},
         2,
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectSkin(WriteScratch("loader.x", SkinnedFile(c.skin)), c.bones, c.warnings, c.perVertex,
                   c.perFace);
    }
}

// Binary files hand the indices and the weights over in lists that may run across members.
TEST(XFileSkinTest, BinaryFilesGiveTheSameWeights) {
    for (const bool malformed : {false, true}) {
        BinaryWriter w;
        w.Name("Frame").Name("Bone1").Open().Close();
        w.Name("Mesh").Name("Body").Open();
        w.Integers({3}).Floats({0, 0, 0, 1, 0, 0, 0, 1, 0}).Integers({1, 3, 0, 1, 2});
        w.Name("XSkinMeshHeader").Open().Integers({2, 3, 2}).Close();
        w.Name("SkinWeights").Open().String("Bone1").Integers({2, 0, 1});
        w.Floats({1.0, 0.5, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}).Close();
        // Malformed: one index short, so the weights list comes where an index belongs.
        w.Name("SkinWeights").Open().String("Bone2");
        w.Integers(malformed ? std::vector<std::uint32_t>{2, 1}
                             : std::vector<std::uint32_t>{2, 1, 2});
        w.Floats({0.5, 1.0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}).Close();
        w.Close();
        w.Name("Frame").Name("Bone2").Open().Close();
        SCOPED_TRACE(malformed ? "malformed" : "well formed");
        std::vector<ExpectedBone> bones{{"Bone1", {0, 1}, {1.0f, 0.5f}}};
        if (!malformed) {
            bones.push_back({"Bone2", {1, 2}, {0.5f, 1.0f}});
        }
        ExpectSkin(WriteScratch("loader.x", w.Bytes()), bones,
                   malformed ? std::vector<std::string>{"these SkinWeights are left out"}
                             : std::vector<std::string>{},
                   2, 3);
    }
}

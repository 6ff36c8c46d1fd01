// Exports of small files made for the purpose: skin weights as glTF takes them (four per
// vertex, summing to one, every vertex weighted) and names in code page 932.

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "cli/Cli.h"

namespace {

namespace fs = std::filesystem;

constexpr char kIdentity[] = "1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;";

/// A triangle held by frame Root, weighted by the bones B0..B5 (children of Root):
/// vertex 0 by all six (0.30, 0.25, 0.20, 0.15, 0.06, 0.04), vertex 1 by B0 alone with 0.5,
/// vertex 2 by none.
std::string SkinnedTriangle() {
    std::ostringstream x;
    x << "xof 0303txt 0032\n"
         "Frame Root {\n FrameTransformMatrix { "
      << kIdentity
      << " }\n"
         " Mesh Tri {\n  3; 0;0;0;, 1;0;0;, 0;1;0;;\n  1; 3;0,1,2;;\n"
         "  XSkinMeshHeader { 4; 4; 6; }\n";
    const char* weights[] = {"2; 0,1; 0.30,0.50;", "1; 0; 0.25;", "1; 0; 0.20;",
                             "1; 0; 0.15;",        "1; 0; 0.06;", "1; 0; 0.04;"};
    for (int b = 0; b < 6; ++b) {
        x << "  SkinWeights { \"B" << b << "\"; " << weights[b] << ' '
          << (b == 0 ? "1,0,0,0,0,1,0,0,0,0,1,0,-1,0,0,1;;" : kIdentity) << " }\n";
    }
    x << " }\n";
    for (int b = 0; b < 6; ++b) {
        x << " Frame B" << b << " { FrameTransformMatrix { " << kIdentity << " } }\n";
    }
    x << "}\n";
    return x.str();
}

} // namespace

TEST(GltfSkin, FourLargestWeightsNormalisedAndAnUnweightedVertexFollowsItsFrame) {
    const fs::path folder =
        fs::path(::testing::TempDir()) / ("pavrix-gltf-skin-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path source = folder / "tri.x";
    std::ofstream(source) << SkinnedTriangle();
    const fs::path out = folder / "tri.glb";

    std::ostringstream o, e;
    ASSERT_EQ(cli::Run(std::vector<std::string>{"--export", source.string(), out.string()}, o, e),
              cli::kExitOk)
        << e.str();
    // Vertex 0 had six weights, vertex 1 weights summing to 0.5.
    EXPECT_NE(e.str().find("2 skinned vertices"), std::string::npos) << e.str();

    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(out.string(), 0);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    ASSERT_EQ(scene->mNumMeshes, 1u);
    const aiMesh& mesh = *scene->mMeshes[0];
    ASSERT_TRUE(mesh.HasBones());
    // Vertices by their x, y: (0,0) is vertex 0, (1,0) vertex 1, (0,1) vertex 2.
    auto vertexAt = [&](float x, float y) {
        for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
            if (mesh.mVertices[v].x == x && mesh.mVertices[v].y == y) {
                return v;
            }
        }
        ADD_FAILURE() << "no vertex at " << x << ", " << y;
        return 0u;
    };
    std::map<unsigned, std::map<std::string, float>> weights;
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
        const aiBone& bone = *mesh.mBones[b];
        for (unsigned w = 0; w < bone.mNumWeights; ++w) {
            if (bone.mWeights[w].mWeight > 0) {
                weights[bone.mWeights[w].mVertexId][bone.mName.C_Str()] = bone.mWeights[w].mWeight;
            }
        }
    }
    const std::map<std::string, float> first = {
        {"B0", 0.30f / 0.9f}, {"B1", 0.25f / 0.9f}, {"B2", 0.20f / 0.9f}, {"B3", 0.15f / 0.9f}};
    const auto& got = weights[vertexAt(0, 0)];
    ASSERT_EQ(got.size(), first.size());
    for (const auto& [bone, weight] : first) {
        EXPECT_NEAR(got.at(bone), weight, 1e-6f) << bone;
    }
    EXPECT_EQ(weights[vertexAt(1, 0)], (std::map<std::string, float>{{"B0", 1.0f}}));
    EXPECT_EQ(weights[vertexAt(0, 1)], (std::map<std::string, float>{{"Root", 1.0f}}));
    // The bone's offset, mirrored in z, is its inverse bind matrix.
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
        if (std::string(mesh.mBones[b]->mName.C_Str()) == "B0") {
            EXPECT_EQ(mesh.mBones[b]->mOffsetMatrix.a4, -1.0f);
        }
    }
}

TEST(GltfNames, CodePage932NamesBecomeUtf8) {
    const fs::path folder =
        fs::path(::testing::TempDir()) / ("pavrix-gltf-names-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    // A frame "腕" driven by the set "歩く", both named in code page 932.
    const std::string arm = "\x98r", walk = "\x95\xe0\x82\xad";
    const fs::path source = folder / "names.x";
    std::ofstream(source, std::ios::binary)
        << "xof 0303txt 0032\nFrame " << arm << " {\n FrameTransformMatrix { " << kIdentity
        << " }\n Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n}\n"
        << "AnimationSet " << walk << " {\n Animation { { " << arm
        << " }\n  AnimationKey { 2; 2; 0; 3; 0,0,0;;, 10; 3; 0,1,0;;; }\n }\n}\n";
    const fs::path out = folder / "names.gltf";
    std::ostringstream o, e;
    ASSERT_EQ(cli::Run(std::vector<std::string>{"--export", source.string(), out.string()}, o, e),
              cli::kExitOk)
        << e.str();
    std::ifstream in(out, std::ios::binary);
    const std::string json((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(json.find("\"name\":\"腕\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"name\":\"歩く\""), std::string::npos) << json;
}

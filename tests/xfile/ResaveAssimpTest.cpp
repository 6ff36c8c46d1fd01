// An independent reader, Assimp, reads every file the document's save produces, and sees
// in it what it sees in the file that was opened.
//
// Assimp is used with every post-processing step off. Its .x importer still converts the
// scene to its own right-handed convention and splits each mesh by material into meshes
// of unshared vertices (one per face corner); both files go through the same conversion,
// so the views are compared as Assimp gives them: the node tree with its matrices, each
// node's meshes (positions and faces) and the first animation's channels. A node's meshes
// are matched by content, not by position: a mesh is split in the order its file lists
// the materials, and the writer lists them in the order the faces first use them.
//
// Assimp 5.2 crashes on malformed_skinweights_oob.x, whose skin weights index past its
// vertices (the reader leaves that weight out, so the resaved file is fine). Every
// original is therefore first read by Assimp in a child process, and one Assimp cannot
// read is left out of the comparison; the resaved file is still read.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "xfile/DocumentSceneFixture.h"
#include "xfile/XFileSceneView.h"

namespace {

struct AssimpMesh {
    std::vector<aiVector3D> positions;
    std::vector<std::vector<unsigned>> faces;
};

struct AssimpNode {
    std::string name;
    int depth = 0;
    aiMatrix4x4 transform;
    std::vector<AssimpMesh> meshes;
};

struct AssimpChannel {
    std::vector<aiVectorKey> positions;
    std::vector<aiQuatKey> rotations;
    std::vector<aiVectorKey> scalings;
};

struct AssimpView {
    std::vector<AssimpNode> nodes;
    std::map<std::string, AssimpChannel> channels;
};

bool MeshBefore(const AssimpMesh& a, const AssimpMesh& b) {
    auto key = [](const AssimpMesh& m) {
        const aiVector3D p = m.positions.empty() ? aiVector3D() : m.positions[0];
        return std::make_tuple(m.positions.size(), p.x, p.y, p.z);
    };
    return key(a) < key(b);
}

void AddNodes(const aiScene& scene, const aiNode& node, int depth, std::vector<AssimpNode>* out) {
    AssimpNode view;
    view.name = node.mName.C_Str();
    view.depth = depth;
    view.transform = node.mTransformation;
    for (unsigned i = 0; i < node.mNumMeshes; ++i) {
        const aiMesh& mesh = *scene.mMeshes[node.mMeshes[i]];
        AssimpMesh m;
        m.positions.assign(mesh.mVertices, mesh.mVertices + mesh.mNumVertices);
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            m.faces.emplace_back(face.mIndices, face.mIndices + face.mNumIndices);
        }
        view.meshes.push_back(std::move(m));
    }
    std::sort(view.meshes.begin(), view.meshes.end(), MeshBefore);
    out->push_back(std::move(view));
    for (unsigned i = 0; i < node.mNumChildren; ++i) {
        AddNodes(scene, *node.mChildren[i], depth + 1, out);
    }
}

/// Assimp's view of path, or a failed assertion with its error.
::testing::AssertionResult ReadWithAssimp(const std::string& path, AssimpView* view) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, 0);
    if (!scene || !scene->mRootNode) {
        return ::testing::AssertionFailure() << path << ": " << importer.GetErrorString();
    }
    AddNodes(*scene, *scene->mRootNode, 0, &view->nodes);
    if (scene->mNumAnimations > 0) {
        const aiAnimation& animation = *scene->mAnimations[0];
        for (unsigned i = 0; i < animation.mNumChannels; ++i) {
            const aiNodeAnim& c = *animation.mChannels[i];
            AssimpChannel& channel = view->channels[c.mNodeName.C_Str()];
            channel.positions.assign(c.mPositionKeys, c.mPositionKeys + c.mNumPositionKeys);
            channel.rotations.assign(c.mRotationKeys, c.mRotationKeys + c.mNumRotationKeys);
            channel.scalings.assign(c.mScalingKeys, c.mScalingKeys + c.mNumScalingKeys);
        }
    }
    return ::testing::AssertionSuccess();
}

/// Whether Assimp reads path without crashing or failing, tried in a child process.
bool AssimpCanRead(const std::string& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(path, 0);
        ::_exit(scene && scene->mRootNode ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

/// Both files carry six decimals; Assimp's own number parsing adds a little.
bool Near(double a, double b) {
    return std::fabs(a - b) <= 2e-6 + 2e-6 * std::fabs(a);
}

void ExpectNear(const aiVector3D& a, const aiVector3D& b) {
    EXPECT_PRED2(Near, a.x, b.x);
    EXPECT_PRED2(Near, a.y, b.y);
    EXPECT_PRED2(Near, a.z, b.z);
}

void ExpectSameNodes(const AssimpView& original, const AssimpView& resaved) {
    testing_xfile::ForEachPair(
        original.nodes, resaved.nodes, [](const AssimpNode& a, const AssimpNode& b, auto) {
            SCOPED_TRACE("node " + a.name);
            EXPECT_EQ(a.depth, b.depth);
            EXPECT_EQ(a.name, b.name);
            for (unsigned r = 0; r < 4; ++r) {
                for (unsigned c = 0; c < 4; ++c) {
                    EXPECT_PRED2(Near, a.transform[r][c], b.transform[r][c]) << r << "," << c;
                }
            }
            testing_xfile::ForEachPair(
                a.meshes, b.meshes, [](const AssimpMesh& x, const AssimpMesh& y, std::size_t m) {
                    SCOPED_TRACE(testing::Message() << "mesh " << m);
                    testing_xfile::ForEachPair(
                        x.positions, y.positions,
                        [](const aiVector3D& p, const aiVector3D& q, std::size_t v) {
                            SCOPED_TRACE(testing::Message() << "vertex " << v);
                            ExpectNear(p, q);
                        });
                    EXPECT_EQ(x.faces, y.faces);
                });
        });
}

void ExpectSameChannels(const AssimpView& original, const AssimpView& resaved) {
    ASSERT_EQ(original.channels.size(), resaved.channels.size());
    for (const auto& [name, a] : original.channels) {
        SCOPED_TRACE("channel " + name);
        ASSERT_EQ(resaved.channels.count(name), 1u);
        const AssimpChannel& b = resaved.channels.at(name);
        ASSERT_EQ(a.positions.size(), b.positions.size());
        for (std::size_t k = 0; k < a.positions.size(); ++k) {
            EXPECT_EQ(a.positions[k].mTime, b.positions[k].mTime);
            ExpectNear(a.positions[k].mValue, b.positions[k].mValue);
        }
        ASSERT_EQ(a.scalings.size(), b.scalings.size());
        for (std::size_t k = 0; k < a.scalings.size(); ++k) {
            EXPECT_EQ(a.scalings[k].mTime, b.scalings[k].mTime);
            ExpectNear(a.scalings[k].mValue, b.scalings[k].mValue);
        }
        ASSERT_EQ(a.rotations.size(), b.rotations.size());
        for (std::size_t k = 0; k < a.rotations.size(); ++k) {
            EXPECT_EQ(a.rotations[k].mTime, b.rotations[k].mTime);
            const aiQuaternion& qa = a.rotations[k].mValue;
            const aiQuaternion& qb = b.rotations[k].mValue;
            EXPECT_PRED2(Near, qa.w, qb.w);
            EXPECT_PRED2(Near, qa.x, qb.x);
            EXPECT_PRED2(Near, qa.y, qb.y);
            EXPECT_PRED2(Near, qa.z, qb.z);
        }
    }
}

class ResaveAssimpTest : public DocumentSceneFixture {};

TEST_F(ResaveAssimpTest, AssimpSeesTheSameSceneInTheResavedFile) {
    const std::filesystem::path dir = std::filesystem::path(PAVRIX_TESTDATA_DIR) / "x";
    if (!std::filesystem::is_directory(dir)) {
        GTEST_SKIP() << "no test data at " << dir;
    }
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string file = entry.path().string();
        const std::string ext = entry.path().extension().string();
        if ((ext != ".x" && ext != ".X") || !testing_xfile::ReadScene(*d3drm, file).hasFrames) {
            continue;
        }
        SCOPED_TRACE(file);
        const std::string resaved = folder.File(entry.path().stem().string() + "-a.x");
        MustOpen(file);
        std::string error;
        ASSERT_EQ(Save(resaved, &error), 1) << error;

        AssimpView original, written;
        ASSERT_TRUE(ReadWithAssimp(resaved, &written));
        if (!AssimpCanRead(file)) {
            continue;
        }
        ASSERT_TRUE(ReadWithAssimp(file, &original));
        ExpectSameNodes(original, written);
        ExpectSameChannels(original, written);
        ++compared;
    }
    EXPECT_GE(compared, 5);
}

} // namespace

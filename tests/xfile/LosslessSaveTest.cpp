// What a file holds beyond one frame tree and one animation set comes back after a save,
// through `pavrix --resave` and through the editor's Save, as our reader and Assimp (an
// independent reader, linked only into the tests) see it: every animation set with every
// channel and key, the options set in the editor, the tick rate, the vertex colours.

#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include "cli/Cli.h"
#include "platform/rm/MeshBuilder.h"
#include "platform/rm/XFileLoader.h"
#include "xfile/DocumentSceneFixture.h"
#include "xfile/XFileSceneView.h"

using testing_xfile::ForEachPair;
using testing_xfile::NearAsWritten;
using testing_xfile::ReadFile;

namespace {

constexpr const char* kSetNames[] = {"Walk", "Run", "Idle"};
constexpr const char* kParts[] = {"Hips", "Leg", "Foot"};

/// A model of three parts in a chain and three animation sets; set s moves part p with
/// rotation, scale and position keys of its own (values depend on s and p, so a set or a
/// channel taken for another shows), each set at its own key times.
std::string ThreeSetFile(unsigned ticksPerSecond) {
    std::ostringstream x;
    x << "xof 0303txt 0032\n";
    if (ticksPerSecond) {
        x << "AnimTicksPerSecond {\n " << ticksPerSecond << ";\n}\n";
    }
    for (const char* part : kParts) {
        x << "Frame " << part << " {\n FrameTransformMatrix {\n  1.0,0.0,0.0,0.0,\n"
          << "  0.0,1.0,0.0,0.0,\n  0.0,0.0,1.0,0.0,\n  0.0,1.0,0.0,1.0;;\n }\n"
          << " Mesh {\n  3;\n  0.0;0.0;0.0;,\n  1.0;0.0;0.0;,\n  0.0;1.0;0.0;;\n"
          << "  1;\n  3;0,1,2;;\n }\n";
    }
    for (int p = 0; p < 3; ++p) {
        x << "}\n";
    }
    for (int s = 0; s < 3; ++s) {
        x << "AnimationSet " << kSetNames[s] << " {\n";
        for (int p = 0; p < 3; ++p) {
            const int step = 1200 * (s + 1);
            x << " Animation Anim" << kSetNames[s] << kParts[p] << " {\n  {" << kParts[p] << "}\n";
            const double angle = 0.1 * (s + 1) + 0.05 * p;
            x << "  AnimationKey { 0; 3;\n";
            for (int k = 0; k < 3; ++k) {
                x << "   " << k * step << "; 4; " << std::cos(angle * k) << ", 0, "
                  << std::sin(angle * k) << ", 0;;" << (k < 2 ? "," : ";") << "\n";
            }
            x << "  }\n  AnimationKey { 1; 2;\n   0; 3; 1, 1, 1;;,\n   " << 2 * step << "; 3; "
              << 1 + s << ", " << 1 + p << ", 1.5;;;\n  }\n";
            x << "  AnimationKey { 2; 2;\n   0; 3; 0, 1, 0;;,\n   " << step << "; 3; " << s << ", "
              << p << ", " << s + p << ";;;\n  }\n }\n";
        }
        x << "}\n";
    }
    return x.str();
}

/// A key's value as four numbers: the quaternion, or the vector and 0.
std::vector<float> ValueOf(const rm::AnimationKey& key) {
    if (key.dwKeyType == rm::D3DRMANIMATION_ROTATEKEY) {
        const rm::Quaternion& q = key.dqRotateKey;
        return {q.s, q.v.x, q.v.y, q.v.z};
    }
    const rm::Vector& v = key.dvPositionKey;
    return {v.x, v.y, v.z, 0};
}

/// Every set of a file as our reader loads it.
std::vector<rm::AnimationSet::Loaded> ReadSets(const std::string& path) {
    std::vector<rm::AnimationSet::Loaded> sets;
    EXPECT_EQ(rm::AnimationSet::LoadAll(path.c_str(), &sets), rm::D3DRM_OK)
        << rm::GetLastLoadMessage();
    return sets;
}

void ExpectSameSets(const std::vector<rm::AnimationSet::Loaded>& original,
                    const std::vector<rm::AnimationSet::Loaded>& saved) {
    ASSERT_EQ(original.size(), saved.size());
    for (std::size_t s = 0; s < original.size(); ++s) {
        const rm::AnimationSet& a = *original[s].set;
        const rm::AnimationSet& b = *saved[s].set;
        SCOPED_TRACE("set " + a.Name());
        EXPECT_EQ(a.Name(), b.Name());
        EXPECT_EQ(a.TicksPerSecond(), b.TicksPerSecond());
        ASSERT_EQ(a.Animations().size(), b.Animations().size());
        for (std::size_t i = 0; i < a.Animations().size(); ++i) {
            const rm::Animation& x = *a.Animations()[i];
            const rm::Animation& y = *b.Animations()[i];
            SCOPED_TRACE("animation " + x.Name());
            EXPECT_EQ(x.Name(), y.Name());
            EXPECT_EQ(x.GetFrame()->Name(), y.GetFrame()->Name());
            EXPECT_EQ(x.GetOptions(), y.GetOptions());
            ASSERT_EQ(x.Keys().size(), y.Keys().size());
            for (std::size_t k = 0; k < x.Keys().size(); ++k) {
                EXPECT_EQ(x.Keys()[k].dwKeyType, y.Keys()[k].dwKeyType) << k;
                EXPECT_EQ(x.Keys()[k].dvTime, y.Keys()[k].dvTime) << k;
                const std::vector<float> vx = ValueOf(x.Keys()[k]), vy = ValueOf(y.Keys()[k]);
                for (int v = 0; v < 4; ++v) {
                    EXPECT_PRED2(NearAsWritten, vx[std::size_t(v)], vy[std::size_t(v)]) << k;
                }
            }
        }
    }
}

/// Assimp's animations: per animation its name, ticks per second and per channel the
/// key counts and values, in Assimp's order.
struct AssimpAnimations {
    std::vector<std::string> names;
    std::vector<double> ticksPerSecond;
    std::vector<std::vector<double>> values; // per animation, every key value and time
};

::testing::AssertionResult ReadAssimp(const std::string& path, AssimpAnimations* out) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, 0);
    if (!scene) {
        return ::testing::AssertionFailure() << path << ": " << importer.GetErrorString();
    }
    for (unsigned a = 0; a < scene->mNumAnimations; ++a) {
        const aiAnimation& animation = *scene->mAnimations[a];
        out->names.push_back(animation.mName.C_Str());
        out->ticksPerSecond.push_back(animation.mTicksPerSecond);
        std::vector<double> values;
        for (unsigned c = 0; c < animation.mNumChannels; ++c) {
            const aiNodeAnim& channel = *animation.mChannels[c];
            values.push_back(channel.mNumPositionKeys);
            values.push_back(channel.mNumRotationKeys);
            values.push_back(channel.mNumScalingKeys);
            for (unsigned k = 0; k < channel.mNumPositionKeys; ++k) {
                const aiVectorKey& key = channel.mPositionKeys[k];
                values.insert(values.end(), {key.mTime, key.mValue.x, key.mValue.y, key.mValue.z});
            }
            for (unsigned k = 0; k < channel.mNumRotationKeys; ++k) {
                const aiQuatKey& key = channel.mRotationKeys[k];
                values.insert(values.end(),
                              {key.mTime, key.mValue.w, key.mValue.x, key.mValue.y, key.mValue.z});
            }
            for (unsigned k = 0; k < channel.mNumScalingKeys; ++k) {
                const aiVectorKey& key = channel.mScalingKeys[k];
                values.insert(values.end(), {key.mTime, key.mValue.x, key.mValue.y, key.mValue.z});
            }
        }
        out->values.push_back(std::move(values));
    }
    return ::testing::AssertionSuccess();
}

/// A mesh of `vertices` vertices on a chain of three bones, each bone weighting every
/// vertex it reaches with a weight and an offset matrix of its own (values from a fixed
/// sequence, not round numbers, so a digit lost on the way shows).
std::string SkinnedChainFile(unsigned vertices) {
    std::ostringstream x;
    x.precision(9);
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return float((seed >> 8) & 0xFFFF) / 65536.0f - 0.5f;
    };
    x << "xof 0303txt 0032\nFrame Root {\n Mesh Body {\n  " << vertices << ";\n";
    for (unsigned v = 0; v < vertices; ++v) {
        x << "  " << next() << ";" << float(v) * 0.25f << ";" << next() << ";"
          << (v + 1 < vertices ? "," : ";") << "\n";
    }
    x << "  " << vertices - 2 << ";\n";
    for (unsigned f = 0; f + 2 < vertices; ++f) {
        x << "  3;" << f << "," << f + 1 << "," << f + 2 << ";" << (f + 3 < vertices ? "," : ";")
          << "\n";
    }
    x << "  XSkinMeshHeader { 2; 3; 3; }\n";
    for (int b = 0; b < 3; ++b) {
        x << "  SkinWeights { \"Bone" << b << "\"; ";
        std::vector<unsigned> reached;
        for (unsigned v = unsigned(b); v < vertices; v += 2) {
            reached.push_back(v);
        }
        x << reached.size() << ";\n";
        for (std::size_t i = 0; i < reached.size(); ++i) {
            x << reached[i] << (i + 1 < reached.size() ? "," : ";");
        }
        x << "\n";
        for (std::size_t i = 0; i < reached.size(); ++i) {
            x << 0.5f + next() << (i + 1 < reached.size() ? "," : ";");
        }
        x << "\n";
        for (int e = 0; e < 16; ++e) {
            x << (e == 15 ? 1.0f : e % 5 == 0 ? 1.0f + next() : next()) << (e < 15 ? "," : ";;");
        }
        x << "\n  }\n";
    }
    x << " }\n Frame Bone0 {\n  Frame Bone1 {\n   Frame Bone2 {}\n  }\n }\n}\n";
    return x.str();
}

/// Every skinned mesh's bones as our reader loads the file, in file order.
std::vector<rm::MeshSkin> ReadSkins(const std::string& path) {
    auto root = rm::MakeRef<rm::Frame>();
    EXPECT_EQ(root->Load(path.c_str()), rm::D3DRM_OK) << rm::GetLastLoadMessage();
    std::vector<rm::MeshSkin> skins;
    std::vector<rm::Frame*> pending{root.Get()};
    while (!pending.empty()) {
        rm::Frame* frame = pending.front();
        pending.erase(pending.begin());
        for (const auto& visual : frame->Visuals()) {
            const auto* builder = dynamic_cast<const rm::MeshBuilder*>(visual.Get());
            if (builder && builder->HasSkin()) {
                skins.push_back(builder->GetSkin());
            }
        }
        for (const auto& child : frame->Children()) {
            pending.push_back(child.Get());
        }
    }
    return skins;
}

/// Assimp's bones: per mesh node and bone name, the weight count, the sum of the weights
/// and the offset matrix.
std::map<std::string, std::vector<double>> AssimpBones(const std::string& path) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, 0);
    EXPECT_TRUE(scene && scene->mRootNode) << importer.GetErrorString();
    std::map<std::string, std::vector<double>> bones;
    std::vector<const aiNode*> pending;
    if (scene && scene->mRootNode) {
        pending.push_back(scene->mRootNode);
    }
    while (!pending.empty()) {
        const aiNode* node = pending.back();
        pending.pop_back();
        for (unsigned m = 0; m < node->mNumMeshes; ++m) {
            const aiMesh& mesh = *scene->mMeshes[node->mMeshes[m]];
            for (unsigned b = 0; b < mesh.mNumBones; ++b) {
                const aiBone& bone = *mesh.mBones[b];
                std::vector<double>& values =
                    bones[std::string(node->mName.C_Str()) + "/" + bone.mName.C_Str()];
                values.resize(18);
                values[0] += bone.mNumWeights;
                for (unsigned w = 0; w < bone.mNumWeights; ++w) {
                    values[1] += bone.mWeights[w].mWeight;
                }
                for (int e = 0; e < 16; ++e) {
                    values[2 + std::size_t(e)] = bone.mOffsetMatrix[e / 4][e % 4];
                }
            }
        }
        for (unsigned c = 0; c < node->mNumChildren; ++c) {
            pending.push_back(node->mChildren[c]);
        }
    }
    return bones;
}

class LosslessSaveTest : public DocumentSceneFixture {
protected:
    /// The three ways a file is saved here: the command line, and the editor's Save.
    /// (The command line publishes a scene of its own and takes it down again, so it runs
    /// after the fixture's open and save.)
    std::vector<std::string> SaveBothWays(const std::string& in) {
        const std::string saved = folder.File("saved.x");
        MustOpen(in);
        std::string error;
        EXPECT_EQ(Save(saved, &error), 1) << error;
        const std::string resaved = folder.File("resaved.x");
        std::ostringstream out, err;
        const std::vector<std::string> args{"--resave", in, resaved};
        EXPECT_EQ(cli::Run(args, out, err), cli::kExitOk) << err.str();
        return {saved, resaved};
    }
    void ExpectSkinsSurvive(const std::string& path, std::size_t meshes);
};

TEST_F(LosslessSaveTest, EverySetComesBackWithEveryChannelKeyAndTheTickRate) {
    const std::string original = WriteInFolder("three.x", ThreeSetFile(4800));
    const auto sets = ReadSets(original);
    ASSERT_EQ(sets.size(), 3u);
    AssimpAnimations expected;
    ASSERT_TRUE(ReadAssimp(original, &expected));
    ASSERT_EQ(expected.names, (std::vector<std::string>{"Walk", "Run", "Idle"}));

    for (const std::string& saved : SaveBothWays(original)) {
        SCOPED_TRACE(saved);
        ExpectSameSets(sets, ReadSets(saved));
        AssimpAnimations seen;
        ASSERT_TRUE(ReadAssimp(saved, &seen));
        EXPECT_EQ(seen.names, expected.names);
        EXPECT_EQ(seen.ticksPerSecond, (std::vector<double>(3, 4800.0)));
        ASSERT_EQ(seen.values.size(), expected.values.size());
        for (std::size_t a = 0; a < seen.values.size(); ++a) {
            ASSERT_EQ(seen.values[a].size(), expected.values[a].size()) << a;
            for (std::size_t v = 0; v < seen.values[a].size(); ++v) {
                EXPECT_NEAR(seen.values[a][v], expected.values[a][v], 2e-6) << a << "/" << v;
            }
        }
        // A reader that knows one set takes the first: the one the file opened with.
        auto first = rm::MakeRef<rm::AnimationSet>();
        auto parent = rm::MakeRef<rm::Frame>();
        ASSERT_EQ(first->Load(saved.c_str(), parent.Get()), rm::D3DRM_OK);
        EXPECT_EQ(first->Name(), "Walk");
        // The tick rate is declared once, after the header, and templates stay out.
        const std::string text = ReadFile(saved);
        EXPECT_NE(text.find("}\r\n\r\nAnimTicksPerSecond {\r\n 4800;\r\n}\r\n"), std::string::npos);
        EXPECT_EQ(text.find("template"), std::string::npos);
    }
}

TEST_F(LosslessSaveTest, OptionsSetInTheEditorSurviveSaveAndReopen) {
    const std::string original = WriteInFolder("three.x", ThreeSetFile(0));
    MustOpen(original);
    CCharacterData* character = doc.currentCharacter;
    ASSERT_EQ(character->Animations().size(), 3u);
    // As the part key dialog sets them: open or closed, linear or spline positions.
    const std::uint32_t kBoth = rm::D3DRMANIMATION_SCALEANDROTATION | rm::D3DRMANIMATION_POSITION;
    const std::uint32_t options[3] = {
        rm::D3DRMANIMATION_OPEN | rm::D3DRMANIMATION_LINEARPOSITION | kBoth,
        rm::D3DRMANIMATION_CLOSED | rm::D3DRMANIMATION_SPLINEPOSITION | kBoth,
        rm::kDefaultAnimationOptions};
    rm::AnimationSet* run = character->Animations()[1]->Set();
    for (int i = 0; i < 3; ++i) {
        run->Animations()[std::size_t(i)]->SetOptions(options[i]);
    }
    const std::string saved = folder.File("saved.x");
    ASSERT_EQ(Save(saved), 1);

    MustOpen(saved);
    const auto reopened = doc.currentCharacter->Animations();
    ASSERT_EQ(reopened.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(reopened[1]->Set()->Animations()[std::size_t(i)]->GetOptions(), options[i]) << i;
    }
    // Only the two animations whose options differ from a load's default carry the block.
    const std::string text = ReadFile(saved);
    std::size_t blocks = 0;
    for (std::size_t at = text.find("AnimationOptions"); at != std::string::npos;
         at = text.find("AnimationOptions", at + 1)) {
        ++blocks;
    }
    EXPECT_EQ(blocks, 2u);
    EXPECT_NE(text.find("  {Hips}\r\n  AnimationOptions {\r\n   1;\r\n   1;\r\n  }\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("  {Leg}\r\n  AnimationOptions {\r\n   0;\r\n   0;\r\n  }\r\n"),
              std::string::npos);
}

TEST_F(LosslessSaveTest, TheCubeKeepsItsVertexColours) {
    const std::string original =
        (std::filesystem::path(PAVRIX_TESTDATA_DIR) / "x" / "kwxport_test_cubewithvcolors.x")
            .string();
    if (!std::filesystem::exists(original)) {
        GTEST_SKIP() << "no test data at " << original;
    }
    auto colours = [](const std::string& path) {
        auto root = rm::MakeRef<rm::Frame>();
        EXPECT_EQ(root->Load(path.c_str()), rm::D3DRM_OK) << rm::GetLastLoadMessage();
        std::vector<rm::D3DCOLOR> out;
        const auto box = root->Children().at(0)->Visuals().at(0);
        auto* builder = dynamic_cast<rm::MeshBuilder*>(box.Get());
        EXPECT_TRUE(builder && builder->HasVertexColors());
        for (std::uint32_t v = 0; builder && v < builder->GetVertexCount(); ++v) {
            out.push_back(builder->GetVertexColor(v));
        }
        return out;
    };
    auto assimpColours = [](const std::string& path) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(path, 0);
        std::vector<float> out;
        EXPECT_TRUE(scene) << importer.GetErrorString();
        for (unsigned m = 0; scene && m < scene->mNumMeshes; ++m) {
            const aiMesh& mesh = *scene->mMeshes[m];
            EXPECT_TRUE(mesh.HasVertexColors(0));
            for (unsigned v = 0; mesh.HasVertexColors(0) && v < mesh.mNumVertices; ++v) {
                const aiColor4D& c = mesh.mColors[0][v];
                out.insert(out.end(), {c.r, c.g, c.b, c.a});
            }
        }
        return out;
    };
    const std::vector<rm::D3DCOLOR> expected = colours(original);
    ASSERT_EQ(expected.size(), 24u);
    const std::vector<float> expectedByAssimp = assimpColours(original);
    ASSERT_FALSE(expectedByAssimp.empty());
    for (const std::string& saved : SaveBothWays(original)) {
        SCOPED_TRACE(saved);
        EXPECT_EQ(colours(saved), expected);
        EXPECT_EQ(assimpColours(saved), expectedByAssimp);
    }
}

// Bones, vertex indices, weights and offsets come back within what six decimals keep, as
// our reader and Assimp see them; so do the header's counts. The skin's own templates are
// declared (the standard ones stay out of a document's save).
void LosslessSaveTest::ExpectSkinsSurvive(const std::string& path, std::size_t meshes) {
    const std::vector<rm::MeshSkin> expected = ReadSkins(path);
    ASSERT_EQ(expected.size(), meshes);
    const auto expectedByAssimp = AssimpBones(path);
    ASSERT_FALSE(expectedByAssimp.empty());
    for (const std::string& saved : SaveBothWays(path)) {
        SCOPED_TRACE(saved);
        ForEachPair(
            expected, ReadSkins(saved), [](const rm::MeshSkin& a, const rm::MeshSkin& b, auto) {
                EXPECT_EQ(b.maxWeightsPerVertex, a.maxWeightsPerVertex);
                EXPECT_EQ(b.maxWeightsPerFace, a.maxWeightsPerFace);
                ForEachPair(a.bones, b.bones,
                            [](const rm::SkinBone& x, const rm::SkinBone& y, auto) {
                                SCOPED_TRACE(x.frameName);
                                EXPECT_EQ(y.frameName, x.frameName);
                                EXPECT_EQ(y.vertices, x.vertices);
                                ForEachPair(x.weights, y.weights, [](float p, float q, auto) {
                                    EXPECT_PRED2(NearAsWritten, p, q);
                                });
                                for (int e = 0; e < 16; ++e) {
                                    EXPECT_PRED2(NearAsWritten, x.offset.m[e / 4][e % 4],
                                                 y.offset.m[e / 4][e % 4]);
                                }
                            });
            });
        const auto seenByAssimp = AssimpBones(saved);
        ASSERT_EQ(seenByAssimp.size(), expectedByAssimp.size());
        for (const auto& [name, values] : expectedByAssimp) {
            SCOPED_TRACE(name);
            ASSERT_EQ(seenByAssimp.count(name), 1u);
            const std::vector<double>& other = seenByAssimp.at(name);
            EXPECT_EQ(other[0], values[0]);
            for (std::size_t v = 1; v < values.size(); ++v) {
                EXPECT_NEAR(other[v], values[v], 1e-5 * (1 + std::fabs(values[0]))) << v;
            }
        }
        const std::string text = ReadFile(saved);
        EXPECT_NE(text.find("template SkinWeights {"), std::string::npos);
        EXPECT_EQ(text.find("template Mesh {"), std::string::npos);
    }
}

TEST_F(LosslessSaveTest, AGeneratedSkinnedChainKeepsItsBonesWeightsAndOffsets) {
    const std::string generated = WriteInFolder("chain.x", SkinnedChainFile(40));
    ExpectSkinsSurvive(generated, 1);
}

TEST_F(LosslessSaveTest, TheSkinnedCharacterKeepsItsBonesWeightsAndOffsets) {
    const std::string character =
        (std::filesystem::path(PAVRIX_TESTDATA_DIR) / "x" / "BCN_Epileptic.X").string();
    if (!std::filesystem::exists(character)) {
        GTEST_SKIP() << "no test data at " << character;
    }
    ExpectSkinsSurvive(character, 3);
}

} // namespace

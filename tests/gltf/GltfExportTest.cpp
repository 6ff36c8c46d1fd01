// The export of every real .x file, checked three ways: by the Khronos validator, by
// Assimp reading it back against our own reader's view of the original, and by the motion
// Assimp samples from the exported animations against our posed frames.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "cli/Cli.h"
#include "cli/CommandOpen.h"
#include "cli/HeadlessScene.h"
#include "platform/framework/DecodeName.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Math.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/MeshBuilder.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/CPartRecord.h"

namespace {

namespace fs = std::filesystem;

/// Every .x file of the test data that opens (empty.x is the one that must not), and the
/// sample walker.
std::vector<std::string> SourceFiles() {
    std::vector<std::string> files;
    const fs::path data = fs::path(PAVRIX_TESTDATA_DIR) / "x";
    if (fs::is_directory(data)) {
        for (const auto& entry : fs::directory_iterator(data)) {
            const std::string ext = entry.path().extension().string();
            if ((ext == ".x" || ext == ".X") && entry.path().filename() != "empty.x") {
                files.push_back(entry.path().string());
            }
        }
    }
    std::sort(files.begin(), files.end());
    files.push_back(std::string(PAVRIX_SAMPLES_DIR) + "/walker.x");
    return files;
}

fs::path ScratchFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path folder =
        fs::path(::testing::TempDir()) / ("pavrix-gltf-" + std::to_string(::getpid()) + "-" +
                                          test->test_suite_name() + "." + test->name());
    fs::create_directories(folder);
    return folder;
}

int Export(const std::string& in, const std::string& out, std::string* err = nullptr) {
    std::ostringstream o, e;
    const int status = cli::Run(std::vector<std::string>{"--export", in, out}, o, e);
    if (err) {
        *err = e.str();
    }
    return status;
}

std::string OutputFor(const fs::path& folder, const std::string& in, const char* extension) {
    return (folder / (fs::path(in).stem().string() + extension)).string();
}

std::string FileNameOf(const rm::Frame& frame) {
    const CPartRecord* record = CPartRecord::Of(&frame);
    return record ? record->fileName.value_or("") : frame.Name();
}

std::string Text(const std::string& bytes) {
    return framework::DecodeName(bytes).toStdString();
}

/// A document opened as the command line opens it.
struct OpenedDocument {
    std::ostringstream messages;
    cli::HeadlessScene scene{messages};
    bool ok = false;
    explicit OpenedDocument(const std::string& path) {
        ok = cli::OpenCommandDocument(scene.document, path, nullptr, cli::AnimationArgument::File,
                                      messages);
    }
    rm::Frame* Root() const { return scene.document.currentModel->Root(); }
};

// What our reader holds, in the terms the export is checked in.

struct MeshFacts {
    std::size_t triangles = 0;
    std::set<std::tuple<float, float, float>> positions; // converted, corners only
    std::size_t joints = 0;                              // skinned meshes
};

void AddBuilder(const rm::MeshBuilder& builder, MeshFacts* facts) {
    for (std::uint32_t f = 0; f < builder.GetFaceCount(); ++f) {
        const std::uint32_t n = builder.FaceCornerCount(f);
        if (n < 3) {
            continue;
        }
        facts->triangles += n - 2;
        for (std::uint32_t c = 0; c < n; ++c) {
            rm::Vector p;
            std::uint32_t one = 1;
            builder.GetVertices(builder.FaceVertexIndex(f, c), &one, &p);
            facts->positions.emplace(p.x, p.y, -p.z);
        }
    }
}

/// The rigid meshes of a frame as one, and each skinned builder on its own.
void FactsOf(const rm::Frame& frame, MeshFacts* rigid, std::vector<MeshFacts>* skinned,
             const std::set<std::string>& frameNames) {
    for (const auto& visual : frame.Visuals()) {
        if (const auto* builder = dynamic_cast<const rm::MeshBuilder*>(visual.Get())) {
            if (!builder->HasSkin()) {
                AddBuilder(*builder, rigid);
                continue;
            }
            MeshFacts facts;
            AddBuilder(*builder, &facts);
            std::set<std::string> bones;
            std::vector<float> weight(builder->GetVertexCount(), 0.0f);
            for (const rm::SkinBone& bone : builder->GetSkin().bones) {
                if (frameNames.count(bone.frameName)) {
                    bones.insert(bone.frameName);
                    for (std::size_t i = 0; i < bone.vertices.size(); ++i) {
                        weight[bone.vertices[i]] += std::max(bone.weights[i], 0.0f);
                    }
                }
            }
            const bool unweighted =
                std::any_of(weight.begin(), weight.end(), [](float w) { return !(w > 0); });
            facts.joints = bones.size() + (unweighted && !bones.count(FileNameOf(frame)) ? 1 : 0);
            skinned->push_back(std::move(facts));
        } else if (const auto* mesh = dynamic_cast<const rm::Mesh*>(visual.Get())) {
            auto copy = rm::MakeRef<rm::MeshBuilder>();
            copy->AddMesh(mesh);
            AddBuilder(*copy, rigid);
        }
    }
}

void CollectNames(const rm::Frame& frame, std::set<std::string>* names) {
    names->insert(FileNameOf(frame));
    for (const auto& child : frame.Children()) {
        CollectNames(*child, names);
    }
}

// What Assimp read.

bool IsSkinNode(const aiScene& scene, const aiNode& node) {
    return node.mNumMeshes > 0 && scene.mMeshes[node.mMeshes[0]]->HasBones();
}

MeshFacts FactsOf(const aiScene& scene, const aiNode& node) {
    MeshFacts facts;
    for (unsigned m = 0; m < node.mNumMeshes; ++m) {
        const aiMesh& mesh = *scene.mMeshes[node.mMeshes[m]];
        facts.joints = std::max<std::size_t>(facts.joints, mesh.mNumBones);
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            facts.triangles += face.mNumIndices == 3 ? 1 : 0;
            for (unsigned i = 0; i < face.mNumIndices; ++i) {
                const aiVector3D& p = mesh.mVertices[face.mIndices[i]];
                facts.positions.emplace(p.x, p.y, p.z);
            }
        }
    }
    return facts;
}

void ExpectSameMesh(const MeshFacts& ours, const MeshFacts& theirs, const std::string& where) {
    EXPECT_EQ(theirs.triangles, ours.triangles) << where;
    EXPECT_EQ(theirs.positions.size(), ours.positions.size()) << where;
    if (ours.positions.empty() || theirs.positions.empty()) {
        return;
    }
    float lo[2][3], hi[2][3];
    int side = 0;
    for (const auto* positions : {&ours.positions, &theirs.positions}) {
        for (int c = 0; c < 3; ++c) {
            lo[side][c] = INFINITY;
            hi[side][c] = -INFINITY;
        }
        for (const auto& [x, y, z] : *positions) {
            const float p[3] = {x, y, z};
            for (int c = 0; c < 3; ++c) {
                lo[side][c] = std::min(lo[side][c], p[c]);
                hi[side][c] = std::max(hi[side][c], p[c]);
            }
        }
        ++side;
    }
    const float extent = std::hypot(hi[0][0] - lo[0][0], hi[0][1] - lo[0][1], hi[0][2] - lo[0][2]);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(lo[1][c], lo[0][c], 1e-4f * extent) << where << " axis " << c;
        EXPECT_NEAR(hi[1][c], hi[0][c], 1e-4f * extent) << where << " axis " << c;
    }
}

struct TreeCheck {
    const aiScene& scene;
    std::set<std::string> frameNames;
    std::vector<std::pair<MeshFacts, std::string>> skinned; // facts, node name

    std::vector<const aiNode*> Children(const aiNode& node) const {
        std::vector<const aiNode*> children;
        for (unsigned i = 0; i < node.mNumChildren; ++i) {
            if (!IsSkinNode(scene, *node.mChildren[i])) {
                children.push_back(node.mChildren[i]);
            }
        }
        return children;
    }

    void Compare(const rm::Frame& frame, const aiNode& node) {
        const std::string name = FileNameOf(frame);
        if (!name.empty()) {
            EXPECT_EQ(node.mName.C_Str(), Text(name));
        }
        MeshFacts rigid;
        std::vector<MeshFacts> skins;
        FactsOf(frame, &rigid, &skins, frameNames);
        ExpectSameMesh(rigid, FactsOf(scene, node), "frame " + Text(name));
        for (MeshFacts& skin : skins) {
            skinned.emplace_back(std::move(skin), Text(name) + "_skin");
        }
        const auto children = Children(node);
        ASSERT_EQ(children.size(), frame.Children().size()) << "frame " << Text(name);
        for (std::size_t i = 0; i < children.size(); ++i) {
            Compare(*frame.Children()[i], *children[i]);
        }
    }
};

const aiNode* FindNode(const aiNode& node, const std::string& name) {
    if (name == node.mName.C_Str()) {
        return &node;
    }
    for (unsigned i = 0; i < node.mNumChildren; ++i) {
        if (const aiNode* found = FindNode(*node.mChildren[i], name)) {
            return found;
        }
    }
    return nullptr;
}

/// Distinct key times of one type at or after 0 (what the export writes).
std::size_t KeyCount(const rm::Animation& animation, std::uint32_t type) {
    std::set<float> times;
    for (const rm::AnimationKey& key : animation.Keys()) {
        if (key.dwKeyType == type) {
            times.insert(key.dvTime);
        }
    }
    return times.size();
}

void CompareWithOurReader(const std::string& source, const std::string& exported) {
    SCOPED_TRACE(exported);
    OpenedDocument doc(source);
    ASSERT_TRUE(doc.ok) << doc.messages.str();
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(exported, 0);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();

    // The tree: the frames under the model's root, in order; skinned meshes beside them.
    TreeCheck check{*scene, {}, {}};
    CollectNames(*doc.Root(), &check.frameNames);
    const auto& top = doc.Root()->Children();
    std::vector<const aiNode*> roots = check.Children(*scene->mRootNode);
    if (top.size() == 1 && !IsSkinNode(*scene, *scene->mRootNode) &&
        scene->mRootNode->mName.C_Str() == Text(FileNameOf(*top[0]))) {
        roots = {scene->mRootNode};
    }
    ASSERT_EQ(roots.size(), top.size());
    for (std::size_t i = 0; i < top.size(); ++i) {
        check.Compare(*top[i], *roots[i]);
    }
    for (const auto& [facts, name] : check.skinned) {
        const aiNode* node = FindNode(*scene->mRootNode, name);
        ASSERT_NE(node, nullptr) << name;
        ExpectSameMesh(facts, FactsOf(*scene, *node), name);
        EXPECT_EQ(FactsOf(*scene, *node).joints, facts.joints) << name;
    }

    // Animations: one per set with keys, in order, with a channel per keyed frame and the
    // keys of each kind.
    std::vector<const CAnimationData*> sets;
    for (const CAnimationData* data : doc.scene.document.currentCharacter->Animations()) {
        const auto& animations = data->Set()->Animations();
        if (std::any_of(animations.begin(), animations.end(),
                        [](const auto& a) { return !a->Keys().empty(); })) {
            sets.push_back(data);
        }
    }
    ASSERT_EQ(scene->mNumAnimations, sets.size());
    for (std::size_t s = 0; s < sets.size(); ++s) {
        const aiAnimation& theirs = *scene->mAnimations[s];
        EXPECT_EQ(theirs.mName.C_Str(), Text(sets[s]->Set()->Name()));
        std::size_t keyed = 0;
        for (const auto& animation : sets[s]->Set()->Animations()) {
            if (animation->Keys().empty()) {
                continue;
            }
            ++keyed;
            const std::string frame = Text(FileNameOf(*animation->GetFrame()));
            const aiNodeAnim* channel = nullptr;
            for (unsigned c = 0; c < theirs.mNumChannels; ++c) {
                if (frame == theirs.mChannels[c]->mNodeName.C_Str()) {
                    channel = theirs.mChannels[c];
                }
            }
            ASSERT_NE(channel, nullptr) << frame;
            const std::size_t rotations = KeyCount(*animation, rm::D3DRMANIMATION_ROTATEKEY);
            const std::size_t scales = KeyCount(*animation, rm::D3DRMANIMATION_SCALEKEY);
            const std::size_t positions = KeyCount(*animation, rm::D3DRMANIMATION_POSITIONKEY);
            // A kind without keys is filled by Assimp with the node's own value.
            EXPECT_EQ(channel->mNumRotationKeys, rotations ? rotations : 1u) << frame;
            EXPECT_EQ(channel->mNumScalingKeys, scales ? scales : 1u) << frame;
            EXPECT_EQ(channel->mNumPositionKeys, positions ? positions : 1u) << frame;
        }
        EXPECT_EQ(theirs.mNumChannels, keyed);
    }
}

/// glTF's sampling of one channel kind at `time` (Assimp's ticks): linear between keys,
/// the end values outside.
template <typename Key, typename Value, typename Mix>
Value Sample(const Key* keys, unsigned count, double time, Value fallback, Mix mix) {
    if (count == 0) {
        return fallback;
    }
    if (time <= keys[0].mTime) {
        return keys[0].mValue;
    }
    for (unsigned i = 0; i + 1 < count; ++i) {
        if (time <= keys[i + 1].mTime) {
            const double f = (time - keys[i].mTime) / (keys[i + 1].mTime - keys[i].mTime);
            return mix(keys[i].mValue, keys[i + 1].mValue, float(f));
        }
    }
    return keys[count - 1].mValue;
}

void WorldPositions(const aiNode& node, const aiMatrix4x4& parent, const aiAnimation& animation,
                    double time, std::map<std::string, aiVector3D>* out) {
    aiMatrix4x4 local = node.mTransformation;
    for (unsigned c = 0; c < animation.mNumChannels; ++c) {
        const aiNodeAnim& channel = *animation.mChannels[c];
        if (channel.mNodeName != node.mName) {
            continue;
        }
        aiVector3D scale, position;
        aiQuaternion rotation;
        node.mTransformation.Decompose(scale, rotation, position);
        auto lerp = [](const aiVector3D& a, const aiVector3D& b, float f) {
            return a + (b - a) * f;
        };
        position = Sample(channel.mPositionKeys, channel.mNumPositionKeys, time, position, lerp);
        scale = Sample(channel.mScalingKeys, channel.mNumScalingKeys, time, scale, lerp);
        rotation = Sample(channel.mRotationKeys, channel.mNumRotationKeys, time, rotation,
                          [](const aiQuaternion& a, const aiQuaternion& b, float f) {
                              aiQuaternion q;
                              aiQuaternion::Interpolate(q, a, b, f);
                              return q.Normalize();
                          });
        local = aiMatrix4x4(scale, rotation, position);
    }
    const aiMatrix4x4 world = parent * local;
    out->try_emplace(node.mName.C_Str(), world.a4, world.b4, world.c4);
    for (unsigned i = 0; i < node.mNumChildren; ++i) {
        WorldPositions(*node.mChildren[i], world, animation, time, out);
    }
}

void OurWorldPositions(const rm::Frame& frame, std::map<std::string, aiVector3D>* out) {
    const std::string name = Text(FileNameOf(frame));
    if (!name.empty()) {
        const rm::Matrix4 world = frame.WorldTransform();
        out->try_emplace(name, world.m[3][0], world.m[3][1], -world.m[3][2]);
    }
    for (const auto& child : frame.Children()) {
        OurWorldPositions(*child, out);
    }
}

bool ValidatorPresent() {
    return fs::exists(fs::path(PAVRIX_TOOLS_DIR) / "node_modules/gltf-validator/package.json") &&
           std::system("node --version > /dev/null 2>&1") == 0;
}

QJsonObject Validate(const std::string& file) {
    const std::string command = std::string("node '") + PAVRIX_VALIDATE_SCRIPT + "' '" +
                                PAVRIX_TOOLS_DIR + "/node_modules/gltf-validator' '" + file + "'";
    std::string output;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            output.append(buffer, n);
        }
        ::pclose(pipe);
    }
    return QJsonDocument::fromJson(QByteArray::fromStdString(output)).object();
}

} // namespace

TEST(GltfExportFiles, EveryFileValidatesWithoutErrorOrWarningAsGlbAndGltf) {
    if (!ValidatorPresent()) {
        GTEST_SKIP() << "the glTF validator is not installed in " << PAVRIX_TOOLS_DIR;
    }
    const fs::path folder = ScratchFolder();
    for (const std::string& source : SourceFiles()) {
        for (const char* extension : {".glb", ".gltf"}) {
            const std::string out = OutputFor(folder, source, extension);
            std::string err;
            ASSERT_EQ(Export(source, out, &err), cli::kExitOk) << source << '\n' << err;
            const QJsonObject report = Validate(out);
            ASSERT_TRUE(report.contains("errors")) << out << ": the validator gave no report";
            EXPECT_EQ(report["errors"].toInt(), 0) << out << '\n'
                                                   << QJsonDocument(report).toJson().toStdString();
            EXPECT_EQ(report["warnings"].toInt(), 0)
                << out << '\n'
                << QJsonDocument(report).toJson().toStdString();
        }
    }
}

TEST(GltfExportFiles, AssimpReadsBackWhatOurReaderRead) {
    const fs::path folder = ScratchFolder();
    for (const std::string& source : SourceFiles()) {
        for (const char* extension : {".glb", ".gltf"}) {
            const std::string out = OutputFor(folder, source, extension);
            ASSERT_EQ(Export(source, out), cli::kExitOk) << source;
            CompareWithOurReader(source, out);
        }
    }
}

TEST(GltfExportFiles, ExportedMotionMatchesOurPosedFramesAtTenTimes) {
    const std::vector<std::string> sources = {std::string(PAVRIX_TESTDATA_DIR) +
                                                  "/x/BCN_Epileptic.X",
                                              std::string(PAVRIX_SAMPLES_DIR) + "/walker.x"};
    const fs::path folder = ScratchFolder();
    for (const std::string& source : sources) {
        if (!fs::exists(source)) {
            GTEST_SKIP() << source << " is absent";
        }
        SCOPED_TRACE(source);
        const std::string out = OutputFor(folder, source, ".glb");
        ASSERT_EQ(Export(source, out), cli::kExitOk);
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(out, 0);
        ASSERT_NE(scene, nullptr) << importer.GetErrorString();

        const std::size_t setCount =
            OpenedDocument(source).scene.document.currentCharacter->m_count;
        ASSERT_EQ(scene->mNumAnimations, setCount);
        for (std::size_t s = 0; s < setCount; ++s) {
            // Each set posed from the rest, in a document of its own.
            OpenedDocument doc(source);
            ASSERT_TRUE(doc.ok);
            rm::Box box;
            doc.Root()->GetHierarchyBox(&box);
            const float extent = rm::VectorModulus(rm::VectorSubtract(box.max, box.min));
            rm::AnimationSet* set = doc.scene.document.currentCharacter->Animations()[s]->Set();
            float first = INFINITY, last = -INFINITY;
            for (const auto& animation : set->Animations()) {
                for (const rm::AnimationKey& key : animation->Keys()) {
                    first = std::min(first, key.dvTime);
                    last = std::max(last, key.dvTime);
                }
            }
            ASSERT_LE(first, last);
            const double ticksPerSecond = set->TicksPerSecond() ? set->TicksPerSecond() : 30.0;
            const aiAnimation& animation = *scene->mAnimations[s];
            const double assimpTicks =
                animation.mTicksPerSecond > 0 ? animation.mTicksPerSecond : 1;
            for (int k = 0; k < 10; ++k) {
                const float time = first + (last - first) * float(k) / 9.0f;
                set->SetTime(time);
                std::map<std::string, aiVector3D> ours, theirs;
                OurWorldPositions(*doc.Root(), &ours);
                WorldPositions(*scene->mRootNode, aiMatrix4x4(), animation,
                               double(time - first) / ticksPerSecond * assimpTicks, &theirs);
                for (const auto& [name, position] : ours) {
                    ASSERT_TRUE(theirs.count(name)) << name;
                    const aiVector3D d = theirs[name] - position;
                    EXPECT_LE(d.Length(), 1e-3f * extent)
                        << "set " << s << " time " << time << " frame " << name;
                }
            }
        }
    }
}

TEST(GltfExportFiles, TexturesGoAcrossAsPngOrJpegFilesBesideTheGltf) {
    const std::string test = std::string(PAVRIX_TESTDATA_DIR) + "/x/test.x";
    const std::string cube = std::string(PAVRIX_TESTDATA_DIR) + "/x/kwxport_test_cubewithvcolors.x";
    if (!fs::exists(test) || !fs::exists(cube)) {
        GTEST_SKIP() << "test data absent";
    }
    const fs::path folder = ScratchFolder();
    auto read = [](const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    auto images = [&](const fs::path& gltf) {
        std::vector<std::string> uris;
        const QJsonObject doc =
            QJsonDocument::fromJson(QByteArray::fromStdString(read(gltf))).object();
        for (const auto& image : doc["images"].toArray()) {
            uris.push_back(image.toObject()["uri"].toString().toStdString());
        }
        return uris;
    };
    // A PNG is copied byte for byte.
    ASSERT_EQ(Export(test, (folder / "test.gltf").string()), cli::kExitOk);
    ASSERT_EQ(images(folder / "test.gltf"), std::vector<std::string>{"test_test.png"});
    EXPECT_EQ(read(folder / "test_test.png"), read(fs::path(PAVRIX_TESTDATA_DIR) / "x/test.png"));
    // Targa images, named by Windows paths in the file, become PNG files named after the
    // .gltf file and the image.
    ASSERT_EQ(Export(cube, (folder / "cube.gltf").string()), cli::kExitOk);
    const auto uris = images(folder / "cube.gltf");
    ASSERT_EQ(uris.size(), 3u);
    for (const std::string& uri : uris) {
        EXPECT_EQ(fs::path(uri).extension(), ".png") << uri;
        EXPECT_EQ(uri.rfind("cube_", 0), 0u) << uri;
        EXPECT_EQ(read(folder / uri).substr(0, 4), "\x89PNG") << uri;
    }
}

TEST(GltfExportFiles, AFileThatCannotBeReadWritesNothingAndSaysWhy) {
    const std::string empty = std::string(PAVRIX_TESTDATA_DIR) + "/x/empty.x";
    if (!fs::exists(empty)) {
        GTEST_SKIP() << "test data absent";
    }
    const fs::path folder = ScratchFolder();
    std::string err;
    EXPECT_EQ(Export(empty, (folder / "empty.glb").string(), &err), cli::kExitFailed);
    EXPECT_NE(err.find("cannot open"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(folder / "empty.glb"));
}

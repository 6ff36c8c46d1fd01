// The reader against real files written by other tools (shared/testdata/x): they decide
// what the reader must accept.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/rm/AnimationSet.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Implementation/XFileMszip.h"
#include "platform/rm/Implementation/XFileReader.h"
#include "platform/rm/Math.h"
#include "platform/rm/MeshBuilder.h"
#include "platform/rm/XFileLoader.h"
#include "support/XFileTestSupport.h"

using namespace rm;
using namespace testing_xfile;

namespace {

class XFileRealFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HasTestData()) {
            GTEST_SKIP() << "no test data folder at " << PAVRIX_TESTDATA_DIR;
        }
    }
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void CollectFrames(const Frame& frame, std::vector<const Frame*>* out) {
    for (const auto& child : frame.Children()) {
        out->push_back(child.Get());
        CollectFrames(*child, out);
    }
}

const Frame* FindFrame(const Frame& root, const std::string& name) {
    std::vector<const Frame*> all;
    CollectFrames(root, &all);
    for (const Frame* f : all) {
        if (f->Name() == name) {
            return f;
        }
    }
    return nullptr;
}

MeshBuilder* OnlyBuilder(const Frame& frame) {
    if (frame.Visuals().size() != 1) {
        return nullptr;
    }
    return dynamic_cast<MeshBuilder*>(frame.Visuals()[0].Get());
}

} // namespace

// Each mesh must come out with the vertex, face and normal counts the file declares.
TEST_F(XFileRealFilesTest, EveryFileIsReadWithTheCountsItDeclares) {
    struct MeshCounts {
        const char* frame;
        const char* mesh;
        std::uint32_t vertices, faces, normals;
    };
    const struct {
        const char* file;
        std::size_t frames;
        std::vector<MeshCounts> meshes;
    } cases[] = {
        {"BCN_Epileptic.X",
         57,
         {{"Torso", "mesh_Torso", 1170, 1966, 1170},
          {"Head", "mesh_Head", 1196, 2036, 1196},
          {"Legs", "mesh_Legs", 648, 1124, 648}}},
        {"test.x", 1, {{"pCube1", "pCubeShape1", 24, 12, 24}}},
        {"test_cube_text.x", 2, {{"Cube", "Cube", 24, 12, 24}}},
        {"test_cube_binary.x", 2, {{"Cube", "Cube", 24, 12, 24}}},
        {"test_cube_compressed.x", 2, {{"Cube", "Cube", 24, 12, 24}}},
        {"kwxport_test_cubewithvcolors.x", 1, {{"Box01", "mesh_Box01", 24, 12, 24}}},
        {"malformed_skinweights_oob.x", 2, {{"Cube", "Cube", 24, 12, 24}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        auto root = MakeRef<Frame>();
        ASSERT_EQ(root->Load(TestData(c.file).c_str()), D3DRM_OK) << GetLastLoadMessage();
        std::vector<const Frame*> frames;
        CollectFrames(*root, &frames);
        EXPECT_EQ(frames.size(), c.frames);
        for (const auto& m : c.meshes) {
            const Frame* frame = FindFrame(*root, m.frame);
            ASSERT_NE(frame, nullptr) << m.frame;
            const MeshBuilder* builder = OnlyBuilder(*frame);
            ASSERT_NE(builder, nullptr) << m.frame;
            EXPECT_EQ(builder->Name(), m.mesh);
            EXPECT_EQ(builder->GetVertexCount(), m.vertices) << m.frame;
            EXPECT_EQ(builder->GetFaceCount(), m.faces) << m.frame;
            EXPECT_EQ(builder->GetNormalCount(), m.normals) << m.frame;
        }
    }
}

TEST_F(XFileRealFilesTest, AnEmptyFileIsRefusedWithAClearMessage) {
    const std::string path = TestData("empty.x");
    auto root = MakeRef<Frame>();
    EXPECT_EQ(root->Load(path.c_str()), D3DRMERR_BADFILE);
    EXPECT_EQ(GetLastLoadMessage(),
              path + ":1: expected the header 'xof 0303txt 0032', found an empty file");
    EXPECT_TRUE(root->Children().empty());
    auto builder = MakeRef<MeshBuilder>();
    EXPECT_EQ(builder->Load(path.c_str()), D3DRMERR_BADFILE);
    auto set = MakeRef<AnimationSet>();
    EXPECT_EQ(set->Load(path.c_str(), root.Get()), D3DRMERR_BADFILE);
    EXPECT_TRUE(root->Children().empty());
}

// An index that points past the mesh (which crashes a widely used importer) loses its
// weight with a warning; the rest of the file loads like the good cube.
TEST_F(XFileRealFilesTest, OutOfRangeSkinWeightsDoNotDisturbTheLoad) {
    EXPECT_EQ(DumpFrameLoad(TestData("malformed_skinweights_oob.x")),
              DumpFrameLoad(TestData("test_cube_text.x")));
    auto builder = MakeRef<MeshBuilder>();
    EXPECT_EQ(builder->Load(TestData("malformed_skinweights_oob.x").c_str()), D3DRM_OK);
    EXPECT_EQ(builder->GetVertexCount(), 24u);
    EXPECT_THAT(GetLastLoadMessage(),
                ::testing::EndsWith("malformed_skinweights_oob.x:219: expected vertex indices "
                                    "below 24 (the number of vertices) in the SkinWeights of bone "
                                    "'Cube', found 1000000; 1 weight is left out"));
    ASSERT_EQ(builder->GetSkin().bones.size(), 1u);
    EXPECT_EQ(builder->GetSkin().bones[0].vertices.size(), 23u);
    EXPECT_EQ(builder->GetSkin().bones[0].weights.size(), 23u);
}

TEST_F(XFileRealFilesTest, TextBinaryAndCompressedCubesGiveTheSameScene) {
    const std::string text = DumpFrameLoad(TestData("test_cube_text.x"));
    ASSERT_FALSE(text.empty()) << GetLastLoadMessage();
    EXPECT_EQ(DumpFrameLoad(TestData("test_cube_binary.x")), text);
    EXPECT_EQ(DumpFrameLoad(TestData("test_cube_compressed.x")), text);

    const struct {
        const char* file;
        XFileFormat format;
    } formats[] = {{"test_cube_text.x", XFileFormat::Text},
                   {"test_cube_binary.x", XFileFormat::Binary},
                   {"test_cube_compressed.x", XFileFormat::CompressedBinary}};
    for (const auto& f : formats) {
        XFileFormat format{};
        EXPECT_EQ(GetXFileFormat(TestData(f.file).c_str(), &format), D3DRM_OK);
        EXPECT_EQ(format, f.format) << f.file;
    }
}

// The compressed cube is the binary cube in MSZIP blocks: inflating it must give back the
// binary file's bytes after the header exactly.
TEST_F(XFileRealFilesTest, InflatingTheCompressedCubeGivesTheBinaryCube) {
    const std::string compressed = ReadAll(TestData("test_cube_compressed.x"));
    const std::string binary = ReadAll(TestData("test_cube_binary.x"));
    InflatedContent out;
    std::string problem;
    std::size_t offset = 0;
    ASSERT_TRUE(InflateMszip(std::string_view(compressed).substr(16), kMaxXFileSize, &out, &problem,
                             &offset))
        << problem;
    EXPECT_EQ(out.View(), binary.substr(16));
}

TEST_F(XFileRealFilesTest, TheCubeKeepsItsMatricesAndItsSharedMaterial) {
    auto root = MakeRef<Frame>();
    ASSERT_EQ(root->Load(TestData("test_cube_binary.x").c_str()), D3DRM_OK);
    const Frame* rootFrame = FindFrame(*root, "Root");
    ASSERT_NE(rootFrame, nullptr);
    // The file turns z up into y up: rows (1,0,0,0), (0,0,1,0), (0,1,-0,0), (0,0,0,1).
    EXPECT_EQ(rootFrame->LocalTransform().m[1][2], 1.0f);
    EXPECT_EQ(rootFrame->LocalTransform().m[2][1], 1.0f);
    EXPECT_EQ(rootFrame->LocalTransform().m[1][1], 0.0f);
    const MeshBuilder* cube = OnlyBuilder(*FindFrame(*root, "Cube"));
    ASSERT_NE(cube, nullptr);
    const Material* material = cube->FaceMaterial(0);
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->Name(), "Material");
    EXPECT_NEAR(material->GetPower(), 96.07843f, 1e-4f);
    for (std::uint32_t f = 0; f < cube->GetFaceCount(); ++f) {
        EXPECT_EQ(cube->FaceMaterial(f), material) << "face " << f;
        EXPECT_EQ(cube->FaceColor(f), CreateColorRGBA(0.639216f, 0.639216f, 0.639216f, 1.0f));
    }
}

TEST_F(XFileRealFilesTest, TheCharacterKeepsItsFrameMatricesExactly) {
    auto root = MakeRef<Frame>();
    ASSERT_EQ(root->Load(TestData("BCN_Epileptic.X").c_str()), D3DRM_OK);
    const Frame* torso = FindFrame(*root, "Torso");
    ASSERT_NE(torso, nullptr);
    const float expected[4][4] = {{1, 0, 0, 0}, {0, 0, 1, 0}, {0, -1, 0, 0}, {0, 0, 0, 1}};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(torso->LocalTransform().m[r][c], expected[r][c]) << r << "," << c;
        }
    }
    // Torso, Head and Legs are top-level; the bones hang below B_Root_Pelvis_L.
    EXPECT_EQ(root->Children().size(), 4u);
    const Frame* knee = FindFrame(*root, "B_Knee_Left");
    ASSERT_NE(knee, nullptr);
    EXPECT_EQ(knee->GetParent()->Name(), "B_Hip_Left");
}

TEST_F(XFileRealFilesTest, TheCharacterAnimationDrivesItsBonesByName) {
    auto parent = MakeRef<Frame>();
    auto set = MakeRef<AnimationSet>();
    ASSERT_EQ(set->Load(TestData("BCN_Epileptic.X").c_str(), parent.Get()), D3DRM_OK)
        << GetLastLoadMessage();
    EXPECT_EQ(set->Name(), "Epileptisch");
    EXPECT_EQ(set->TicksPerSecond(), 4800u);
    ASSERT_EQ(set->Animations().size(), 57u);
    for (const auto& animation : set->Animations()) {
        const auto frame = animation->GetFrame();
        ASSERT_TRUE(frame) << animation->Name();
        // Every animation is named "Anim-Epileptisch-" + the frame it drives, and every
        // frame it drives is one of the file's, under the parent.
        EXPECT_EQ("Anim-Epileptisch-" + frame->Name(), animation->Name());
        EXPECT_EQ(frame->GetScene(), parent.Get());
        // AnimationOptions { 1; 0; }: open, spline positions.
        EXPECT_EQ(animation->GetOptions(), D3DRMANIMATION_OPEN | D3DRMANIMATION_SPLINEPOSITION |
                                               D3DRMANIMATION_SCALEANDROTATION |
                                               D3DRMANIMATION_POSITION);
    }
    const auto& torso = set->Animations()[0];
    ASSERT_EQ(torso->Keys().size(), 3u);
    const AnimationKey& rotation = torso->Keys()[0];
    EXPECT_EQ(rotation.dwKeyType, D3DRMANIMATION_ROTATEKEY);
    EXPECT_EQ(rotation.dqRotateKey.s, 0.707107f);
    EXPECT_EQ(rotation.dqRotateKey.v.x, -0.707107f);
    EXPECT_EQ(rotation.dqRotateKey.v.y, 0.0f);

    const auto& pelvis = set->Animations()[1];
    std::uint32_t positions = 0;
    for (const auto& k : pelvis->Keys()) {
        positions += k.dwKeyType == D3DRMANIMATION_POSITIONKEY;
    }
    EXPECT_EQ(positions, 100u);
    EXPECT_EQ(pelvis->Keys().front().dvTime, 0.0f);
    EXPECT_EQ(pelvis->Keys().back().dvTime, 15840.0f);
}

// Texture names are kept byte for byte (the writer writes them back); the images are
// found by their bare names beside the file, as the model load runs from its directory.
TEST_F(XFileRealFilesTest, KwxportCubeHasThreeSharedMaterialsVertexColoursAndTextures) {
    ScopedDirectory here(std::string(PAVRIX_TESTDATA_DIR) + "/x");
    auto root = MakeRef<Frame>();
    ASSERT_EQ(root->Load("kwxport_test_cubewithvcolors.x"), D3DRM_OK);
    EXPECT_EQ(GetLastLoadMessage(), "");
    const MeshBuilder* box = OnlyBuilder(*FindFrame(*root, "Box01"));
    ASSERT_NE(box, nullptr);
    // Faces 0-1 bottom, 2-3 top, 4-11 side.
    const Material* bottom = box->FaceMaterial(0);
    const Material* top = box->FaceMaterial(2);
    const Material* side = box->FaceMaterial(4);
    ASSERT_TRUE(bottom && top && side);
    EXPECT_EQ(box->FaceMaterial(1), bottom);
    EXPECT_EQ(box->FaceMaterial(3), top);
    EXPECT_EQ(box->FaceMaterial(11), side);
    EXPECT_EQ(bottom->Name(), "bottom");
    EXPECT_EQ(top->GetPower(), 52.999996f);
    float r, g, b;
    side->GetSpecular(&r, &g, &b);
    EXPECT_EQ(r, 0.7f);
    EXPECT_EQ(box->FaceColor(2), CreateColorRGBA(0.588235f, 0.588235f, 0.588235f, 1.0f));

    const Texture* bottomTexture = box->FaceTexture(0);
    ASSERT_NE(bottomTexture, nullptr);
    EXPECT_EQ(bottomTexture->Name(),
              R"(C:\\code\\sourceforge\\kwxport\\trunkMerged\\test\\data\\bottom.tga)");
    EXPECT_EQ(box->FaceTexture(1), bottomTexture);
    EXPECT_NE(box->FaceTexture(4), bottomTexture);
    EXPECT_TRUE(bottomTexture->HasImage());
    EXPECT_EQ(bottomTexture->Width(), 256);

    ASSERT_TRUE(box->HasVertexColors());
    EXPECT_EQ(box->GetVertexColor(0), 0xFFFF0000u);
    EXPECT_EQ(box->GetVertexColor(1), 0xFFFFFFFFu);
    EXPECT_EQ(box->GetVertexColor(6), 0xFF00FF00u);
}

TEST_F(XFileRealFilesTest, AMissingTextureImageIsAWarningNotAFailure) {
    const std::string path = TestData("test.x");
    {
        // An empty folder of this test's own, where no test.png can be.
        ScopedDirectory elsewhere(
            std::filesystem::path(WriteScratch("marker", "")).parent_path().string());
        auto root = MakeRef<Frame>();
        ASSERT_EQ(root->Load(path.c_str()), D3DRM_OK);
        EXPECT_EQ(GetLastLoadMessage(),
                  path + R"(: texture image '.\\test.png' not found (nor 'test.png'))");
        ASSERT_EQ(root->Children().size(), 1u);
        const MeshBuilder* cube = OnlyBuilder(*root->Children()[0]);
        ASSERT_NE(cube, nullptr);
        ASSERT_NE(cube->FaceTexture(0), nullptr);
        EXPECT_FALSE(cube->FaceTexture(0)->HasImage());
    }
    ScopedDirectory beside(std::string(PAVRIX_TESTDATA_DIR) + "/x");
    auto root = MakeRef<Frame>();
    ASSERT_EQ(root->Load("test.x"), D3DRM_OK);
    EXPECT_EQ(GetLastLoadMessage(), "");
    ASSERT_EQ(root->Children().size(), 1u);
    const MeshBuilder* cube = OnlyBuilder(*root->Children()[0]);
    ASSERT_NE(cube, nullptr);
    const Texture* texture = cube->FaceTexture(0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->Width(), 512);
    EXPECT_EQ(texture->Height(), 512);
}

TEST_F(XFileRealFilesTest, AFileWithoutAnimationHasNoAnimationSetToLoad) {
    auto parent = MakeRef<Frame>();
    auto set = MakeRef<AnimationSet>();
    EXPECT_EQ(set->Load(TestData("test_cube_text.x").c_str(), parent.Get()), D3DRMERR_NOTFOUND);
    EXPECT_EQ(GetLastLoadMessage(),
              TestData("test_cube_text.x") + ": expected an AnimationSet, found none in the file");
    EXPECT_TRUE(parent->Children().empty());
    EXPECT_TRUE(set->Animations().empty());
}

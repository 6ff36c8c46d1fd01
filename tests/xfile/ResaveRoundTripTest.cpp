// Real files opened and saved by the document's sequences, then read back.

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "xfile/DocumentSceneFixture.h"
#include "xfile/XFileSceneView.h"

using testing_xfile::ForEachPair;
using testing_xfile::FrameView;
using testing_xfile::MeshView;
using testing_xfile::NearAsWritten;
using testing_xfile::ReadFile;
using testing_xfile::ReadScene;
using testing_xfile::SceneView;

namespace {

class ResaveRoundTripTest : public DocumentSceneFixture {
protected:
    void SetUp() override {
        const std::filesystem::path dir = std::filesystem::path(PAVRIX_TESTDATA_DIR) / "x";
        if (!std::filesystem::is_directory(dir)) {
            GTEST_SKIP() << "no test data at " << dir;
        }
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            const std::string ext = entry.path().extension().string();
            if (ext == ".x" || ext == ".X") {
                if (ReadScene(*d3drm, entry.path().string()).hasFrames) {
                    files.push_back(entry.path().string());
                }
            }
        }
        std::sort(files.begin(), files.end());
        // The corpus has a character and several cubes; all of them have frames.
        ASSERT_GE(files.size(), 5u);
    }

    /// Opens in as File Open does and saves it to out as File Save does.
    void Resave(const std::string& in, const std::string& out) {
        MustOpen(in);
        std::string error;
        ASSERT_EQ(Save(out, &error), 1) << error;
    }

    std::string Output(const std::string& in, const char* generation) {
        return folder.File(std::filesystem::path(in).stem().string() + generation + ".x");
    }

    std::vector<std::string> files;
};

void ExpectSameMatrix(const rm::Matrix4& original, const rm::Matrix4& resaved) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_PRED2(NearAsWritten, original.m[i][j], resaved.m[i][j]) << i << "," << j;
        }
    }
}

void ExpectSameVectors(const std::vector<rm::Vector>& original,
                       const std::vector<rm::Vector>& resaved, const char* what) {
    ASSERT_EQ(original.size(), resaved.size()) << what;
    for (std::size_t i = 0; i < original.size(); ++i) {
        SCOPED_TRACE(testing::Message() << what << " " << i);
        EXPECT_PRED2(NearAsWritten, original[i].x, resaved[i].x);
        EXPECT_PRED2(NearAsWritten, original[i].y, resaved[i].y);
        EXPECT_PRED2(NearAsWritten, original[i].z, resaved[i].z);
    }
}

void ExpectSameMesh(const MeshView& original, const MeshView& resaved) {
    SCOPED_TRACE("mesh " + original.name);
    EXPECT_EQ(original.name, resaved.name);
    ExpectSameVectors(original.positions, resaved.positions, "position");
    EXPECT_EQ(original.faces, resaved.faces);
    ExpectSameVectors(original.normals, resaved.normals, "normal");
    EXPECT_EQ(original.faceNormals, resaved.faceNormals);
    ASSERT_EQ(original.uv.size(), resaved.uv.size());
    for (std::size_t i = 0; i < original.uv.size(); ++i) {
        EXPECT_PRED2(NearAsWritten, original.uv[i], resaved.uv[i]) << "texture coordinate " << i;
    }
    ASSERT_EQ(original.looks.size(), resaved.looks.size());
    for (std::size_t f = 0; f < original.looks.size(); ++f) {
        SCOPED_TRACE(testing::Message() << "face " << f);
        const auto& a = original.looks[f];
        const auto& b = resaved.looks[f];
        EXPECT_EQ(a.color, b.color);
        EXPECT_EQ(a.texture, b.texture);
        // A face without material is written with a material of zeros, which reads back
        // as a material: the same look.
        EXPECT_TRUE(b.hasMaterial);
        EXPECT_PRED2(NearAsWritten, a.power, b.power);
        ExpectSameVectors({a.specular, a.emissive}, {b.specular, b.emissive}, "material");
    }
}

void ExpectSameScene(const SceneView& original, const SceneView& resaved) {
    ASSERT_TRUE(resaved.hasFrames);
    ForEachPair(original.frames, resaved.frames, [](const FrameView& a, const FrameView& b, auto) {
        SCOPED_TRACE("frame " + a.name);
        EXPECT_EQ(a.depth, b.depth);
        if (a.name.empty()) {
            EXPECT_EQ(b.name.rfind("CXSave_Frame_", 0), 0u) << b.name;
        } else {
            EXPECT_EQ(a.name, b.name);
        }
        ExpectSameMatrix(a.local, b.local);
        ForEachPair(a.meshes, b.meshes,
                    [](const auto& x, const auto& y, auto) { ExpectSameMesh(x, y); });
    });

    // A file without an animation set is saved with an empty one, which writes nothing.
    EXPECT_EQ(resaved.hasSet, original.hasSet && !original.animations.empty());
    if (!resaved.hasSet) {
        return;
    }
    EXPECT_EQ(original.setName, resaved.setName);
    ForEachPair(original.animations, resaved.animations, [](const auto& a, const auto& b, auto) {
        SCOPED_TRACE("animation " + a.name);
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.frame, b.frame);
        ForEachPair(a.keys, b.keys,
                    [](const rm::AnimationKey& x, const rm::AnimationKey& y, std::size_t k) {
                        SCOPED_TRACE(testing::Message() << "key " << k);
                        EXPECT_EQ(x.dwKeyType, y.dwKeyType);
                        // The files' key times are whole numbers, which the format keeps exactly.
                        EXPECT_EQ(x.dvTime, y.dvTime);
                        const rm::Quaternion& qa = x.dqRotateKey;
                        const rm::Quaternion& qb = y.dqRotateKey;
                        EXPECT_PRED2(NearAsWritten, qa.v.x, qb.v.x);
                        EXPECT_PRED2(NearAsWritten, qa.v.y, qb.v.y);
                        EXPECT_PRED2(NearAsWritten, qa.v.z, qb.v.z);
                        if (x.dwKeyType == 1) {
                            EXPECT_PRED2(NearAsWritten, qa.s, qb.s);
                        }
                    });
    });
}

TEST_F(ResaveRoundTripTest, ResavedFileReadsBackAsTheOriginal) {
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const std::string resaved = Output(file, "-a");
        Resave(file, resaved);
        ExpectSameScene(ReadScene(*d3drm, file), ReadScene(*d3drm, resaved));
    }
}

TEST_F(ResaveRoundTripTest, ResavingAResavedFileGivesTheSameBytes) {
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const std::string first = Output(file, "-a");
        const std::string second = Output(file, "-b");
        Resave(file, first);
        Resave(first, second);
        // Faces without material are written as the zero stand-in; read back, that is a
        // material of zeros, which must be written the same way again.
        EXPECT_EQ(ReadFile(second), ReadFile(first));
    }
}

} // namespace

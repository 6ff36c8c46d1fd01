#include "scene/ModelFile.h"

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/rm/Frame.h"
#include "platform/rm/MeshBuilder.h"
#include "platform/rm/Texture.h"
#include "platform/rm/XFileLoader.h"

namespace fs = std::filesystem;

namespace {

class ModelFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("pavrix-modelfile-" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir / "elsewhere");
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    /// A one-triangle model whose material names `texture`.
    static std::string Model(const char* frame, const std::string& texture) {
        return std::string("xof 0303txt 0032\n") + frame +
               " Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; "
               "Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { \"" +
               texture + "\"; } } } }" + (frame[0] ? " }" : "") + "\n";
    }

    fs::path dir;
};

} // namespace

TEST(ModelFileDirectoryTest, TheDirectoryIsWhatComesBeforeTheLastSeparator) {
    const struct {
        const char* path;
        const char* directory;
    } cases[] = {{"walk.x", ""},
                 {"models/walk.x", "models"},
                 {"/walk.x", "/"},
                 {"/home/me/walk.x", "/home/me"},
                 {"c:\\m\\walk.x", "c:\\m"},
                 {"a\\b/walk.x", "a\\b"}};
    for (const auto& c : cases) {
        EXPECT_EQ(scene::DirectoryOf(c.path), c.directory) << c.path;
    }
}

// Whatever the working directory, textures named in the file are found beside it (by the
// name as written or by its bare name), frames or bare mesh alike, and the working
// directory stays where it was.
TEST_F(ModelFileTest, TexturesAreFoundBesideTheFileFromAnyWorkingDirectory) {
    Write(dir / "skin.ppm", std::string("P6\n2 1\n255\n") + std::string(6, '\x7f'));
    const struct {
        const char* file;
        const char* frame;
        const char* texture;
        scene::ModelFileContent content;
    } cases[] = {
        {"framed.x", "Frame Body {", "skin.ppm", scene::ModelFileContent::Frames},
        {"windows.x", "Frame Body {", "C:\\\\\\\\art\\\\\\\\skin.ppm",
         scene::ModelFileContent::Frames},
        {"bare.x", "", "skin.ppm", scene::ModelFileContent::Mesh},
    };
    const fs::path before = fs::current_path();
    fs::current_path(dir / "elsewhere");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = Write(dir / c.file, Model(c.frame, c.texture));
        auto root = rm::MakeRef<rm::Frame>();
        scene::ModelFileContent content = scene::ModelFileContent::None;
        ASSERT_EQ(scene::LoadModelFile(root.Get(), path.c_str(), &content), rm::D3DRM_OK)
            << rm::GetLastLoadMessage();
        EXPECT_EQ(content, c.content);
        EXPECT_EQ(rm::GetLastLoadMessage(), "");
        ASSERT_EQ(root->Children().size(), 1u);
        const auto* builder =
            dynamic_cast<const rm::MeshBuilder*>(root->Children()[0]->Visuals().at(0).Get());
        ASSERT_NE(builder, nullptr);
        ASSERT_NE(builder->FaceTexture(0), nullptr);
        EXPECT_EQ(builder->FaceTexture(0)->Width(), 2);
        EXPECT_EQ(fs::current_path(), dir / "elsewhere");
    }
    fs::current_path(before);
}

TEST_F(ModelFileTest, AFileWithoutFramesOrMeshFailsInTheFrameLoadsWords) {
    const std::string path =
        Write(dir / "walk.x", "xof 0303txt 0032\nAnimationSet Walk { Animation { { Arm } } }\n");
    auto root = rm::MakeRef<rm::Frame>();
    std::string frameMessage;
    scene::ModelFileContent content = scene::ModelFileContent::Frames;
    EXPECT_EQ(scene::LoadModelFile(root.Get(), path.c_str(), &content, &frameMessage),
              rm::D3DRMERR_NOTFOUND);
    EXPECT_EQ(content, scene::ModelFileContent::None);
    EXPECT_EQ(frameMessage, path + ": expected a Frame, found none in the file");
    EXPECT_TRUE(root->Children().empty());
}

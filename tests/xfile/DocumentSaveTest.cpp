#include "xfile/DocumentSave.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "scene/DocumentFixtureFiles.h"
#include "xfile/DocumentSceneFixture.h"

using testing_document::kWalkerFile;
using testing_document::kWaveFile;
using testing_document::WriteFixture;
using testing_xfile::Join;
using testing_xfile::KeyLines;
using testing_xfile::Line;
using testing_xfile::OnDisk;
using testing_xfile::ReadFile;
using testing_xfile::WhiteTriangleLines;

namespace {

class DocumentSaveTest : public DocumentSceneFixture {
protected:
    void SetUp() override {
        walker = WriteFixture(folder.Path(), "walker.x", kWalkerFile);
        MustOpen(walker);
    }

    /// Every name the save puts back and takes away again: the model's frames (depth
    /// first) and visuals, then the set's animations.
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        std::function<void(rm::Frame*)> walk = [&](rm::Frame* frame) {
            names.push_back(frame->Name());
            for (const auto& visual : frame->Visuals()) {
                names.push_back("visual:" + visual->Name());
            }
            for (const auto& child : frame->Children()) {
                walk(child.Get());
            }
        };
        walk(doc.currentModel->Root());
        for (const auto& animation : doc.currentAnimation->Set()->Animations()) {
            names.push_back("animation:" + animation->Name());
        }
        return names;
    }

    std::string walker;
};

/// The walker fixture as the document saves it.
const std::vector<Line> kSavedWalker = Join({
    {{0, "xof 0303txt 0032"},
     {0, ""},
     {0, "Header {"},
     {1, "1;"},
     {1, "0;"},
     {1, "1;"},
     {0, "}"},
     {0, ""},
     {0, "Frame FRAME1_Body {"},
     {1, "FrameTransformMatrix {"},
     {2, "1.000000,0.000000,0.000000,0.000000,"},
     {2, "0.000000,1.000000,0.000000,0.000000,"},
     {2, "0.000000,0.000000,1.000000,0.000000,"},
     {2, "0.000000,0.500000,0.000000,1.000000;;"},
     {1, "}"},
     {0, ""},
     {1, "Mesh BodyMesh {"}},
    WhiteTriangleLines(),
    {{0, ""},
     {2, "MeshTextureCoords {"},
     {3, "3;"},
     {3, "0.000000;0.000000;"},
     {3, "0.000000;0.000000;"},
     {3, "0.000000;0.000000;;"},
     {2, "}"},
     {1, "}"},
     {0, ""},
     {1, "Frame Arm {"},
     {2, "FrameTransformMatrix {"},
     {3, "1.000000,0.000000,0.000000,0.000000,"},
     {3, "0.000000,1.000000,0.000000,0.000000,"},
     {3, "0.000000,0.000000,1.000000,0.000000,"},
     {3, "2.000000,0.000000,0.000000,1.000000;;"},
     {2, "}"},
     {1, "}"},
     {0, ""},
     {1, "Frame CXSave_Frame_0 {"},
     {2, "FrameTransformMatrix {"},
     {3, "1.000000,0.000000,0.000000,0.000000,"},
     {3, "0.000000,1.000000,0.000000,0.000000,"},
     {3, "0.000000,0.000000,1.000000,0.000000,"},
     {3, "0.000000,0.000000,3.000000,1.000000;;"},
     {2, "}"},
     {1, "}"},
     {0, "}"},
     {0, ""},
     {0, "AnimationSet Walk {"},
     {0, ""},
     {1, "Animation AnimArm {"},
     {2, "{Arm}"}},
    KeyLines(0, {"0; 4; 1.000000, 0.000000, 0.000000, 0.000000;;,",
                 "10; 4; 0.707107, 0.000000, 0.707107, 0.000000;;;"}),
    KeyLines(2, {"10; 3; 1.000000, 2.000000, 3.000000;;;"}),
    {{1, "}"}, {0, "}"}},
});

TEST_F(DocumentSaveTest, FileGetsTheNamesFromTheFileAndTheSceneKeepsItsWorkingNames) {
    const std::vector<std::string> before = Names();
    rm::Animation* arm = doc.currentAnimation->FindAnimationByPartName("Arm");
    const rm::Ref<rm::Frame> armFrame = arm->GetFrame();
    const std::string path = folder.File("saved.x");
    std::string error = "stale";

    ASSERT_EQ(Save(path, &error), 1);

    EXPECT_TRUE(error.empty()) << error;
    EXPECT_EQ(ReadFile(path), OnDisk(kSavedWalker));
    EXPECT_EQ(Names(), before);
    EXPECT_EQ(doc.currentAnimation->FindAnimationByPartName("Arm"), arm);
    EXPECT_EQ(arm->GetFrame(), armFrame);
    // The file names were recorded again after the save, so the next save writes them too.
    const std::string again = folder.File("again.x");
    ASSERT_EQ(Save(again), 1);
    EXPECT_EQ(ReadFile(again), ReadFile(path));
    EXPECT_EQ(Names(), before);
}

TEST_F(DocumentSaveTest, SaveAfterChangingTheAnimationWritesTheNewSetOnTheSameFrames) {
    const std::string wave = WriteFixture(folder.Path(), "wave.x", kWaveFile);
    MustOpen(wave, scene::OpenMode::ChangeAnimation);
    const std::string path = folder.File("saved.x");

    ASSERT_EQ(Save(path), 1);

    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("Frame FRAME1_Body {"), std::string::npos);
    const std::string set = OnDisk(Join({
        {{0, "AnimationSet Wave {"}, {0, ""}, {1, "Animation AnimArm {"}, {2, "{Arm}"}},
        KeyLines(0, {"0; 4; 1.000000, 0.000000, 0.000000, 0.000000;;,",
                     "20; 4; 0.000000, 1.000000, 0.000000, 0.000000;;;"}),
        {{1, "}"}, {0, "}"}},
    }));
    ASSERT_GE(text.size(), set.size());
    EXPECT_EQ(text.substr(text.size() - set.size()), set);
}

TEST_F(DocumentSaveTest, NothingToSaveIsRefusedWithoutAFile) {
    struct Case {
        const char* what;
        bool factory;
        CModelData* model;
        CAnimationData* animation;
    };
    const Case cases[] = {
        {"no factory", false, doc.currentModel, doc.currentAnimation},
        {"no model", true, nullptr, doc.currentAnimation},
        {"no animation set", true, doc.currentModel, nullptr},
    };
    const std::vector<std::string> before = Names();
    const std::string path = folder.File("saved.x");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_d3drm = c.factory ? d3drm.Get() : nullptr;
        std::string error;
        EXPECT_EQ(xfile::SaveCharacter(path.c_str(), c.model, c.animation, &error), 0);
        g_d3drm = d3drm.Get();
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_EQ(Names(), before);
    }
}

TEST_F(DocumentSaveTest, FailedWriteKeepsThePreviousFileAndTheWorkingNames) {
    const std::vector<std::string> before = Names();
    const std::string path = folder.File("saved.x");
    const std::string previous = "xof 0303txt 0032\r\n\r\nthe user's earlier work\r\n";
    // 0: nothing can be written; 300: the disk fills up in the middle of the file.
    for (std::size_t room : {std::size_t(0), std::size_t(300)}) {
        SCOPED_TRACE(room);
        testing_xfile::WriteFile(path, previous);
        std::size_t left = room;
        auto write = [&left](int fd, const void* data, std::size_t size) -> ssize_t {
            if (left == 0) {
                errno = ENOSPC;
                return -1;
            }
            const ssize_t n = ::write(fd, data, std::min(size, left));
            left -= n > 0 ? std::size_t(n) : 0;
            return n;
        };
        std::string error;

        EXPECT_EQ(xfile::SaveCharacter(path.c_str(), doc.currentModel, doc.currentAnimation, &error,
                                       write),
                  0);

        EXPECT_EQ(ReadFile(path), previous);
        EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"saved.x", "walker.x"}));
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_NE(error.find(std::strerror(ENOSPC)), std::string::npos) << error;
        EXPECT_EQ(Names(), before);
    }
    // The scene is intact: a save that can write gives the normal file.
    const std::string good = folder.File("good.x");
    ASSERT_EQ(Save(good), 1);
    EXPECT_EQ(ReadFile(good), OnDisk(kSavedWalker));
}

TEST_F(DocumentSaveTest, UnwritableFolderKeepsThePreviousFileAndTheWorkingNames) {
    const std::vector<std::string> before = Names();
    const std::filesystem::path locked = folder.Path() / "locked";
    const std::string path = testing_xfile::LockedFile(folder.Path(), "locked", "saved.x");

    // 0 or 1: the save's result; 2 is added when the names are not the working ones after.
    const int outcome =
        testing_xfile::RunUnprivileged([&] { return Save(path) + (Names() == before ? 0 : 2); });
    EXPECT_EQ(outcome, 0) << "1: the save succeeded; 2: the working names were not back";
    EXPECT_EQ(ReadFile(path), "previous\r\n");
    EXPECT_EQ(testing_xfile::FileNames(locked), std::vector<std::string>{"saved.x"});
    ::chmod(locked.c_str(), 0755);
}

} // namespace

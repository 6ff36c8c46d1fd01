// Models and animation sets loaded from real files: the reader, the naming and the
// binding working together.

#include <cfloat>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rm/Math.h"
#include "scene/SceneFixture.h"

namespace fs = std::filesystem;

namespace {

class SceneFilesTest : public SceneFixture {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("pavrix-scene-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Write(const char* name, const std::string& text) {
        const fs::path path = dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    static std::string Bcn() { return std::string(PAVRIX_TESTDATA_DIR) + "/x/BCN_Epileptic.X"; }

    fs::path dir;
};

constexpr char kModel[] = R"(xof 0303txt 0032
Frame FRAME1_Body {
  FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }
  Frame Arm {
    FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 2,0,0,1;; }
    Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }
  }
}
)";

constexpr char kAnimationOnly[] = R"(xof 0303txt 0032
AnimationSet Wave {
  Animation WaveArm {
    {Arm}
    AnimationKey { 2; 2; 0;3;2,0,0;;, 10;3;2,4,0;;; }
  }
  Animation WaveLeg {
    {Leg}
    AnimationKey { 2; 1; 0;3;0,0,0;;; }
  }
}
)";

} // namespace

TEST_F(SceneFilesTest, AnimationOnlyFileBindsByPartNameToAModelFromAnotherFile) {
    std::string error;
    CModelData* model = LoadModel(Write("body.x", kModel).c_str(), &error);
    ASSERT_NE(model, nullptr) << error;
    CAnimationData* wave = LoadAnimation(Write("wave.x", kAnimationOnly).c_str(), &error);
    ASSERT_NE(wave, nullptr) << error;
    ASSERT_EQ(wave->Bind(model), 1);

    rm::Animation* arm = wave->FindAnimationByPartName("Arm");
    ASSERT_NE(arm, nullptr);
    const rm::Ref<rm::Frame> armFrame = arm->GetFrame();
    ASSERT_NE(CPartRecord::Of(armFrame.Get()), nullptr) << "bound to the model's frame";
    EXPECT_EQ(CPartRecord::Of(armFrame.Get())->fileName.value_or("?"), "Arm");
    EXPECT_EQ(CPartRecord::Of(armFrame.Get())->animation, arm);

    wave->m_set->SetTime(5);
    rm::Vector p;
    armFrame->GetPosition(armFrame->GetParent(), &p);
    EXPECT_NEAR(p.y, 2, 1e-5f);

    wave->UpdateTotalKeyTimeBuffer();
    EXPECT_EQ(wave->KeyTimeCount(), 2u);
}

TEST_F(SceneFilesTest, LibraryNamesFollowTheFileNameGiven) {
    const std::string path = Write("a.x", kModel);
    const char* expected[] = {"a.x", "a_1.x", "a_2.x"};
    const fs::path before = fs::current_path();
    fs::current_path(dir);
    for (const char* name : expected) {
        CModelData* model = LoadModel("a.x");
        ASSERT_NE(model, nullptr);
        EXPECT_STREQ(g_modelLibrary->Entries().FindEntry(model)->Name(), name);
    }
    fs::current_path(before);
    // A path with a directory part is loaded from there and the directory is restored.
    CModelData* model = LoadModel(path.c_str());
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(fs::current_path(), before);
    EXPECT_STREQ(g_modelLibrary->Entries().FindEntry(model)->Name(), path.c_str());
}

TEST_F(SceneFilesTest, BadFilesFailWithAReasonAndLeaveNothingBehind) {
    std::string error;
    EXPECT_EQ(LoadModel(Write("empty.x", "").c_str(), &error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(
        LoadModel(Write("broken.x", "xof 0303txt 0032\nFrame A { Mesh { 3; 0;0").c_str(), &error),
        nullptr);
    EXPECT_NE(error.find("broken.x"), std::string::npos) << error;
    EXPECT_EQ(g_modelLibrary->Entries().Count(), 0);
    EXPECT_EQ(LoadAnimation(Write("nokeys.x", kModel).c_str(), &error), nullptr)
        << "a file without an animation set";
    EXPECT_EQ(g_animationLibrary->Entries().Count(), 0);
}

TEST_F(SceneFilesTest, RealCharacterBindsEveryAnimationAndPoses) {
    if (!fs::exists(Bcn())) {
        GTEST_SKIP() << "test data not found: " << Bcn();
    }
    std::string error;
    CModelData* model = LoadModel(Bcn().c_str(), &error);
    ASSERT_NE(model, nullptr) << error;
    CAnimationData* animation = LoadAnimation(Bcn().c_str(), &error);
    ASSERT_NE(animation, nullptr) << error;
    ASSERT_EQ(animation->Bind(model), 1);
    EXPECT_TRUE(messages.empty());

    const auto& animations = animation->m_set->Animations();
    ASSERT_FALSE(animations.empty());
    for (const auto& a : animations) {
        const rm::Ref<rm::Frame> frame = a->GetFrame();
        ASSERT_NE(CPartRecord::Of(frame.Get()), nullptr) << a->Name();
        EXPECT_EQ(CPartRecord::Of(frame.Get())->animation, a.Get());
    }

    animation->UpdateTotalKeyTimeBuffer();
    ASSERT_GE(animation->KeyTimeCount(), 2u);
    const float first = animation->KeyTime(0);
    const float last = animation->KeyTime(int(animation->KeyTimeCount()) - 1);
    std::vector<rm::Matrix4> poses[3];
    const float times[3] = {first, (first + last) / 2, last};
    for (int i = 0; i < 3; ++i) {
        animation->m_set->SetTime(times[i]);
        for (const auto& a : animations) {
            poses[i].push_back(a->GetFrame()->LocalTransform());
        }
    }
    int moved = 0;
    for (std::size_t k = 0; k < animations.size(); ++k) {
        if (std::memcmp(&poses[0][k], &poses[1][k], sizeof(rm::Matrix4)) != 0 ||
            std::memcmp(&poses[1][k], &poses[2][k], sizeof(rm::Matrix4)) != 0) {
            ++moved;
        }
    }
    // Some parts of this character (the fingers) keep one pose throughout.
    EXPECT_GE(moved, 10) << "posing moves the bound frames";
}

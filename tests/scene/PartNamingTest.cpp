#include "scene/PartNaming.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "platform/rm/Animation.h"
#include "platform/rm/Frame.h"
#include "platform/rm/MeshBuilder.h"

using scene::FrameOrigin;

namespace {

// "%x" of an identifier, written independently of the code under test.
std::string Hex(std::uintptr_t id) {
    char text[32];
    std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(id));
    return text;
}

rm::Ref<rm::Frame> MakeFrame(const char* name, rm::Frame* parent = nullptr) {
    auto frame = rm::MakeRef<rm::Frame>();
    frame->SetName(name);
    if (parent) {
        parent->AddChild(frame.Get());
    }
    return frame;
}

TEST(PartNamingTest, FramePrefixRemoval) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"Frame12_Arm", "Arm"},
        {"FRAME01_Arm", "Arm"},
        {"FRAME_Leg", "Leg"},
        {"frameHead", "Head"},
        {"fRaMe7Tail", "Tail"},
        {"Frame3", ""},
        {"frame", ""},
        {"Frame__x", "_x"},   // only one '_' goes
        {"Frame12_34", "34"}, // digits after the '_' stay
        {"Fram", "Fram"},     // too short
        {"Body", "Body"},
        {"MyFrame01_Arm", "MyFrame01_Arm"},                // the prefix must be at the start
        {"Frame" + std::string(300, '9') + "_Arm", "Arm"}, // a digit run of any length
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scene::RemoveFramePrefix(c.in), c.out) << c.in;
    }
}

TEST(PartNamingTest, ModelFramesGetWorkingNamesDepthFirst) {
    // root "Body" { FRAME01_Arm { <unnamed> { frame } }, <unnamed>, Frame3, Fram }
    auto root = MakeFrame("Body");
    auto arm = MakeFrame("FRAME01_Arm", root.Get());
    auto hand = MakeFrame(nullptr, arm.Get());
    auto finger = MakeFrame("frame", hand.Get());
    auto loose = MakeFrame(nullptr, root.Get());
    auto three = MakeFrame("Frame3", root.Get());
    auto fram = MakeFrame("Fram", root.Get());

    int counter = 0;
    scene::NameFrameTree(root.Get(), FrameOrigin::Model, &counter);

    EXPECT_EQ(root->Name(), "Body@" + Hex(root->Id()));
    EXPECT_EQ(arm->Name(), "Arm@" + Hex(arm->Id()));
    EXPECT_EQ(hand->Name(), "PartsTempName_1@" + Hex(hand->Id())) << "depth first: hand first";
    EXPECT_EQ(finger->Name(), "@" + Hex(finger->Id()));
    EXPECT_EQ(loose->Name(), "PartsTempName_2@" + Hex(loose->Id()));
    EXPECT_EQ(three->Name(), "@" + Hex(three->Id()));
    EXPECT_EQ(fram->Name(), "Fram@" + Hex(fram->Id()));
    EXPECT_EQ(counter, 2);
}

TEST(PartNamingTest, AnimationSetFramesWithoutNameStayUnnamed) {
    auto parent = MakeFrame(nullptr);
    auto arm = MakeFrame("Arm", parent.Get());
    auto unnamed = MakeFrame(nullptr, parent.Get());
    int counter = 0;
    scene::NameFrameTree(parent.Get(), FrameOrigin::AnimationSetLoad, &counter);
    EXPECT_FALSE(parent->HasName());
    EXPECT_FALSE(unnamed->HasName());
    EXPECT_EQ(arm->Name(), "Arm@" + Hex(arm->Id()));
    EXPECT_EQ(counter, 0);
    scene::NameFrameTree(parent.Get(), FrameOrigin::AnimationSetLoad, nullptr);
}

TEST(PartNamingTest, VisualNamesAreEmptied) {
    auto frame = MakeFrame("Arm");
    auto mesh = rm::MakeRef<rm::MeshBuilder>();
    mesh->SetName("ArmMesh");
    frame->AddVisual(mesh.Get());
    auto unnamedFrame = MakeFrame(nullptr, frame.Get());
    auto childMesh = rm::MakeRef<rm::MeshBuilder>();
    childMesh->SetName("HandMesh");
    unnamedFrame->AddVisual(childMesh.Get());

    scene::NameFrameTree(frame.Get(), FrameOrigin::AnimationSetLoad, nullptr);
    EXPECT_FALSE(mesh->HasName());
    EXPECT_FALSE(childMesh->HasName()) << "also on frames that keep no name";
}

TEST(PartNamingTest, AnimationNameRule) {
    auto named = MakeFrame("Arm@1f");
    auto atInside = MakeFrame("a@b@2");
    auto noAt = MakeFrame("Leg");
    auto unnamed = MakeFrame(nullptr);
    struct Case {
        const char* label;
        rm::Frame* frame;
        int result;
        std::string base; // expected prefix before '@'; empty with result 0 = unchanged
    };
    int counter = 0;
    const Case cases[] = {
        {"frame with working name", named.Get(), 1, "Arm"},
        {"base cut at the last '@'", atInside.Get(), 1, "a@b"},
        {"frame name without '@'", noAt.Get(), 0, ""},
        {"no frame", nullptr, 0, ""},
        {"unnamed frame", unnamed.Get(), 1, "PartsTempName_1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto animation = rm::MakeRef<rm::Animation>();
        animation->SetName("FromFile");
        animation->SetFrame(c.frame);
        EXPECT_EQ(scene::NameAnimation(animation.Get(), &counter), c.result);
        if (c.result) {
            EXPECT_EQ(animation->Name(), c.base + "@" + Hex(animation->Id()));
        } else {
            EXPECT_EQ(animation->Name(), "FromFile");
        }
    }
    EXPECT_EQ(counter, 1);
    EXPECT_EQ(scene::NameAnimation(nullptr, &counter), 0);
}

TEST(PartNamingTest, PrefixedModelFrameBindsToPlainAnimationFrame) {
    // A model frame FRAME01_Arm and an animation file whose frame is Arm.
    auto modelFrame = MakeFrame("FRAME01_Arm");
    int modelCounter = 0;
    scene::NameFrameTree(modelFrame.Get(), FrameOrigin::Model, &modelCounter);

    auto loadParent = MakeFrame(nullptr);
    auto animFrame = MakeFrame("Arm", loadParent.Get());
    scene::NameFrameTree(loadParent.Get(), FrameOrigin::AnimationSetLoad, nullptr);
    auto animation = rm::MakeRef<rm::Animation>();
    animation->SetFrame(animFrame.Get());
    int animCounter = 0;
    ASSERT_EQ(scene::NameAnimation(animation.Get(), &animCounter), 1);

    EXPECT_NE(modelFrame->Name(), animation->Name()) << "identifiers differ";
    EXPECT_TRUE(scene::PartNamesMatch(modelFrame->Name(), animation->Name()));
    EXPECT_TRUE(scene::HasBaseName(animation->Name(), "Arm"));
}

TEST(PartNamingTest, MatchingIsByteExactOnBaseNames) {
    struct Case {
        std::string a;
        std::string b;
        bool match;
    };
    const std::string longBase(260, 'L');
    std::string longOther = longBase;
    longOther[230] = 'l';
    const Case cases[] = {
        {"Arm@1", "Arm@2", true},
        {"Arm@1", "arm@2", false},
        {"Arm@1", "Arm", false},  // no '@': no base name
        {"Arm", "Arm", false},    // names without '@' never match
        {"@1", "@2", true},       // two empty base names
        {"a@b@1", "a@b@2", true}, // cut at the last '@'
        {"a@b@1", "a@2", false},
        {"Arm @1", "Arm@1", false},
        {longBase + "@1", longBase + "@2", true},
        {longBase + "@1", longOther + "@2", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scene::PartNamesMatch(c.a, c.b), c.match) << c.a << " vs " << c.b;
        EXPECT_EQ(scene::PartNamesMatch(c.b, c.a), c.match) << "symmetric";
    }
    EXPECT_EQ(scene::BaseName("no-at"), std::nullopt);
    EXPECT_EQ(scene::BaseName("x@y@z"), std::optional<std::string_view>("x@y"));
    EXPECT_FALSE(scene::HasBaseName("Arm", "Arm"));
    EXPECT_FALSE(scene::HasBaseName("Arm@1", "arm"));
}

TEST(PartNamingTest, LongFrameNamesAreNamedWhole) {
    const std::string tail(300, 'q');
    auto frame = MakeFrame(("FRAME01_" + tail).c_str());
    int counter = 0;
    scene::NameFrameTree(frame.Get(), FrameOrigin::Model, &counter);
    EXPECT_EQ(frame->Name(), tail + "@" + Hex(frame->Id()));

    auto animation = rm::MakeRef<rm::Animation>();
    animation->SetFrame(frame.Get());
    ASSERT_EQ(scene::NameAnimation(animation.Get(), &counter), 1);
    EXPECT_TRUE(scene::HasBaseName(animation->Name(), tail));
}

TEST(PartNamingTest, WorkingAndTemporaryNameFormats) {
    EXPECT_EQ(scene::MakeWorkingName("Arm", 0xab12), "Arm@ab12");
    EXPECT_EQ(scene::MakeWorkingName("", 0x1), "@1");
    EXPECT_EQ(scene::MakeTempPartName(7, 0xdeadbeef), "PartsTempName_7@deadbeef");
}

TEST(PartNamingTest, LibraryEntryNames) {
    struct Case {
        const char* file;
        int counter;
        const char* name;
    };
    const Case cases[] = {
        {"a.x", 1, "a_1.x"},
        {"a.x", 2, "a_2.x"},
        {"noext", 1, "noext_1"},
        {"walk.anim.x", 3, "walk.anim_3.x"}, // the last '.' splits
        {"dir/model.X", 1, "dir/model_1.X"},
        {"", 1, "_1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scene::MakeLibraryEntryName(c.file, c.counter), c.name) << c.file;
    }
}

} // namespace

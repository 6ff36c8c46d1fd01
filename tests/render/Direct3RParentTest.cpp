#include <string>

#include <gtest/gtest.h>

#include "render/ParentD3R.h"
#include "support/DebugCapture.h"

using namespace render;

TEST(Direct3RParentTest, SharesItsSceneObjectWithFourChildrenOnly) {
    DebugCapture log;
    auto parent = std::make_unique<ParentD3R>();
    EXPECT_EQ(log.Text(), "ParentD3R:CreateD3DRM\n");
    ASSERT_NE(parent->D3DRM(), nullptr);

    Direct3R* children[5] = {};
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(parent->CreateChild(&children[i]), 1);
        ASSERT_NE(children[i], nullptr);
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(parent->Child(i), children[i]);
        EXPECT_EQ(children[i]->D3DRM(), parent->D3DRM());
        EXPECT_NE(log.Text().find("ParentD3R:Add Child " + std::to_string(i) + "\n"),
                  std::string::npos);
    }
    // The fifth is handed out but not registered, and has no shared object.
    EXPECT_EQ(log.Text().find("Add Child 4"), std::string::npos);
    EXPECT_EQ(children[4]->D3DRM(), nullptr);
    EXPECT_EQ(parent->CreateChild(nullptr), 0);

    log.Reset();
    EXPECT_EQ(parent->ReleaseChild(&children[1]), 1);
    EXPECT_EQ(children[1], nullptr);
    EXPECT_EQ(parent->Child(1), nullptr);
    EXPECT_EQ(log.Text(), "ParentD3R:Delete Child 1\nD3R:Direct3R Cleanup\n");
    // The freed slot is taken by the next child.
    Direct3R* again = nullptr;
    parent->CreateChild(&again);
    EXPECT_EQ(parent->Child(1), again);

    // The unregistered fifth is released like the others, without a slot to empty.
    log.Reset();
    EXPECT_EQ(parent->ReleaseChild(&children[4]), 1);
    EXPECT_EQ(log.Text(), "D3R:Direct3R Cleanup\n");
    Direct3R* none = nullptr;
    EXPECT_EQ(parent->ReleaseChild(&none), 0);
    EXPECT_EQ(parent->ReleaseChild(nullptr), 0);

    // Destruction releases the registered children.
    log.Reset();
    parent.reset();
    EXPECT_NE(log.Text().find("ParentD3R:Delete Child 0\n"), std::string::npos);
    EXPECT_NE(log.Text().find("ParentD3R:Delete Child 3\n"), std::string::npos);
}

TEST(Direct3RParentTest, DeleteChildDeviceFindsOnlyRegisteredChildren) {
    ParentD3R parent;
    Direct3R stranger;
    EXPECT_EQ(parent.DeleteChildDevice(&stranger), 0);
    EXPECT_EQ(parent.AddChildDevice(&stranger), 1);
    EXPECT_EQ(stranger.D3DRM(), parent.D3DRM());
    EXPECT_EQ(parent.DeleteChildDevice(&stranger), 1);
    EXPECT_EQ(parent.DeleteChildDevice(&stranger), 0);
}

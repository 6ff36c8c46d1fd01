#include "resources/ToolBars.h"

#include <set>

#include <QToolButton>
#include <gtest/gtest.h>

#include "platform/framework/Application.h"
#include "platform/framework/FrameWindow.h"
#include "platform/framework/ToolBar.h"
#include "resources/CommandIds.h"
#include "resources/Strings.h"
#include "resources/ToolBarIcons.h"

using framework::CommandId;

namespace {

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y).alpha() > 0 ? 1 : 0;
        }
    }
    return count;
}

TEST(ToolBarsTest, TheThreeBarsListTheirButtonsInOrder) {
    struct Case {
        framework::ToolBarResource resource;
        int id;
        std::vector<CommandId> items;
    };
    const Case cases[] = {
        {resources::MainToolBar(), 128, {57600, 57601, 32810, 32814, 32813, 57603, 0,
                                         32801, 32803, 32804, 0,     32830, 32831, 32835,
                                         0,     57635, 57634, 57637, 0,     32840, 57664}},
        {resources::AnimationToolBar(),
         132,
         {32812, 0, 32822, 32798, 32793, 32794, 32797, 32821, 0,     32791, 32792, 0, 32799,
          32802, 0, 32795, 32815, 32818, 32819, 32823, 32829, 32836, 32838, 32839, 0, 32846}},
        {resources::PartsToolBar(), 143, {32826, 32824, 32825, 0, 32827}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.resource.id, c.id);
        EXPECT_EQ(c.resource.items, c.items) << c.id;
        EXPECT_EQ(c.resource.buttonSize, QSize(16, 15));
        int buttons = 0;
        for (CommandId id : c.items) {
            buttons += id != 0 ? 1 : 0;
        }
        EXPECT_EQ(c.resource.bitmap.width(), 16 * buttons) << c.id;
        EXPECT_EQ(c.resource.bitmap.height(), 15) << c.id;
    }
}

TEST(ToolBarsTest, EveryButtonHasAFaceOfItsOwn) {
    std::vector<CommandId> all;
    for (const auto& resource :
         {resources::MainToolBar(), resources::AnimationToolBar(), resources::PartsToolBar()}) {
        for (CommandId id : resource.items) {
            if (id != 0) {
                all.push_back(id);
            }
        }
    }
    ASSERT_EQ(all.size(), 42u);

    std::set<QByteArray> faces;
    for (CommandId id : all) {
        EXPECT_EQ(resources::ToolBarIcons::HasIcon(id), 1) << id;
        const QImage icon =
            resources::ToolBarIcons::Icon(id).convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(icon.size(), QSize(16, 15)) << id;
        // Clear at a glance: enough ink to be seen, enough background to keep a shape.
        const int ink = OpaquePixels(icon);
        EXPECT_GE(ink, 12) << id;
        EXPECT_LE(ink, 16 * 15 - 20) << id;
        faces.insert(
            QByteArray(reinterpret_cast<const char*>(icon.constBits()), icon.sizeInBytes()));
    }
    EXPECT_EQ(faces.size(), all.size()) << "two buttons share a face";
    EXPECT_EQ(resources::ToolBarIcons::HasIcon(12345), 0);
    EXPECT_GE(OpaquePixels(resources::ToolBarIcons::Icon(12345)), 12);
}

// The resources loaded into real tool bars on a frame whose map handles what the program
// handles: exactly the buttons nobody handles come out greyed, and the tool tips are the
// prompt strings' second fields.
class LoadedToolBarsTest : public ::testing::Test {
protected:
    class Frame : public framework::FrameWindow {
    public:
        using CommandTarget::MapCommand;
    };

    LoadedToolBarsTest() : app(resources::AppTitle()) {
        frame = new Frame;
        frame->SetStringTable(&resources::Strings());
        for (const auto& resource :
             {resources::MainToolBar(), resources::PartsToolBar(), resources::AnimationToolBar()}) {
            auto* bar = new framework::ToolBar(frame);
            bar->Create();
            EXPECT_EQ(bar->LoadToolBar(resource), 1);
            frame->DockControlBar(bar, Qt::TopToolBarArea);
            bars.push_back(bar);
        }
        for (CommandId id = resources::ids::ProgramFirst; id <= resources::ids::ProgramLast; ++id) {
            if (!IsUnhandled(id)) {
                frame->MapCommand(id, [] {});
            }
        }
        // The document's save commands and the application's about, here on the frame.
        for (CommandId id : {57603u, 57604u, 57664u}) {
            frame->MapCommand(id, [] {});
        }
    }
    ~LoadedToolBarsTest() override { frame->DestroyWindow(); }

    static bool IsUnhandled(CommandId id) {
        // Only 32811 (Play All's older id, on no button) and the string-less 32827 are
        // left without a handler; 32828 is a status prompt.
        static const std::set<CommandId> unhandled = {32811, 32827, 32828};
        return unhandled.count(id) != 0;
    }

    framework::Application app; // handles 57600 and 57601
    Frame* frame;
    std::vector<framework::ToolBar*> bars;
};

TEST_F(LoadedToolBarsTest, ButtonsNobodyHandlesAreGreyedAndTheRestAreNot) {
    frame->OnIdleUpdateCmdUI();
    const std::set<CommandId> greyed = {32827, 57635, 57634, 57637};
    int buttons = 0;
    for (framework::ToolBar* bar : bars) {
        for (int i = 0; i < bar->GetCount(); ++i) {
            const CommandId id = bar->GetItemID(i);
            if (id == 0) {
                continue;
            }
            ++buttons;
            EXPECT_EQ(bar->IsButtonEnabled(id), greyed.count(id) != 0 ? 0 : 1) << id;
        }
    }
    EXPECT_EQ(buttons, 42);
}

TEST_F(LoadedToolBarsTest, ToolTipsComeFromThePromptStrings) {
    EXPECT_EQ(bars[2]->GetToolTip(32794), QStringLiteral("再生"));
    EXPECT_EQ(bars[2]->GetButton(32797)->toolTip(), QStringLiteral("１進める"));
    EXPECT_EQ(bars[0]->GetToolTip(32810), QStringLiteral("挿入"));
    EXPECT_EQ(bars[0]->GetToolTip(57600), QStringLiteral("新規作成"));
    EXPECT_EQ(bars[1]->GetToolTip(32824), QStringLiteral("Set Parent"));
    EXPECT_EQ(bars[1]->GetToolTip(32827), QString());
}

} // namespace

#include "platform/framework/ToolBar.h"

#include <QAction>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "FrameworkTestKit.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/StringTable.h"

using namespace framework;
using namespace framework_test;

namespace {

constexpr CommandId kPlay = 32794;
constexpr CommandId kStop = 32793;
constexpr CommandId kStep = 32797;
constexpr CommandId kUnhandled = 32839;
constexpr CommandId kNoString = 32827;

ToolBarResource MakeResource(std::vector<CommandId> items) {
    ToolBarResource resource;
    resource.id = 132;
    int cells = 0;
    for (CommandId id : items) {
        cells += id != 0 ? 1 : 0;
    }
    resource.bitmap = QImage(16 * cells, 15, QImage::Format_ARGB32_Premultiplied);
    resource.bitmap.fill(Qt::red);
    resource.items = std::move(items);
    return resource;
}

class ToolBarTest : public ::testing::Test {
protected:
    ToolBarTest() {
        strings.Set(kPlay, QStringLiteral("Play Animation\n再生"));
        strings.Set(kStop, QStringLiteral("Stop Animation\n停止"));
        strings.Set(kStep, QStringLiteral("Animation Forward Step\n１進める"));
        strings.Set(kUnhandled, QStringLiteral("Skin On")); // one field: no tool tip
        frame = new TestFrame;
        frame->SetStringTable(&strings);
        bar = new ToolBar(frame);
        bar->Create();
        bar->LoadToolBar(MakeResource({kStop, 0, kPlay, kStep, 0, kUnhandled, kNoString}));
        frame->DockControlBar(bar, Qt::TopToolBarArea);
        frame->MapCommand(kStop, [this] { log.push_back("stop"); });
        frame->MapCommand(kPlay, [this] {
            log.push_back(bar->IsButtonChecked(kPlay) ? "play checked" : "play unchecked");
        });
        frame->MapCommand(kStep, [] {});
    }
    ~ToolBarTest() override { frame->DestroyWindow(); }

    TestApp app;
    StringTable strings;
    TestFrame* frame;
    ToolBar* bar;
    Log log;
};

TEST_F(ToolBarTest, ButtonsAndSeparatorsKeepTheResourceOrder) {
    EXPECT_EQ(bar->GetCount(), 7);
    EXPECT_EQ(bar->GetItemID(0), kStop);
    EXPECT_EQ(bar->GetItemID(1), 0u);
    EXPECT_EQ(bar->GetItemID(3), kStep);
    EXPECT_EQ(bar->GetItemID(7), 0u);
    EXPECT_EQ(bar->CommandToIndex(kPlay), 2);
    EXPECT_EQ(bar->CommandToIndex(0), -1);
    EXPECT_EQ(bar->CommandToIndex(12345), -1);
    EXPECT_EQ(bar->GetButtonStyle(1), ToolBar::ButtonStyle::Separator);
    EXPECT_EQ(bar->GetButtonStyle(2), ToolBar::ButtonStyle::Button);
    EXPECT_EQ(bar->iconSize(), QSize(16, 15));
    EXPECT_EQ(bar->GetResourceId(), 132);
}

TEST_F(ToolBarTest, IdleUpdatesGreyTheButtonsWhoseCommandNobodyHandles) {
    EXPECT_EQ(bar->IsButtonEnabled(kUnhandled), 1);
    frame->OnIdleUpdateCmdUI();
    EXPECT_EQ(bar->IsButtonEnabled(kStop), 1);
    EXPECT_EQ(bar->IsButtonEnabled(kStep), 1);
    EXPECT_EQ(bar->IsButtonEnabled(kUnhandled), 0);
    EXPECT_EQ(bar->IsButtonEnabled(kNoString), 0);
    EXPECT_FALSE(bar->GetButton(kUnhandled)->isEnabled());

    // A greyed button cannot be pressed: a click sends nothing.
    frame->show();
    QTest::mouseClick(bar->GetButton(kUnhandled), Qt::LeftButton);
    QTest::mouseClick(bar->GetButton(kStop), Qt::LeftButton);
    EXPECT_EQ(log, Log{"stop"});
}

TEST_F(ToolBarTest, HiddenBarsAreNotUpdated) {
    int updates = 0;
    frame->MapUpdate(kPlay, [&](CCmdUI&) { ++updates; });
    frame->OnIdleUpdateCmdUI();
    EXPECT_EQ(updates, 1);
    frame->ShowControlBar(bar, 0);
    frame->OnIdleUpdateCmdUI();
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(bar->IsButtonEnabled(kUnhandled), 0);
}

TEST_F(ToolBarTest, ACheckBoxButtonIsToggledBeforeItsCommandArrives) {
    bar->SetButtonStyle(bar->CommandToIndex(kPlay), ToolBar::ButtonStyle::CheckBox);
    EXPECT_EQ(bar->GetButtonStyle(bar->CommandToIndex(kPlay)), ToolBar::ButtonStyle::CheckBox);
    frame->show();
    QTest::mouseClick(bar->GetButton(kPlay), Qt::LeftButton);
    EXPECT_EQ(bar->IsButtonChecked(kPlay), 1);
    QTest::mouseClick(bar->GetButton(kPlay), Qt::LeftButton);
    EXPECT_EQ(bar->IsButtonChecked(kPlay), 0);
    EXPECT_EQ(log, (Log{"play checked", "play unchecked"}));

    // A plain button stays unchecked when clicked.
    QTest::mouseClick(bar->GetButton(kStop), Qt::LeftButton);
    EXPECT_EQ(bar->IsButtonChecked(kStop), 0);
}

TEST_F(ToolBarTest, CheckedAndPressedStatesCanBeSetAndRead) {
    bar->SetButtonStyle(bar->CommandToIndex(kPlay), ToolBar::ButtonStyle::CheckBox);
    bar->CheckButton(kPlay, 1);
    EXPECT_EQ(bar->IsButtonChecked(kPlay), 1);
    bar->CheckButton(kPlay, 0);
    EXPECT_EQ(bar->IsButtonChecked(kPlay), 0);

    EXPECT_EQ(bar->IsButtonPressed(kStep), 0);
    bar->PressButton(kStep, 1);
    EXPECT_EQ(bar->IsButtonPressed(kStep), 1);
    EXPECT_EQ(bar->IsButtonChecked(kStep), 0);
    bar->PressButton(kStep, 0);
    EXPECT_EQ(bar->IsButtonPressed(kStep), 0);

    EXPECT_EQ(bar->IsButtonPressed(12345), 0);
    EXPECT_EQ(bar->IsButtonChecked(12345), 0);
}

TEST_F(ToolBarTest, UpdateHandlersSeeAHeldButtonAndSetCheckMarks) {
    // The pattern of the step buttons: the update rule acts while the button is held.
    int steps = 0;
    frame->MapUpdate(kStep, [&](CCmdUI&) {
        if (bar->IsButtonPressed(kStep)) {
            ++steps;
        }
    });
    frame->MapUpdate(kStop, [](CCmdUI& ui) { ui.SetCheck(1); });
    frame->OnIdleUpdateCmdUI();
    bar->PressButton(kStep, 1);
    frame->OnIdleUpdateCmdUI();
    frame->OnIdleUpdateCmdUI();
    bar->PressButton(kStep, 0);
    frame->OnIdleUpdateCmdUI();
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(bar->IsButtonEnabled(kStep), 1); // it has a (do-nothing) command handler
    EXPECT_EQ(bar->IsButtonChecked(kStop), 1);
    EXPECT_EQ(bar->GetButtonStyle(0), ToolBar::ButtonStyle::CheckBox);
}

TEST_F(ToolBarTest, ToolTipsAreTheSecondFieldOfThePromptString) {
    EXPECT_EQ(bar->GetToolTip(kPlay), QStringLiteral("再生"));
    EXPECT_EQ(bar->GetButton(kPlay)->toolTip(), QStringLiteral("再生"));
    EXPECT_EQ(bar->GetToolTip(kStep), QStringLiteral("１進める"));
    EXPECT_EQ(bar->GetToolTip(kUnhandled), QString());
    EXPECT_EQ(bar->GetButton(kUnhandled)->toolTip(), QString());
    EXPECT_EQ(bar->GetToolTip(kNoString), QString());
}

TEST_F(ToolBarTest, ButtonFacesAreCutFromTheBitmapInOrder) {
    ToolBarResource resource;
    resource.id = 7;
    resource.items = {1, 0, 2};
    resource.bitmap = QImage(32, 15, QImage::Format_ARGB32_Premultiplied);
    resource.bitmap.fill(Qt::transparent);
    resource.bitmap.setPixelColor(3, 4, Qt::blue);       // in the first cell
    resource.bitmap.setPixelColor(16 + 9, 2, Qt::green); // in the second
    ToolBar faces(frame);
    ASSERT_EQ(faces.LoadToolBar(resource), 1);
    const QImage first = faces.GetAction(1)->icon().pixmap(QSize(16, 15)).toImage();
    const QImage second = faces.GetAction(2)->icon().pixmap(QSize(16, 15)).toImage();
    EXPECT_EQ(first.pixelColor(3, 4), QColor(Qt::blue));
    EXPECT_EQ(second.pixelColor(9, 2), QColor(Qt::green));
    EXPECT_EQ(second.pixelColor(3, 4).alpha(), 0);

    resource.items = {1, 2, 3};
    EXPECT_EQ(faces.LoadToolBar(resource), 0); // one face short
    EXPECT_EQ(faces.GetCount(), 3);
}

} // namespace

#include "platform/framework/DialogBar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "FrameworkTestKit.h"
#include "platform/framework/CCmdUI.h"

using namespace framework;
using namespace framework_test;

namespace {

using Control = ControlTemplate;
using Kind = Control::Kind;

// A cut-down control panel: two radio groups, check boxes, a combo box, push buttons,
// a label and a read-only edit.
DialogTemplate Panel() {
    DialogTemplate panel;
    panel.id = 136;
    panel.size = QSize(70, 200);
    panel.controls = {
        Control::Make(Kind::Static, -1, "Operation Mode", {4, 2, 60, 8}),
        Control::Make(Kind::RadioButton, 1030, "Parent-Child", {4, 12, 60, 12},
                      Control::Group | Control::PushLike),
        Control::Make(Kind::RadioButton, 1031, "Animation", {4, 26, 60, 12}, Control::PushLike),
        Control::Make(Kind::ComboBox, 1006, "", {4, 42, 60, 80}, Control::Group,
                      {"User", "Flont", "Back"}),
        Control::Make(Kind::PushButton, 1029, "Center", {4, 58, 60, 12}, Control::Group),
        Control::Make(Kind::PushButton, 1017, "-> Change", {4, 72, 60, 12}),
        Control::Make(Kind::RadioButton, 1025, "Move", {4, 86, 60, 12}, Control::Group),
        Control::Make(Kind::RadioButton, 1026, "Rotate", {4, 100, 60, 12}),
        Control::Make(Kind::RadioButton, 1027, "Zoom", {4, 114, 60, 12}, Control::Disabled),
        Control::Make(Kind::CheckBox, 1012, "X", {4, 128, 20, 12},
                      Control::Group | Control::PushLike),
        Control::Make(Kind::CheckBox, 1016, "-", {28, 128, 20, 12}, Control::PushLike),
        Control::Make(Kind::Static, 1048, "animation", {4, 144, 60, 8}),
        Control::Make(Kind::Edit, 1040, "", {4, 156, 60, 12}, Control::ReadOnly),
        Control::Make(Kind::Static, -1, "Scale && Rotation", {4, 170, 60, 8}),
    };
    return panel;
}

// The animation bar reuses identifier 1012 for a read-only edit.
DialogTemplate Bar() {
    DialogTemplate bar;
    bar.id = 103;
    bar.size = QSize(200, 30);
    bar.controls = {Control::Make(Kind::Edit, 1012, "0.00", {4, 4, 30, 12}, Control::ReadOnly),
                    Control::Make(Kind::TrackBar, 1019, "", {40, 4, 150, 14})};
    return bar;
}

class DialogBarTest : public ::testing::Test {
protected:
    DialogBarTest() {
        frame = new TestFrame;
        panel = new DialogBar(frame);
        panel->Create(Panel(), Qt::LeftToolBarArea);
        bar = new DialogBar(frame);
        bar->Create(Bar(), Qt::BottomToolBarArea);
        for (CommandId id : {1029u, 1030u, 1031u, 1025u, 1026u, 1027u, 1012u, 1016u}) {
            frame->MapCommand(id, [this, id] { log.push_back("clicked " + std::to_string(id)); });
        }
        frame->MapNotify(1006, Notification::SelEndOk, [this] { log.push_back("view ok"); });
        frame->MapNotify(1006, Notification::SelChange, [this] { log.push_back("view change"); });
        frame->MapNotify(1019, Notification::ReleasedCapture,
                         [this] { log.push_back("slider released"); });
        frame->show();
    }
    ~DialogBarTest() override { frame->DestroyWindow(); }

    DialogControls& P() { return panel->Controls(); }

    TestApp app;
    TestFrame* frame;
    DialogBar* panel;
    DialogBar* bar;
    Log log;
};

TEST_F(DialogBarTest, ControlsAreFoundByIdentifierWithTheirTexts) {
    EXPECT_NE(qobject_cast<QPushButton*>(P().GetDlgItem(1029)), nullptr);
    EXPECT_NE(qobject_cast<QComboBox*>(P().GetDlgItem(1006)), nullptr);
    EXPECT_EQ(P().GetDlgItem(9999), nullptr);
    EXPECT_EQ(P().GetKind(1027), Kind::RadioButton);
    EXPECT_EQ(P().GetDlgItemText(1029), QStringLiteral("Center"));
    EXPECT_EQ(P().GetDlgItemText(1048), QStringLiteral("animation"));
    EXPECT_EQ(P().SetDlgItemText(1048, QStringLiteral("Model")), 1);
    EXPECT_EQ(P().GetDlgItemText(1048), QStringLiteral("Model"));
    EXPECT_EQ(P().GetCount(1006), 3);
    EXPECT_EQ(P().GetLBText(1006, 1), QStringLiteral("Flont"));
    EXPECT_EQ(P().GetCurSel(1006), -1);
    EXPECT_EQ(P().SetCurSel(1006, 3), -1);
    EXPECT_EQ(P().SetCurSel(1006, 0), 0);
    EXPECT_EQ(P().GetDlgItemText(1006), QStringLiteral("User"));
    EXPECT_FALSE(P().GetDlgItem(1027)->isEnabled());
    EXPECT_TRUE(static_cast<QLineEdit*>(P().GetDlgItem(1040))->isReadOnly());
    // "&&" in a label shows one ampersand.
    bool found = false;
    for (QLabel* label : panel->GetPanel()->findChildren<QLabel*>()) {
        found = found || label->text() == QStringLiteral("Scale & Rotation");
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(frame->toolBarArea(panel), Qt::LeftToolBarArea);
    EXPECT_EQ(frame->toolBarArea(bar), Qt::BottomToolBarArea);
}

TEST_F(DialogBarTest, ClicksAndNotificationsReachTheFrameWithTheirCodes) {
    P().ClickButton(1029);
    QTest::mouseClick(P().GetDlgItem(1031), Qt::LeftButton);
    P().ClickButton(1012);
    // The animation bar's 1012 is an edit: its change must not look like a click.
    bar->Controls().SetDlgItemText(1012, QStringLiteral("3.00"));
    EXPECT_EQ(log, (Log{"clicked 1029", "clicked 1031", "clicked 1012"}));
    EXPECT_EQ(P().IsDlgButtonChecked(1031), 1);
    EXPECT_EQ(P().IsDlgButtonChecked(1012), 1);
}

TEST_F(DialogBarTest, OnlyTheUserChangesAComboBoxSelectionWithNotifications) {
    P().SetCurSel(1006, 2);
    EXPECT_TRUE(log.empty());
    auto* combo = static_cast<QComboBox*>(P().GetDlgItem(1006));
    combo->setFocus();
    emit combo->activated(1);
    EXPECT_EQ(log, (Log{"view change", "view ok"}));
}

TEST_F(DialogBarTest, TheTrackBarReportsWhenTheMouseLetsGo) {
    QWidget* slider = bar->GetDlgItem(1019);
    ASSERT_NE(slider, nullptr);
    QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier, QPoint(10, slider->height() / 2));
    EXPECT_EQ(log, Log{"slider released"});
}

TEST_F(DialogBarTest, RadioGroupsAreExclusiveOnlyWithinThemselves) {
    P().CheckDlgButton(1031, 1);
    P().CheckDlgButton(1026, 1);
    P().ClickButton(1030);
    EXPECT_EQ(P().IsDlgButtonChecked(1030), 1);
    EXPECT_EQ(P().IsDlgButtonChecked(1031), 0);
    EXPECT_EQ(P().IsDlgButtonChecked(1026), 1); // another group
    EXPECT_EQ(P().GetRadioIndex(1030), 0);
    EXPECT_EQ(P().GetRadioIndex(1025), 1);
    EXPECT_EQ(P().SetRadioIndex(1025, 0), 1);
    EXPECT_EQ(P().IsDlgButtonChecked(1026), 0);
    EXPECT_EQ(P().SetRadioIndex(1025, -1), 1);
    EXPECT_EQ(P().GetRadioIndex(1025), -1);
    EXPECT_EQ(P().SetRadioIndex(1025, 3), 0);
    // Counting from the middle of a group starts there.
    P().CheckDlgButton(1026, 1);
    EXPECT_EQ(P().GetRadioIndex(1026), 0);
    // A disabled radio button cannot be clicked.
    EXPECT_EQ(P().ClickButton(1027), 0);
    EXPECT_EQ(P().IsDlgButtonChecked(1027), 0);
}

TEST_F(DialogBarTest, UpdatesDisableUnhandledPushButtonsButLeaveOtherControlsAlone) {
    // 1017 has no handler; 1027 has one but was disabled by its template.
    frame->OnIdleUpdateCmdUI();
    EXPECT_TRUE(P().GetDlgItem(1029)->isEnabled());
    EXPECT_FALSE(P().GetDlgItem(1017)->isEnabled());
    EXPECT_FALSE(P().GetDlgItem(1027)->isEnabled());
    EXPECT_TRUE(P().GetDlgItem(1040)->isEnabled());
    EXPECT_TRUE(bar->GetDlgItem(1012)->isEnabled());

    // Update handlers act on any kind of control.
    frame->MapUpdate(1027, [](CCmdUI& ui) { ui.Enable(true); });
    frame->MapUpdate(1016, [](CCmdUI& ui) { ui.SetCheck(1); });
    frame->MapUpdate(1048, [](CCmdUI& ui) { ui.SetText(QStringLiteral("Animation")); });
    frame->OnIdleUpdateCmdUI();
    EXPECT_TRUE(P().GetDlgItem(1027)->isEnabled());
    EXPECT_EQ(P().IsDlgButtonChecked(1016), 1);
    EXPECT_EQ(P().GetDlgItemText(1048), QStringLiteral("Animation"));
}

TEST_F(DialogBarTest, BarsCanBeHiddenAndShown) {
    EXPECT_EQ(bar->IsShown(), 1);
    frame->ShowControlBar(bar, 0);
    EXPECT_EQ(bar->IsShown(), 0);
    EXPECT_FALSE(bar->isVisible());
    frame->ShowControlBar(bar, 1);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(frame->GetControlBars().size(), 2u);
}

} // namespace

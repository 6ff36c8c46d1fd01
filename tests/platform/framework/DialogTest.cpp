#include "platform/framework/Dialog.h"

#include <QTest>
#include <gtest/gtest.h>

#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/ScriptedUi.h"

using namespace framework;

namespace {

DialogTemplate Template() {
    using Control = ControlTemplate;
    DialogTemplate dialog;
    dialog.id = 135;
    dialog.title = QStringLiteral("パーツ・アニメーションキーの編集");
    dialog.size = QSize(238, 221);
    Control back;
    back.kind = Control::Kind::PushButton;
    back.id = 1039;
    back.text = QStringLiteral("Back");
    back.rect = QRect(10, 190, 40, 14);
    Control ok;
    ok.kind = Control::Kind::DefPushButton;
    ok.id = IdOk;
    ok.text = QStringLiteral("OK");
    ok.rect = QRect(180, 190, 40, 14);
    dialog.controls = {back, ok};
    return dialog;
}

class LifecycleDialog : public Dialog {
public:
    LifecycleDialog() : Dialog(Template()) {
        MapCommand(1039, [this] { ++backs; });
    }
    int OnInitDialog() override {
        ++inits;
        if (cancelAtOnce) {
            EndDialog(IdCancel);
        }
        return Dialog::OnInitDialog();
    }
    void OnCancel() override {
        ++cancels;
        Dialog::OnCancel();
    }
    void OnDestroy() override { ++destroyed; }

    bool cancelAtOnce = false;
    int inits = 0;
    int backs = 0;
    int cancels = 0;
    int destroyed = 0;
};

class DialogTest : public ::testing::Test {
protected:
    ScriptedUi ui;
};

TEST_F(DialogTest, ADialogThatEndsWhileItStartsNeverReachesTheUser) {
    LifecycleDialog dialog;
    dialog.cancelAtOnce = true;
    ui.dialogRunner.PushOk();
    EXPECT_EQ(dialog.DoModal(), IdCancel);
    EXPECT_EQ(ui.dialogRunner.PendingScripts(), 1);
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_EQ(dialog.destroyed, 1);
}

TEST_F(DialogTest, TheDialogsOwnMapTakesItsButtonsAndOkEndsIt) {
    LifecycleDialog dialog;
    ui.dialogRunner.Push([](Dialog& d) {
        d.ClickButton(1039);
        d.ClickButton(1039);
        d.ClickButton(IdOk);
    });
    EXPECT_EQ(dialog.DoModal(), IdOk);
    EXPECT_EQ(dialog.backs, 2);
    EXPECT_EQ(dialog.cancels, 0);
    EXPECT_EQ(dialog.destroyed, 1);
}

TEST_F(DialogTest, EscapeCancelsThroughOnCancel) {
    LifecycleDialog dialog;
    ui.dialogRunner.Push([](Dialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    EXPECT_EQ(dialog.DoModal(), IdCancel);
    EXPECT_EQ(dialog.cancels, 1);
    EXPECT_FALSE(ui.dialogRunner.Runs().back().cancelledByRunner);
}

TEST_F(DialogTest, AScriptThatLeavesTheDialogOpenEndsAsCancel) {
    LifecycleDialog first;
    ui.dialogRunner.Push([](Dialog&) {});
    EXPECT_EQ(first.DoModal(), IdCancel);
    EXPECT_TRUE(ui.dialogRunner.Runs().back().cancelledByRunner);
    EXPECT_EQ(first.cancels, 1);

    LifecycleDialog unscripted;
    EXPECT_EQ(unscripted.DoModal(), IdCancel);
    EXPECT_EQ(ui.dialogRunner.UnscriptedCount(), 1);

    // The same dialog object can run again.
    ui.dialogRunner.PushOk();
    EXPECT_EQ(first.DoModal(), IdOk);
    EXPECT_EQ(first.inits, 2);
    EXPECT_EQ(first.destroyed, 2);
}

} // namespace

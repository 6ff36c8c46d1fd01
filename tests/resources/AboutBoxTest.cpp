#include "resources/AboutBox.h"

#include <QLabel>
#include <gtest/gtest.h>

#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/ScriptedUi.h"
#include "resources/AppIcon.h"

namespace {

TEST(AboutBoxTest, TheTemplateHoldsTheIconTheVersionLineAndOk) {
    const framework::DialogTemplate about = resources::AboutBoxTemplate();
    EXPECT_EQ(about.id, 100);
    EXPECT_EQ(about.title, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(about.size, QSize(159, 111));
    ASSERT_EQ(about.controls.size(), 3u);
    EXPECT_EQ(about.controls[0].kind, framework::ControlTemplate::Kind::Icon);
    EXPECT_EQ(about.controls[1].text, QStringLiteral("Pavrix Prototype Ver.0.73"));
    EXPECT_EQ(about.controls[2].id, framework::IdOk);
    EXPECT_EQ(about.controls[2].kind, framework::ControlTemplate::Kind::DefPushButton);
    for (const framework::ControlTemplate& control : about.controls) {
        EXPECT_GE(control.rect.left(), 0);
        EXPECT_LE(control.rect.right(), 159);
        EXPECT_LE(control.rect.bottom(), 111);
    }
}

TEST(AboutBoxTest, OkClosesTheAboutBox) {
    framework::ScriptedUi ui;
    const auto about = resources::CreateAboutBox(nullptr);
    ui.dialogRunner.Push([](framework::Dialog& dialog) {
        EXPECT_EQ(dialog.GetDlgItemText(resources::AboutVersionTextId),
                  QStringLiteral("Pavrix Prototype Ver.0.73"));
        auto* icon = qobject_cast<QLabel*>(dialog.GetDlgItem(resources::AboutIconId));
        ASSERT_NE(icon, nullptr);
        EXPECT_FALSE(icon->pixmap().isNull());
        dialog.ClickButton(framework::IdOk);
    });
    EXPECT_EQ(about->DoModal(), framework::IdOk);
    EXPECT_FALSE(ui.dialogRunner.Runs().at(0).cancelledByRunner);
    EXPECT_EQ(ui.dialogRunner.Runs().at(0).title, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
}

TEST(AppIconTest, TheIconIsDrawnAtEverySize) {
    for (int size : {16, 32, 48}) {
        const QImage image = resources::AppIconImage(size);
        EXPECT_EQ(image.size(), QSize(size, size));
        EXPECT_GT(image.pixelColor(size / 2, size / 2).alpha(), 0) << size;
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << size; // rounded corner
    }
    EXPECT_GE(resources::AppIcon().availableSizes().size(), 3);
}

} // namespace

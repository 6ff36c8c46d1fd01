#include "platform/framework/QtMessageBox.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <gtest/gtest.h>

#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/ScriptedUi.h"
#include "platform/framework/UiServices.h"

using namespace framework;

namespace {

QStringList Labels(const QMessageBox& box) {
    QStringList labels;
    for (QAbstractButton* button : box.buttons()) {
        labels << button->text();
    }
    labels.sort();
    return labels;
}

TEST(QtMessageBoxTest, EachStyleGetsItsButtonsIconAndEscapeAnswer) {
    struct Case {
        unsigned style;
        QStringList labels;
        QMessageBox::Icon icon;
        int escapeAnswer; // 0: no escape button
    };
    const Case cases[] = {
        {64, {"OK"}, QMessageBox::Information, IdOk},
        {0, {"OK"}, QMessageBox::NoIcon, IdOk},
        {33, {"OK", "ｷｬﾝｾﾙ"}, QMessageBox::Question, IdCancel},
        {49, {"OK", "ｷｬﾝｾﾙ"}, QMessageBox::Warning, IdCancel},
        {36, {"いいえ(&N)", "はい(&Y)"}, QMessageBox::Question, 0},
        {35, {"いいえ(&N)", "はい(&Y)", "ｷｬﾝｾﾙ"}, QMessageBox::Question, IdCancel},
        {16, {"OK"}, QMessageBox::Critical, IdOk},
    };
    for (const Case& c : cases) {
        QMessageBox box;
        QtMessageBox::Configure(box, c.style);
        QStringList expected = c.labels;
        expected.sort();
        EXPECT_EQ(Labels(box), expected) << c.style;
        EXPECT_EQ(box.icon(), c.icon) << c.style;
        if (c.escapeAnswer != 0) {
            ASSERT_NE(box.escapeButton(), nullptr) << c.style;
            EXPECT_EQ(QtMessageBox::ResultOf(box), c.escapeAnswer) << c.style;
        } else {
            EXPECT_EQ(box.escapeButton(), nullptr) << c.style;
        }
    }
}

TEST(QtMessageBoxTest, TheClickedButtonGivesTheResult) {
    struct Case {
        unsigned style;
        const char* label;
        int result;
    };
    const Case cases[] = {
        {36, "はい(&Y)", IdYes}, {36, "いいえ(&N)", IdNo}, {3, "ｷｬﾝｾﾙ", IdCancel}, {1, "OK", IdOk}};
    for (const Case& c : cases) {
        QMessageBox box;
        QtMessageBox::Configure(box, c.style);
        for (QAbstractButton* button : box.buttons()) {
            if (button->text() == QString::fromUtf8(c.label)) {
                button->click();
            }
        }
        EXPECT_EQ(QtMessageBox::ResultOf(box), c.result) << c.label;
    }
}

TEST(UiServicesTest, TheApplicationsMessageBoxAddsTheDefaultIconAndTitle) {
    struct Case {
        unsigned style;
        unsigned shown;
    };
    const Case cases[] = {{MbOk, 48},          {MbOkCancel, 49}, {MbYesNo, 36},
                          {MbYesNoCancel, 35}, {64, 64},         {33, 33}};
    for (const Case& c : cases) {
        EXPECT_EQ(UiServices::WithDefaultIcon(c.style), c.shown) << c.style;
    }

    ScriptedUi ui;
    UiServices::SetAppTitle(QStringLiteral("Pavrix / Prototype"));
    ui.messageBox.Push(IdNo);
    EXPECT_EQ(UiServices::AppMessageBox(QStringLiteral("質問"), MbYesNo), IdNo);
    EXPECT_EQ(UiServices::AppMessageBox(QStringLiteral("Not ModelData!")), IdOk);
    ASSERT_EQ(ui.messageBox.Asked().size(), 2u);
    EXPECT_EQ(ui.messageBox.Asked()[0].style, 36u);
    EXPECT_EQ(ui.messageBox.Asked()[1].caption, QStringLiteral("Pavrix / Prototype"));
    EXPECT_EQ(ui.messageBox.UnscriptedCount(), 1);
}

TEST(UiServicesTest, AScriptedUiIsRemovedWhenItGoes) {
    IMessageBox* screen = &UiServices::MessageBoxes();
    {
        ScriptedUi ui;
        EXPECT_EQ(&UiServices::MessageBoxes(), &ui.messageBox);
        {
            ScriptedUi inner;
            EXPECT_EQ(&UiServices::MessageBoxes(), &inner.messageBox);
        }
        EXPECT_EQ(&UiServices::MessageBoxes(), &ui.messageBox);
    }
    EXPECT_EQ(&UiServices::MessageBoxes(), screen);
}

} // namespace

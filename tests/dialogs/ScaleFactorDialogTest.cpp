// The two scale dialogs with a scripted user: what they show at first, what OK takes
// from the edits, and what it refuses.

#include <memory>

#include <gtest/gtest.h>

#include "dialogs/CModelScaleDialog.h"
#include "dialogs/CPositionKeyScaleDialog.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/ScriptedUi.h"

namespace {

using framework::Dialog;
using framework::IdCancel;
using framework::IdOk;

class ScaleFactorDialogTest : public ::testing::Test {
protected:
    /// Both dialogs, each with the id of its x edit.
    struct Kind {
        std::function<std::unique_ptr<ScaleFactorDialog>()> make;
        int firstEdit;
        int templateId;
        const char* title;
    };
    std::vector<Kind> Kinds() const {
        return {{[] { return std::make_unique<CModelScaleDialog>(); }, 1041, 141,
                 "モデルスケールの変更"},
                {[] { return std::make_unique<CPositionKeyScaleDialog>(); }, 1044, 142,
                 "ポジションキースケールの変更"}};
    }

    framework::ScriptedUi ui;
};

TEST_F(ScaleFactorDialogTest, OkLimitsTheFactorsAwayFromZeroAndTakesLargeAndNegativeOnes) {
    const struct {
        const char* typed[3];
        float expected[3];
    } rows[] = {
        {{"0", "1", "1"}, {0.01f, 1, 1}},
        {{"-0.005", "0.009", "-0.01"}, {-0.01f, 0.01f, -0.01f}},
        {{"250", "-1", " 2.5 "}, {250, -1, 2.5f}},
        {{"1e-3", "+3", "0.01"}, {0.01f, 3, 0.01f}},
    };
    for (const Kind& kind : Kinds()) {
        for (const auto& row : rows) {
            QStringList shown;
            ui.dialogRunner.Push([&](Dialog& dialog) {
                for (int axis = 0; axis < 3; ++axis) {
                    shown.push_back(dialog.GetDlgItemText(kind.firstEdit + axis));
                    dialog.SetDlgItemText(kind.firstEdit + axis,
                                          QString::fromUtf8(row.typed[axis]));
                }
                dialog.ClickButton(IdOk);
            });
            auto dialog = kind.make();
            ASSERT_EQ(dialog->DoModal(), IdOk);
            EXPECT_EQ(shown, (QStringList{"1", "1", "1"})); // 1.0 with six digits
            EXPECT_EQ(dialog->m_scaleX, row.expected[0]) << row.typed[0];
            EXPECT_EQ(dialog->m_scaleY, row.expected[1]) << row.typed[1];
            EXPECT_EQ(dialog->m_scaleZ, row.expected[2]) << row.typed[2];
            EXPECT_EQ(ui.dialogRunner.Runs().back().templateId, kind.templateId);
            EXPECT_EQ(ui.dialogRunner.Runs().back().title.toStdString(), kind.title);
        }
    }
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
}

TEST_F(ScaleFactorDialogTest, TextThatIsNotANumberIsRefusedAndTheDialogStaysOpen) {
    for (const Kind& kind : Kinds()) {
        ui.messageBox.Clear();
        int endedAfterBadText = -1;
        ui.dialogRunner.Push([&](Dialog& dialog) {
            dialog.SetDlgItemText(kind.firstEdit, QStringLiteral("3"));
            dialog.SetDlgItemText(kind.firstEdit + 1, QStringLiteral("2,x"));
            dialog.ClickButton(IdOk);
            endedAfterBadText = dialog.IsEnded();
            dialog.SetDlgItemText(kind.firstEdit + 1, QStringLiteral("4"));
            dialog.ClickButton(IdOk);
        });
        auto dialog = kind.make();
        ASSERT_EQ(dialog->DoModal(), IdOk);
        EXPECT_EQ(endedAfterBadText, 0);
        EXPECT_EQ(ui.messageBox.Texts(),
                  std::vector<QString>{QStringLiteral("数字を入力してください。")});
        EXPECT_EQ(dialog->m_scaleX, 3.0f);
        EXPECT_EQ(dialog->m_scaleY, 4.0f);

        // Refused and then cancelled: nothing was taken.
        ui.dialogRunner.Push([&](Dialog& dialog) {
            dialog.SetDlgItemText(kind.firstEdit, QStringLiteral("abc"));
            dialog.ClickButton(IdOk);
            dialog.ClickButton(IdCancel);
        });
        auto cancelled = kind.make();
        EXPECT_EQ(cancelled->DoModal(), IdCancel);
        EXPECT_EQ(cancelled->m_scaleX, 1.0f);
    }
}

TEST_F(ScaleFactorDialogTest, TheModelScaleCheckBoxIsExchanged) {
    ui.dialogRunner.Push([](Dialog& dialog) {
        EXPECT_EQ(dialog.GetDlgItemText(CModelScaleDialog::PositionKeysCheck),
                  QStringLiteral("ﾎﾟｼﾞｼｮﾝｷｰのｽｹｰﾙ変更も行う"));
        EXPECT_EQ(dialog.Controls().IsDlgButtonChecked(CModelScaleDialog::PositionKeysCheck), 0);
        dialog.ClickButton(CModelScaleDialog::PositionKeysCheck);
        dialog.ClickButton(IdOk);
    });
    CModelScaleDialog dialog;
    ASSERT_EQ(dialog.DoModal(), IdOk);
    EXPECT_EQ(dialog.m_scalePositionKeys, 1);
}

} // namespace

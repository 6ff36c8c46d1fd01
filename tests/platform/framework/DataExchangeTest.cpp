#include "platform/framework/DataExchange.h"

#include <initializer_list>
#include <type_traits>

#include <QWidget>
#include <gtest/gtest.h>

#include "platform/framework/Dialog.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/ScriptedUi.h"
#include "platform/framework/UiServices.h"

using namespace framework;

namespace {

TEST(DataExchangeFormatTest, RealsShowWithSixSignificantDigits) {
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {{1.0f, "1"},
                          {0.5f, "0.5"},
                          {1.0f / 3.0f, "0.333333"},
                          {100000.0f, "100000"},
                          {1234567.0f, "1.23457e+06"},
                          {-0.01f, "-0.01"},
                          {0.01f, "0.01"},
                          {250.0f, "250"},
                          {1e-5f, "1e-05"}};
    for (const Case& c : cases) {
        EXPECT_EQ(DataExchange::FormatReal(c.value, 6), QString::fromUtf8(c.text)) << c.text;
    }
}

/// A text and what a number parser makes of it: the value, or `ok` false for a text it
/// refuses, leaving its output as it was.
template <typename Number>
struct ParseCase {
    const char* text;
    bool ok;
    Number value;
};

template <typename Number>
void ExpectParses(int (*parse)(const QString&, Number*),
                  std::initializer_list<ParseCase<Number>> cases) {
    for (const ParseCase<Number>& c : cases) {
        Number value = -42;
        EXPECT_EQ(parse(QString::fromUtf8(c.text), &value), c.ok ? 1 : 0) << '"' << c.text << '"';
        if constexpr (std::is_floating_point_v<Number>) {
            EXPECT_DOUBLE_EQ(value, c.ok ? c.value : -42) << c.text;
        } else {
            EXPECT_EQ(value, c.ok ? c.value : -42) << c.text;
        }
    }
}

TEST(DataExchangeFormatTest, OnlyDecimalNumbersAreRead) {
    ExpectParses<double>(
        &DataExchange::ParseReal,
        {
            {"2", true, 2},     {" 2.5 ", true, 2.5}, {"-1", true, -1},         {"+3", true, 3},
            {"1e2", true, 100}, {".5", true, 0.5},    {"-0.005", true, -0.005}, {"", false, 0},
            {"  ", false, 0},   {"abc", false, 0},    {"1,5", false, 0},        {"2x", false, 0},
            {"inf", false, 0},  {"nan", false, 0},    {"0x10", false, 0},       {"1e999", false, 0},
            {"1e", false, 0},   {"--1", false, 0},    {"+-1", false, 0},        {"1 2", false, 0},
        });
}

TEST(DataExchangeFormatTest, OnlyWholeNumbersThatFitAreReadAsInts) {
    ExpectParses<int>(&DataExchange::ParseInt, {{"12", true, 12},
                                                {" -7 ", true, -7},
                                                {"+4", true, 4},
                                                {"2147483647", true, 2147483647},
                                                {"1.5", false, 0},
                                                {"", false, 0},
                                                {"3a", false, 0},
                                                {"2147483648", false, 0},
                                                {"1e3", false, 0},
                                                {"++4", false, 0}});
}

// A dialog like the scale dialogs: three float edits and a check box, plus an int edit
// and a radio group.
class ScaleDialog : public Dialog {
public:
    static DialogTemplate Template() {
        using Control = ControlTemplate;
        using Kind = Control::Kind;
        DialogTemplate dialog;
        dialog.id = 141;
        dialog.title = QStringLiteral("モデルスケールの変更");
        dialog.size = QSize(180, 80);
        dialog.controls = {
            Control::Make(Kind::Edit, 1041, "", {10, 20, 30, 12}, Control::Group),
            Control::Make(Kind::Edit, 1042, "", {50, 20, 30, 12}, 0),
            Control::Make(Kind::Edit, 1043, "", {90, 20, 30, 12}, 0),
            Control::Make(Kind::CheckBox, 1047, "ﾎﾟｼﾞｼｮﾝｷｰのｽｹｰﾙ変更も行う", {10, 40, 100, 10}, 0),
            Control::Make(Kind::Edit, 1050, "", {10, 55, 30, 12}, 0),
            Control::Make(Kind::RadioButton, 1035, "Liner", {50, 55, 30, 10}, Control::Group),
            Control::Make(Kind::RadioButton, 1036, "Spline", {90, 55, 30, 10}, 0),
            Control::Make(Kind::DefPushButton, IdOk, "OK", {130, 10, 40, 14}, Control::Group),
            Control::Make(Kind::PushButton, IdCancel, "ｷｬﾝｾﾙ", {130, 30, 40, 14}, 0),
        };
        return dialog;
    }

    ScaleDialog() : Dialog(Template()) {}

    void DoDataExchange(DataExchange& exchange) override {
        exchange.Text(1041, x);
        exchange.Text(1042, y);
        exchange.Text(1043, z);
        exchange.Check(1047, scalePositionKeys);
        exchange.Text(1050, count);
        exchange.Radio(1035, complement);
    }
    void OnDestroy() override { ++destroyed; }

    float x = 1.0f;
    float y = 1.0f;
    float z = 1.0f;
    int scalePositionKeys = 0;
    int count = 3;
    int complement = -1;
    int destroyed = 0;
};

class DataExchangeTest : public ::testing::Test {
protected:
    DataExchangeTest() { UiServices::SetAppTitle(QStringLiteral("Pavrix / Prototype")); }
    ScriptedUi ui;
};

TEST_F(DataExchangeTest, LoadingShowsTheFieldsInTheControls) {
    ScaleDialog dialog;
    dialog.x = 2.5f;
    dialog.complement = 1;
    dialog.scalePositionKeys = 1;
    ASSERT_EQ(dialog.UpdateData(0), 1);
    EXPECT_EQ(dialog.GetDlgItemText(1041), QStringLiteral("2.5"));
    EXPECT_EQ(dialog.GetDlgItemText(1042), QStringLiteral("1"));
    EXPECT_EQ(dialog.GetDlgItemText(1050), QStringLiteral("3"));
    EXPECT_EQ(dialog.Controls().IsDlgButtonChecked(1047), 1);
    EXPECT_EQ(dialog.Controls().IsDlgButtonChecked(1036), 1);
    dialog.complement = -1;
    dialog.UpdateData(0);
    EXPECT_EQ(dialog.Controls().IsDlgButtonChecked(1036), 0);
    EXPECT_EQ(dialog.Controls().IsDlgButtonChecked(1035), 0);
}

TEST_F(DataExchangeTest, SavingReadsEveryKindOfField) {
    ScaleDialog dialog;
    dialog.SetDlgItemText(1041, QStringLiteral("2"));
    dialog.SetDlgItemText(1042, QStringLiteral(" -0.005 "));
    dialog.SetDlgItemText(1043, QStringLiteral("250"));
    dialog.SetDlgItemText(1050, QStringLiteral("-7"));
    dialog.ClickButton(1047);
    dialog.ClickButton(1035);
    ASSERT_EQ(dialog.UpdateData(1), 1);
    EXPECT_FLOAT_EQ(dialog.x, 2.0f);
    EXPECT_FLOAT_EQ(dialog.y, -0.005f);
    EXPECT_FLOAT_EQ(dialog.z, 250.0f);
    EXPECT_EQ(dialog.count, -7);
    EXPECT_EQ(dialog.scalePositionKeys, 1);
    EXPECT_EQ(dialog.complement, 0);
    EXPECT_TRUE(ui.messageBox.Asked().empty());
}

TEST_F(DataExchangeTest, AFieldThatIsNotANumberIsRefusedAndNothingIsStored) {
    struct Case {
        int id;
        const char* text;
        const char* message;
    };
    const Case cases[] = {{1042, "abc", "数字を入力してください。"},
                          {1043, "1e39", "数字を入力してください。"},
                          {1041, "", "数字を入力してください。"},
                          {1050, "2.5", "整数を入力してください。"}};
    for (const Case& c : cases) {
        ui.messageBox.Clear();
        ScaleDialog dialog;
        dialog.UpdateData(0);
        dialog.SetDlgItemText(1041, QStringLiteral("4"));
        dialog.ClickButton(1047);
        dialog.SetDlgItemText(c.id, QString::fromUtf8(c.text));
        EXPECT_EQ(dialog.UpdateData(1), 0) << c.text;
        // Fields read before the bad one keep their old values too.
        EXPECT_FLOAT_EQ(dialog.x, 1.0f) << c.text;
        EXPECT_EQ(dialog.scalePositionKeys, 0) << c.text;
        ASSERT_EQ(ui.messageBox.Asked().size(), 1u) << c.text;
        EXPECT_EQ(ui.messageBox.Asked()[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(ui.messageBox.Asked()[0].caption, QStringLiteral("Pavrix / Prototype"));
        EXPECT_EQ(ui.messageBox.Asked()[0].style, MbOk | MbIconExclamation);
    }
}

TEST_F(DataExchangeTest, OkWithABadFieldKeepsTheDialogOpenUntilItIsCorrected) {
    ScaleDialog dialog;
    ui.dialogRunner.Push([](Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(1041), QStringLiteral("1"));
        d.SetDlgItemText(1041, QStringLiteral("2"));
        d.SetDlgItemText(1042, QStringLiteral("two"));
        d.ClickButton(IdOk);
        EXPECT_EQ(d.IsEnded(), 0);
        d.SetDlgItemText(1042, QStringLiteral("2"));
        d.ClickButton(IdOk);
    });
    EXPECT_EQ(dialog.DoModal(), IdOk);
    EXPECT_FLOAT_EQ(dialog.x, 2.0f);
    EXPECT_FLOAT_EQ(dialog.y, 2.0f);
    EXPECT_EQ(ui.messageBox.Texts(),
              std::vector<QString>{QStringLiteral("数字を入力してください。")});
    EXPECT_EQ(dialog.destroyed, 1);
    ASSERT_EQ(ui.dialogRunner.Runs().size(), 1u);
    EXPECT_EQ(ui.dialogRunner.Runs()[0].templateId, 141);
    EXPECT_EQ(ui.dialogRunner.Runs()[0].title, QStringLiteral("モデルスケールの変更"));
}

} // namespace

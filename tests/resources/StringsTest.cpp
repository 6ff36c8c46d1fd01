#include "resources/Strings.h"

#include <QStringList>
#include <gtest/gtest.h>

#include "resources/CommandIds.h"

namespace {

TEST(StringsTest, ToolTipsAreTheSecondFieldOfEachPrompt) {
    struct Case {
        framework::CommandId id;
        const char* prompt;
        const char* toolTip;
    };
    const Case cases[] = {
        {32774, "RGB/MMX Emulation", "RGB/MMX Emulation"},
        {32791, "KeyFrame Left", "ひとつ前のキーへ"},
        {32792, "KeyFrame right", "ひとつ先のキーへ"},
        {32793, "Stop Animation", "停止"},
        {32794, "Play Animation", "再生"},
        {32795, "Edit...Parts Animation Key", "パーツのアニメーション情報"},
        {32797, "Animation Forward Step", "１進める"},
        {32798, "Animation Back Step", "１戻す"},
        {32802, "Add Last Key Frame", "アニメーションの最後にキーを追加"},
        {32804, "Paste Key Frame", "現在のキーへ、ペースト"},
        {32808, "ZBuffer On", "ZBuffer On"},
        {32810, "ｼｰﾝに挿入", "挿入"},
        {32812, "Animation Play All", "すべてのアニメーションの再生"},
        {32813, "ｱﾆﾒｰｼｮﾝをﾛｰﾄﾞして変更", "ｱﾆﾒｰｼｮﾝの変更"},
        {32819, "Change All Position Key Scale", "ポジションキーの移動サイズの変更"},
        {32838, "Move First Key Time Zero", "先頭のキーが0になるよう、すべてのキーを移動"},
        {32840, "簡易ﾏﾆｭｱﾙ", "簡易ﾏﾆｭｱﾙ"},
        {32828, "Skin On", ""},
        {32827, "", ""},
    };
    const framework::StringTable& strings = resources::Strings();
    for (const Case& c : cases) {
        EXPECT_EQ(strings.GetPrompt(c.id), QString::fromUtf8(c.prompt)) << c.id;
        EXPECT_EQ(strings.GetToolTip(c.id), QString::fromUtf8(c.toolTip)) << c.id;
    }
    EXPECT_EQ(strings.Has(32827), 0);
}

TEST(StringsTest, EveryProgramCommandHasAPromptExcept32827) {
    // The program's identifiers that exist: the commands of the tables and the strings
    // of identifiers nothing handles.
    const framework::CommandId present[] = {
        32774, 32776, 32780, 32781, 32782, 32783, 32784, 32785, 32786, 32787, 32788,
        32789, 32790, 32791, 32792, 32793, 32794, 32795, 32797, 32798, 32799, 32801,
        32802, 32803, 32804, 32805, 32806, 32808, 32809, 32810, 32811, 32812, 32813,
        32814, 32815, 32817, 32818, 32819, 32821, 32822, 32823, 32824, 32825, 32826,
        32828, 32829, 32830, 32831, 32835, 32836, 32838, 32839, 32840};
    for (framework::CommandId id : present) {
        EXPECT_FALSE(resources::Strings().GetPrompt(id).isEmpty()) << id;
    }
}

TEST(StringsTest, TheApplicationTitleAndDocumentString) {
    const framework::StringTable& strings = resources::Strings();
    EXPECT_EQ(strings.Get(57344), QStringLiteral("Pavrix / Prototype"));
    EXPECT_EQ(resources::AppTitle(), QStringLiteral("Pavrix / Prototype"));
    const QString document = strings.Get(128);
    EXPECT_EQ(document, resources::DocumentString());
    const QStringList fields = document.split(QLatin1Char('\n'));
    EXPECT_EQ(fields,
              (QStringList{"Pavrix", "", "PX", "X ﾌｧｲﾙ (*.x)", ".x", "X.Document", "X Document"}));
}

} // namespace

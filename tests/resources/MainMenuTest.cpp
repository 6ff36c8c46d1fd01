#include "resources/MainMenu.h"

#include <gtest/gtest.h>

#include "resources/CommandIds.h"

using framework::MenuItem;
using Kind = framework::MenuItem::Kind;

namespace {

// The menu as a compact string: "id" for commands, "-" for separators, "[...]" for
// submenus, so a whole menu's shape is compared at once.
std::string Shape(const std::vector<MenuItem>& items) {
    std::string shape;
    for (const MenuItem& item : items) {
        if (!shape.empty()) {
            shape += ' ';
        }
        switch (item.kind) {
        case Kind::Command:
            shape += std::to_string(item.id);
            break;
        case Kind::Separator:
            shape += '-';
            break;
        case Kind::Popup:
            shape += '[' + Shape(item.items) + ']';
            break;
        }
    }
    return shape;
}

const MenuItem* FindCommand(const std::vector<MenuItem>& items, framework::CommandId id) {
    for (const MenuItem& item : items) {
        if (item.kind == Kind::Command && item.id == id) {
            return &item;
        }
        if (item.kind == Kind::Popup) {
            if (const MenuItem* found = FindCommand(item.items, id)) {
                return found;
            }
        }
    }
    return nullptr;
}

TEST(MainMenuTest, TheFourMenusHoldTheirEntriesInOrder) {
    const std::vector<MenuItem>& menu = resources::MainMenu();
    ASSERT_EQ(menu.size(), 4u);
    EXPECT_EQ(menu[0].text, QStringLiteral("File(&F)"));
    EXPECT_EQ(menu[1].text, QStringLiteral("Edit(&E)"));
    EXPECT_EQ(menu[2].text, QStringLiteral("View(&V)"));
    EXPECT_EQ(menu[3].text, QStringLiteral("Help(&H)"));
    EXPECT_EQ(Shape(menu[0].items),
              "57600 57601 57603 57604 32842 - 32810 - 32814 32813 - 57616 - 57665");
    EXPECT_EQ(Shape(menu[1].items), "57643 57644 - 57635 57634 57637");
    EXPECT_EQ(Shape(menu[2].items), "[32774 32776 - 32789] "
                                    "[32781 - 32782 32783 32784 - 32785 32786 - 32780 32788] "
                                    "[32805 32806] [32808 32809] - 32841 - 59392 32843 - "
                                    "[32844 32845]");
    EXPECT_EQ(Shape(menu[3].items), "32840 - 57664");
    EXPECT_EQ(menu[2].items[0].text, QStringLiteral("Driver(&D)"));
    EXPECT_EQ(menu[2].items[1].text, QStringLiteral("Renderer(&R)"));
    EXPECT_EQ(menu[2].items[2].text, QStringLiteral("Projection(&P)"));
    EXPECT_EQ(menu[2].items[3].text, QStringLiteral("ZBuffer(&Z)"));
}

TEST(MainMenuTest, EntriesCarryTheirExactTexts) {
    struct Case {
        framework::CommandId id;
        const char* text;
    };
    const Case cases[] = {
        {57600, "新規作成(&N)\tCtrl+N"},
        {57601, "開く(&O)...\tCtrl+O"},
        {57603, "上書き保存(&S)\tCtrl+S"},
        {57604, "名前を付けて保存(&A)..."},
        {32842, "エクスポート(&E)..."},
        {32810, "別ｷｬﾗｸﾀｰを挿入(&I)..."},
        {32814, "ﾓﾃﾞﾙの変更(&M)"},
        {32813, "ｱﾆﾒｰｼｮﾝの変更(&Z)"},
        {57616, "最新のﾌｧｲﾙ"},
        {57665, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"},
        {57643, "元に戻す(&U)\tCtrl+Z"},
        {57644, "やり直し(&R)\tCtrl+Y"},
        {57635, "切り取り(&T)\tCtrl+X"},
        {57634, "ｺﾋﾟｰ(&C)\tCtrl+C"},
        {57637, "貼り付け(&P)\tCtrl+V"},
        {32774, "RGB/MMX Emulation"},
        {32776, "Direct3D HAL"},
        {32789, "Use VideoMemory"},
        {32788, "Texture Filtering"},
        {32806, "Orthographic"},
        {32808, "On"},
        {32809, "Off"},
        {32841, "ﾓﾃﾞﾙ全体を表示(&W)\tHome"},
        {59392, "ﾂｰﾙ ﾊﾞｰ(&T)"},
        {32843, "ﾀｲﾑﾗｲﾝ(&L)"},
        {32844, "日本語"},
        {32845, "English"},
        {32840, "簡易説明書(&H)"},
        {57664, "ﾊﾞｰｼﾞｮﾝ情報 (&A)..."},
    };
    for (const Case& c : cases) {
        const MenuItem* item = FindCommand(resources::MainMenu(), c.id);
        ASSERT_NE(item, nullptr) << c.id;
        EXPECT_EQ(item->text, QString::fromUtf8(c.text)) << c.id;
        EXPECT_EQ(item->grayed, c.id == 57616) << c.id;
    }
}

} // namespace

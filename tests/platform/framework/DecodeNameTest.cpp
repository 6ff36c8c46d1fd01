#include "platform/framework/DecodeName.h"

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(DecodeNameTest, UtfEightStaysAndEverythingElseIsCodePage932) {
    struct Case {
        std::string bytes;
        QString text;
        bool utf8;
    };
    const Case cases[] = {
        {"Arm_L", QStringLiteral("Arm_L"), true},
        {"\xE8\x84\x9A", QStringLiteral("脚"), true},        // 脚 in UTF-8
        {"\x8B\x72", QStringLiteral("脚"), false},           // 脚 in code page 932
        {"\x83\x5C\x8D\x9C", QStringLiteral("ソ骨"), false}, // a trail byte 0x5C, no '\'
        {"\x87\x40", QStringLiteral("①"), false},            // a Windows extension
        {"\xB1\xC6\xD2", QStringLiteral("ｱﾆﾒ"), false},      // half-width katakana
        {"", QString(), true},
        {"Body\xE9", QStringLiteral("Body\uFFFD"), false},   // a lead byte at the end
        {"\x83\x7D\x83", QStringLiteral("マ\uFFFD"), false}, // a lead byte after a character
        {"A\xFF"
         "B",
         QStringLiteral("A\uFFFDB"), false}, // no character of code page 932
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(framework::IsValidUtf8(c.bytes), c.utf8);
        EXPECT_EQ(framework::DecodeName(c.bytes), c.text);
    }
}

} // namespace

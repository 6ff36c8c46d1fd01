#include "commands/ChangeKeyLengthCommand.h"

#include "commands/KeyFrameCommandFixture.h"

namespace {

using framework::IdNo;
using framework::IdYes;

TEST_F(KeyFrameCommandTest, ChangeKeyLengthMovesEveryLaterKeyAfterYes) {
    Open({0, 10, 20});
    GoTo(0);
    host.lengthText = QStringLiteral("15");
    host.box.Push(IdYes);
    ASSERT_EQ(ChangeKeyLengthCommand(host).Execute(context), 1);
    ASSERT_EQ(host.box.Asked().size(), 1u);
    ExpectBox(0, QStringLiteral("キーの範囲を 10 から 15 へ変更しますか？"), 36u,
              "Change Key Frame Length");
    EXPECT_EQ(KeyTimes(), (std::vector<float>{0, 15, 25}));
    EXPECT_EQ(Times(arm), (std::vector<float>{0, 15, 25}));
    EXPECT_EQ(host.lengthText, QStringLiteral("15"));
    EXPECT_EQ(host.stops, 1);

    host.lengthText = QStringLiteral("30");
    host.box.Push(IdNo);
    EXPECT_EQ(ChangeKeyLengthCommand(host).Execute(context), 0);
    EXPECT_EQ(host.lengthText, QStringLiteral("15"));
    EXPECT_EQ(KeyTimes(), (std::vector<float>{0, 15, 25}));
}

TEST_F(KeyFrameCommandTest, ChangeKeyLengthAsksNothingForTheSameOrAnUnusableLength) {
    Open({0, 10, 20});
    GoTo(0);
    for (const char* text : {"10", "0", "-5", "ten", "99999999999", ""}) {
        host.lengthText = QString::fromLatin1(text);
        context.playState = session::PlayState::PlayingCurrent;
        EXPECT_EQ(ChangeKeyLengthCommand(host).Execute(context), 0) << text;
        EXPECT_EQ(host.lengthText, QStringLiteral("10")) << text;
        EXPECT_EQ(context.playState, session::PlayState::Stopped) << "playback stops in every case";
    }
    GoTo(20);
    host.lengthText = QStringLiteral("5");
    ChangeKeyLengthCommand(host).Execute(context);
    EXPECT_EQ(host.lengthText, QStringLiteral("Last"));
    EXPECT_TRUE(host.box.Asked().empty());
    EXPECT_EQ(host.modified, 0);
    EXPECT_EQ(KeyTimes(), (std::vector<float>{0, 10, 20}));
}

} // namespace

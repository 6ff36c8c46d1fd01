#include "commands/DeleteKeyFrameCommand.h"

#include "commands/KeyFrameCommandFixture.h"

namespace {

using framework::IdCancel;
using framework::IdOk;

TEST_F(KeyFrameCommandTest, DeleteKeyRemovesEveryPartsKeysAtTheKeyTimeAfterTheWarning) {
    Open({0, 10, 20});
    GoTo(10);
    host.box.Push(IdOk);
    ASSERT_EQ(DeleteKeyFrameCommand(host).Execute(context), 1);
    ASSERT_EQ(host.box.Asked().size(), 2u);
    ExpectBox(0, QStringLiteral("Time \"10\" のキーを削除します。"), 49u, "Delete Key Frame");
    EXPECT_EQ(host.box.Asked()[1].text, QStringLiteral("キーの削除完了。"));
    EXPECT_EQ(Times(arm), (std::vector<float>{0, 20}));
    EXPECT_EQ(Times(body), (std::vector<float>{0, 20}));
    EXPECT_EQ(KeyTimes(), (std::vector<float>{0, 20}));
    EXPECT_EQ(host.modified, 1);
    EXPECT_EQ(host.stops, 1);
}

TEST_F(KeyFrameCommandTest, DeleteKeyCancelledStillGoesBackToTheCurrentKeyAndMarksModified) {
    Open({0, 10, 20});
    GoTo(20);
    context.currentTime = 20.5f; // stopping drops the fraction
    context.keyIndex = 1;        // the key the bar shows goes first
    host.box.Push(IdCancel);
    EXPECT_EQ(DeleteKeyFrameCommand(host).Execute(context), 0);
    EXPECT_EQ(host.box.Asked().size(), 1u);
    EXPECT_EQ(Times(arm), (std::vector<float>{0, 10, 20}));
    EXPECT_FLOAT_EQ(context.currentTime, 10.0f);
    EXPECT_EQ(context.keyTime, 10u);
    EXPECT_EQ(host.poses, 1);
    EXPECT_EQ(host.rangeRefreshes, 1);
    EXPECT_EQ(host.modified, 1);

    // An index past the list starts again at its first key time.
    GoTo(20);
    context.keyIndex = 7;
    host.box.Push(IdCancel);
    DeleteKeyFrameCommand(host).Execute(context);
    EXPECT_FLOAT_EQ(context.currentTime, 0.0f);
}

TEST_F(KeyFrameCommandTest, DeleteKeyAtATimeWithoutKeysOrWithoutASetSaysSo) {
    const struct {
        bool open;
        unsigned keyTime;
        const char* message;
    } rows[] = {
        {true, 15, "Time \"15\" にはキーが存在しません。"},
        {false, 0, "アニメーションデータが存在しません。"},
    };
    for (const auto& row : rows) {
        if (row.open) {
            Open({0, 10, 20});
        }
        host.box.Clear();
        context.currentTime = static_cast<float>(row.keyTime);
        EXPECT_EQ(DeleteKeyFrameCommand(host).Execute(context), 0);
        EXPECT_EQ(Texts(), std::vector<std::string>{row.message});
        EXPECT_EQ(host.box.Asked()[0].style, 64u);
        EXPECT_EQ(host.modified, 0);
        if (row.open) {
            EXPECT_EQ(Times(arm), (std::vector<float>{0, 10, 20}));
        }
        context.Reset();
    }
}

} // namespace

#include "commands/PasteKeyFrameCommand.h"

#include "commands/CopyKeyFrameCommand.h"
#include "commands/KeyFrameCommandFixture.h"

namespace {

using framework::IdCancel;
using framework::IdOk;

class PasteKeyFrameCommandTest : public KeyFrameCommandTest {
protected:
    float ArmKeyZ(float time) {
        for (const auto& key : CPartRecord::Of(arm)->animation->Keys()) {
            if (key.dvTime == time) {
                return key.dqRotateKey.v.z;
            }
        }
        return -1;
    }

    CopiedKey copied;
};

TEST_F(PasteKeyFrameCommandTest, PasteReplacesEveryPartsKeysAtTheKeyTimeByTheCopiedTimes) {
    Open({0, 10, 20});
    GoTo(10);
    context.playState = session::PlayState::PlayingCurrent;
    EXPECT_EQ(CopyKeyFrameCommand(host, copied).Execute(context), 0);
    EXPECT_EQ(copied.hasCopiedKey, 1);
    EXPECT_FLOAT_EQ(copied.copiedKeyTime, 10.0f);
    EXPECT_EQ(copied.copiedKeyAnimation, context.currentAnimation);
    EXPECT_TRUE(host.box.Asked().empty());

    GoTo(20);
    const float copiedZ = ArmKeyZ(10);
    ASSERT_NE(ArmKeyZ(20), copiedZ);
    host.box.Push(IdOk);
    ASSERT_EQ(PasteKeyFrameCommand(host, copied).Execute(context), 1);
    ASSERT_EQ(host.box.Asked().size(), 1u);
    EXPECT_EQ(host.box.Asked()[0].text,
              QStringLiteral("コピーした Time \"10\" のキーを、\nTime \"20\" にペーストします。"));
    EXPECT_EQ(host.box.Asked()[0].style, 49u);
    EXPECT_EQ(host.box.Asked()[0].caption, QStringLiteral("Paste Key Frame"));
    EXPECT_FLOAT_EQ(ArmKeyZ(20), copiedZ);
    EXPECT_EQ(Times(arm), (std::vector<float>{0, 10, 20}));
    EXPECT_EQ(host.stops, 0) << "paste does not stop playback";
    EXPECT_EQ(host.modified, 1);

    // Onto the copied time itself the keys stay as they are.
    GoTo(10);
    host.box.Push(IdOk);
    PasteKeyFrameCommand(host, copied).Execute(context);
    EXPECT_EQ(Times(arm), (std::vector<float>{0, 10, 20}));
    EXPECT_FLOAT_EQ(ArmKeyZ(10), copiedZ);
}

TEST_F(PasteKeyFrameCommandTest, PasteWithoutAUsableCopyAsksForOneAndCancelChangesNothing) {
    Open({0, 10, 20});
    const QString copyFirst =
        QStringLiteral("ペーストを行う前に、コピーしたいキーを\nコピーボタンで選択してください。");
    GoTo(20);
    EXPECT_EQ(PasteKeyFrameCommand(host, copied).Execute(context), 0) << "nothing copied";
    context.keyTime = 25;
    CopyKeyFrameCommand(host, copied).Execute(context);
    EXPECT_EQ(PasteKeyFrameCommand(host, copied).Execute(context), 0) << "25 lies past 20";
    ASSERT_EQ(host.box.Asked().size(), 2u);
    for (const auto& question : host.box.Asked()) {
        EXPECT_EQ(question.text, copyFirst);
    }

    context.keyTime = 0;
    CopyKeyFrameCommand(host, copied).Execute(context);
    context.keyTime = 20;
    host.box.Clear();
    host.box.Push(IdCancel);
    const float before = CPartRecord::Of(arm)->animation->Keys().back().dqRotateKey.v.z;
    EXPECT_EQ(PasteKeyFrameCommand(host, copied).Execute(context), 0);
    EXPECT_FLOAT_EQ(CPartRecord::Of(arm)->animation->Keys().back().dqRotateKey.v.z, before);
    EXPECT_EQ(host.modified, 0);

    context.Reset();
    host.box.Clear();
    EXPECT_EQ(PasteKeyFrameCommand(host, copied).Execute(context), 0);
    EXPECT_EQ(Texts(), std::vector<std::string>{"アニメーションデータが存在しません。"});
}

} // namespace

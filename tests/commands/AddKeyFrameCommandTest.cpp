#include "commands/AddKeyFrameCommand.h"

#include "commands/AddLastKeyFrameCommand.h"
#include "commands/EditPartKeysCommand.h"
#include "commands/KeyFrameCommandFixture.h"
#include "platform/rm/Math.h"
#include "support/RmMatchers.h"

namespace {

using framework::IdCancel;
using framework::IdOk;

TEST_F(KeyFrameCommandTest, AddKeyAsksThenKeysTheSelectedPartsOrientationAndExtendsTheOthers) {
    Open({0, 10});
    host.selected = arm;
    context.currentTime = 15.7f;
    arm->SetOrientation(body, 0, 0, 1, 0, 1, 0); // no turn: the identity
    ASSERT_EQ(AddKeyFrameCommand(host, Prompting::Interactive).Execute(context), 1);

    const auto& asked = host.box.Asked();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, QStringLiteral("アニメーションキーを Time \"15\" へ追加しますか？"));
    EXPECT_EQ(asked[0].caption, QStringLiteral("Add Key Frame"));
    EXPECT_EQ(asked[0].style, 33u);
    EXPECT_EQ(asked[1].text, QStringLiteral("キーの追加完了。"));
    EXPECT_EQ(asked[1].style, 64u);
    EXPECT_EQ(host.stops, 1);
    EXPECT_EQ(host.modified, 1);
    EXPECT_EQ(context.keyTime, 15u);
    EXPECT_EQ(Times(arm), (std::vector<float>{0, 10, 15}));
    EXPECT_EQ(Times(body), (std::vector<float>{0, 10, 15})) << "its latest rotation repeated";
    EXPECT_EQ(KeyTimes(), (std::vector<float>{0, 10, 15}));
    const rm::AnimationKey& key = CPartRecord::Of(arm)->animation->Keys().back();
    EXPECT_FLOAT_EQ(key.dqRotateKey.s, 1.0f);
}

TEST_F(KeyFrameCommandTest, AddKeyIsRefusedWithTheReasonAndChangesNothing) {
    const struct {
        bool open;
        bool select;
        float time;
        const char* message;
    } rows[] = {
        {false, true, 0, "アニメーションデータが存在しません。"},
        {true, false, 5, "アニメーションを追加するパーツを選択後、\nボタンを押してください。"},
        // 10.7 truncates onto the key time 10.
        {true, true, 10.7f, "Time \"10\" にはすでにキーが存在します"},
    };
    for (const auto& row : rows) {
        if (row.open) {
            Open({0, 10, 20});
        }
        host.selected = row.select ? arm : nullptr;
        host.box.Clear();
        host.modified = 0;
        context.currentTime = row.time;
        EXPECT_EQ(AddKeyFrameCommand(host, Prompting::Interactive).Execute(context), 0)
            << row.message;
        ASSERT_EQ(Texts(), std::vector<std::string>{row.message});
        EXPECT_EQ(host.box.Asked()[0].caption, QStringLiteral("Add Key Frame"));
        EXPECT_EQ(host.modified, 0);
        if (row.open) {
            EXPECT_EQ(Times(arm), (std::vector<float>{0, 10, 20}));
        }
        // Silent: the same refusal without a word.
        host.box.Clear();
        EXPECT_EQ(AddKeyFrameCommand(host, Prompting::Silent).Execute(context), 0);
        EXPECT_TRUE(host.box.Asked().empty());
    }
    // A frame that is no part of a model fails silently.
    rm::Ref<rm::Frame> stray;
    d3drm->CreateFrame(nullptr, &stray);
    host.selected = stray.Get();
    host.box.Clear();
    context.currentTime = 5;
    EXPECT_EQ(AddKeyFrameCommand(host, Prompting::Interactive).Execute(context), 0);
    EXPECT_TRUE(host.box.Asked().empty());
}

TEST_F(KeyFrameCommandTest, APartWithoutAnimationGetsOneOnlyWhenBothQuestionsAreAnswered) {
    Open({});
    host.selected = arm;
    const std::size_t before = context.currentAnimation->Set()->Animations().size();
    // Cancel at the first or at the second question: nothing is made.
    for (const std::vector<int>& answers :
         {std::vector<int>{IdCancel}, std::vector<int>{IdOk, IdCancel}}) {
        host.box.Clear();
        for (int answer : answers) {
            host.box.Push(answer);
        }
        EXPECT_EQ(AddKeyFrameCommand(host, Prompting::Interactive).Execute(context), 0);
        EXPECT_EQ(host.box.PendingAnswers(), 0);
        EXPECT_EQ(CPartRecord::Of(arm)->animation, nullptr);
        EXPECT_EQ(context.currentAnimation->Set()->Animations().size(), before);
    }
    host.box.Clear();
    EXPECT_EQ(AddKeyFrameCommand(host, Prompting::Interactive).Execute(context), 1);
    EXPECT_EQ(host.box.Asked()[0].text,
              QStringLiteral(
                  "このパーツにはアニメーションがありません。\nアニメーションを生成しますか？"));
    rm::Animation* made = CPartRecord::Of(arm)->animation;
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetOptions(), 0x36u);
    EXPECT_EQ(made->GetFrame().Get(), arm);
    EXPECT_EQ(Times(arm), std::vector<float>{0});

    // The new animation is named after its part, so binding again (as the part key dialog's
    // OK does) keeps it on the part.
    host.dialogAnswer = IdOk;
    ASSERT_EQ(EditPartKeysCommand(host).Execute(context), 1);
    EXPECT_EQ(made->GetFrame().Get(), arm);
    EXPECT_EQ(CPartRecord::Of(arm)->animation, made);
    host.dialogAnswer = IdCancel;
    EXPECT_EQ(EditPartKeysCommand(host).Execute(context), 0);
}

TEST_F(KeyFrameCommandTest, AddLastKeyRepeatsEveryLatestRotationOneAfterTheLastKeyTime) {
    Open({0, 10, 20});
    host.box.Push(IdOk);
    ASSERT_EQ(AddLastKeyFrameCommand(host).Execute(context), 1);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"アニメーションの最後(+1)にキーを追加しますか？",
                                                 "キーの追加完了。"}));
    EXPECT_EQ(host.box.Asked()[0].caption, QStringLiteral("Add Last Key Frame"));
    EXPECT_EQ(Times(arm), (std::vector<float>{0, 10, 20, 21}));
    EXPECT_EQ(Times(body), (std::vector<float>{0, 10, 20, 21}));
    EXPECT_FLOAT_EQ(context.currentTime, 21.0f);
    EXPECT_EQ(context.keyTime, 21u);
    EXPECT_EQ(context.keyIndex, 3u);
    EXPECT_EQ(host.modified, 1);
    const auto& keys = CPartRecord::Of(arm)->animation->Keys();
    EXPECT_FLOAT_EQ(keys[3].dqRotateKey.v.z, keys[2].dqRotateKey.v.z);

    host.box.Clear();
    host.box.Push(IdCancel);
    EXPECT_EQ(AddLastKeyFrameCommand(host).Execute(context), 0);
    EXPECT_EQ(Times(arm).size(), 4u);
}

TEST_F(KeyFrameCommandTest, AddLastKeyOnASetWithoutAnimationsKeysTheSelectedPartFirst) {
    Open({});
    context.keyTime = 7;
    // No part selected: the silent add fails and the key time comes back.
    host.box.Push(IdOk);
    host.box.Push(IdOk);
    EXPECT_EQ(AddLastKeyFrameCommand(host).Execute(context), 0);
    EXPECT_EQ(context.keyTime, 0u) << "stopping took the current time's whole part";
    EXPECT_EQ(host.box.Asked().size(), 2u);

    host.selected = arm;
    host.box.Clear();
    ASSERT_EQ(AddLastKeyFrameCommand(host).Execute(context), 1);
    EXPECT_EQ(Texts()[1],
              "現在アニメーションが登録されていません。\nアニメーションを生成しますか？");
    EXPECT_EQ(Times(arm), (std::vector<float>{0, 1}));
    EXPECT_EQ(context.keyIndex, 1u);
}

} // namespace

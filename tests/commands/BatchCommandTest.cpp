// The model and animation batch commands without a window: a scripted host answers the
// questions and the scale dialogs; the character is the one of BatchTestFiles.h.

#include "commands/BatchCommand.h"

#include <memory>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "commands/CommandFixture.h"
#include "commands/ScriptedBatchHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"
#include "support/BatchTestFiles.h"
#include "support/ScriptedBoxTexts.h"
#include "xfile/DocumentSave.h"

namespace {

using framework::IdCancel;
using framework::IdNo;
using framework::IdOk;
using framework::IdYes;

class BatchCommandTest : public CommandFixture {
protected:
    /// Opens the character (or, with `text`, that file) as the document does and makes it
    /// current with its key-time list built.
    void Open(const std::string& text = batch_test::CharacterText()) {
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("in.x"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        file.close();
        ASSERT_NO_FATAL_FAILURE(OpenAsDocument(path));
        context.currentAnimation->UpdateTotalKeyTimeBuffer();
    }

    /// The character with both parts' rotation keys at `times` and no position keys.
    void OpenWithKeyTimes(const std::vector<float>& times) {
        const QString path = shell_test::WriteCharacter(dir.path(), QStringLiteral("t.x"), times);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        Open(file.readAll().toStdString());
    }

    std::vector<float> KeyTimes() const {
        std::vector<float> times;
        for (unsigned i = 0; i < context.currentAnimation->KeyTimeCount(); ++i) {
            times.push_back(context.currentAnimation->KeyTime(static_cast<int>(i)));
        }
        return times;
    }

    /// Saves the current character and opens the file again, as a user would look.
    batch_test::Snapshot SavedAndReopened() {
        return batch_test::CaptureFile(SaveCurrent("out.x"));
    }

    std::vector<std::string> Texts() const { return Utf8Texts(host.box); }

    ScriptedBatchHost host{context};
};

constexpr char kNoAnimation[] = "アニメーションデータが存在しません。";

TEST_F(BatchCommandTest, WithoutDataEachCommandSaysSoUnderItsCaptionAndChangesNothing) {
    const struct {
        std::unique_ptr<BatchCommand> command;
        const char* text;
        const char* caption;
    } rows[] = {
        {std::make_unique<BatchCommand>(host, BatchCommand::Kind::ChangeModelScale),
         "モデルデータが存在しません。", "Change Model Scale"},
        {std::make_unique<BatchCommand>(host, BatchCommand::Kind::DeleteAllPositionKey),
         kNoAnimation, "Delete All Position Key"},
        {std::make_unique<BatchCommand>(host, BatchCommand::Kind::ChangeAllPositionKeyScale),
         kNoAnimation, "Change All Position Key Scale"},
        {std::make_unique<BatchCommand>(host, BatchCommand::Kind::ChangeAnimationPace),
         kNoAnimation, "Change Animation Pace"},
        {std::make_unique<BatchCommand>(host, BatchCommand::Kind::SkinOn), kNoAnimation,
         "Morphing Skin"},
        // Reset Orientation borrows the skin command's caption.
        {std::make_unique<BatchCommand>(host, BatchCommand::Kind::ResetOrientation), kNoAnimation,
         "Morphing Skin"},
        {std::make_unique<BatchCommand>(host, BatchCommand::Kind::MoveFirstKeyTimeZero),
         kNoAnimation, "Move First Key Time Zero"},
    };
    for (const auto& row : rows) {
        host.box.Clear();
        EXPECT_EQ(row.command->Execute(context), CommandResult::Refused) << row.caption;
        ASSERT_EQ(host.box.Asked().size(), 1u) << row.caption;
        EXPECT_EQ(host.box.Asked()[0].text.toStdString(), row.text);
        EXPECT_EQ(host.box.Asked()[0].caption.toStdString(), row.caption);
        EXPECT_EQ(host.box.Asked()[0].style, 64u);
    }
    EXPECT_EQ(host.dialogs, 0);
    EXPECT_EQ(host.modified, 0);
}

TEST_F(BatchCommandTest, PaceDoublesTheKeyTimesAndLeavesASingleKeyTimeAloneWithoutAWord) {
    OpenWithKeyTimes({0, 10, 20});
    host.box.Push(IdOk);
    EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::ChangeAnimationPace).Execute(context),
              CommandResult::Changed);
    EXPECT_EQ(KeyTimes(), (std::vector<float>{0, 20, 40}));
    ASSERT_EQ(host.box.Asked().size(), 2u);
    EXPECT_EQ(host.box.Asked()[0].style, 49u);
    EXPECT_EQ(host.box.Asked()[0].text.toStdString(),
              "アニメーション全体の長さを変更することで、\n再生ペースを変えます。\n\n"
              "現在の機能：アニメーションの長さ×２倍");
    EXPECT_EQ(Texts()[1], "アニメーションの長さの変更完了。");
    EXPECT_EQ(host.rangeRefreshes, 1);
    EXPECT_EQ(host.timeRefreshes, 1);
    EXPECT_EQ(host.modified, 1);

    host.box.Clear();
    host.box.Push(IdCancel);
    EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::ChangeAnimationPace).Execute(context),
              CommandResult::Cancelled);
    EXPECT_EQ(KeyTimes(), (std::vector<float>{0, 20, 40}));

    context.Reset();
    OpenWithKeyTimes({10});
    host.box.Clear();
    host.modified = 0;
    host.box.Push(IdOk);
    EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::ChangeAnimationPace).Execute(context),
              CommandResult::Refused);
    EXPECT_EQ(host.box.Asked().size(), 1u); // the question only
    EXPECT_EQ(KeyTimes(), (std::vector<float>{10}));
    EXPECT_EQ(host.modified, 0);
}

TEST_F(BatchCommandTest, FirstKeyZeroMovesEveryKeyAndStillReportsWhenTheKeysStartAtZero) {
    OpenWithKeyTimes({5, 15});
    host.box.Push(IdOk);
    EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::MoveFirstKeyTimeZero).Execute(context),
              CommandResult::Changed);
    EXPECT_EQ(KeyTimes(), (std::vector<float>{0, 10}));
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{"先頭キーが0から始まるよう、すべてのキーを移動します。\n",
                                        "変更完了。"}));
    EXPECT_EQ(host.box.Asked()[0].style, 49u);

    host.box.Clear();
    EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::MoveFirstKeyTimeZero).Execute(context),
              CommandResult::Refused);
    EXPECT_EQ(KeyTimes(), (std::vector<float>{0, 10}));
    EXPECT_EQ(Texts().back(), "変更完了。");
    EXPECT_EQ(host.modified, 2);

    host.box.Clear();
    host.box.Push(IdCancel);
    context.currentAnimation->ShiftKeyTimes(3);
    context.currentAnimation->UpdateTotalKeyTimeBuffer();
    EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::MoveFirstKeyTimeZero).Execute(context),
              CommandResult::Cancelled);
    EXPECT_EQ(KeyTimes(), (std::vector<float>{3, 13}));
}

TEST_F(BatchCommandTest, DeleteAllPositionKeysKeepsTheOtherKeysAndRebuildsTheKeyTimeList) {
    Open();
    // A key time that only the Arm's position keys hold.
    CPartRecord::Of(context.currentModel->Root()->Children()[0]->Children()[0].Get())
        ->animation->AddPositionKey(25, 1, 2, 3);
    context.currentAnimation->UpdateTotalKeyTimeBuffer();

    host.box.Push(IdCancel);
    EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::DeleteAllPositionKey).Execute(context),
              CommandResult::Cancelled);
    EXPECT_EQ(batch_test::Capture(context.currentModel).parts[1].positionKeys.size(), 3u);

    host.box.Push(IdOk);
    EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::DeleteAllPositionKey).Execute(context),
              CommandResult::Changed);
    const batch_test::Snapshot now = batch_test::Capture(context.currentModel);
    EXPECT_TRUE(now.parts[1].positionKeys.empty());
    EXPECT_EQ(now.parts[1].keyTimes, (std::vector<float>{5, 15})); // the rotation keys
    EXPECT_EQ(KeyTimes(), (std::vector<float>{5, 15}));            // 25 held nothing else
    EXPECT_EQ(Texts().back(), "ポジションキーの削除完了。");
    EXPECT_EQ(host.box.Asked()[1].style, 49u);
    EXPECT_EQ(host.modified, 1);
    EXPECT_TRUE(SavedAndReopened().parts[1].positionKeys.empty());
}

TEST_F(BatchCommandTest, ModelScaleScalesFramesAndMeshesAndThePositionKeysOnlyWithTheCheckBox) {
    Open();
    const batch_test::Snapshot before = batch_test::Capture(context.currentModel);
    const struct {
        int withKeys;
        ScaleFactors factors;
        rm::Vector applied; // after the factor limit
    } rows[] = {
        {0, {2, 2, 2}, {2, 2, 2}},
        {1, {2, 2, 2}, {2, 2, 2}},
        {1, {1, 0, -0.005f}, {1, 0.01f, -0.01f}},
    };
    for (const auto& row : rows) {
        context.Reset();
        Open();
        host.box.Clear();
        host.factors = row.factors;
        host.scalePositionKeys = row.withKeys;
        EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::ChangeModelScale).Execute(context),
                  CommandResult::Changed);
        EXPECT_EQ(Texts(), std::vector<std::string>{"スケールの変更完了。"});
        EXPECT_EQ(context.redrawRequest, 1);
        const batch_test::Snapshot after = SavedAndReopened();
        ASSERT_EQ(after.parts.size(), before.parts.size());
        for (std::size_t p = 0; p < before.parts.size(); ++p) {
            const auto& was = before.parts[p];
            const auto& is = after.parts[p];
            ASSERT_EQ(is.vertices.size(), was.vertices.size());
            for (std::size_t v = 0; v < was.vertices.size(); ++v) {
                EXPECT_NEAR(is.vertices[v].x, was.vertices[v].x * row.applied.x, 1e-5f);
                EXPECT_NEAR(is.vertices[v].y, was.vertices[v].y * row.applied.y, 1e-5f);
                EXPECT_NEAR(is.vertices[v].z, was.vertices[v].z * row.applied.z, 1e-5f);
            }
            ASSERT_EQ(is.positionKeys.size(), was.positionKeys.size());
            for (std::size_t k = 0; k < was.positionKeys.size(); ++k) {
                const rm::Vector factor = row.withKeys ? row.applied : rm::Vector{1, 1, 1};
                EXPECT_NEAR(is.positionKeys[k].x, was.positionKeys[k].x * factor.x, 1e-5f);
                EXPECT_NEAR(is.positionKeys[k].y, was.positionKeys[k].y * factor.y, 1e-5f);
                EXPECT_NEAR(is.positionKeys[k].z, was.positionKeys[k].z * factor.z, 1e-5f);
            }
        }
    }

    host.box.Clear();
    host.dialogAnswer = IdCancel;
    host.modified = 0;
    EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::ChangeModelScale).Execute(context),
              CommandResult::Cancelled);
    EXPECT_TRUE(host.box.Asked().empty());
    EXPECT_EQ(host.modified, 0);
}

TEST_F(BatchCommandTest, PositionKeyScaleHalvesEveryPositionKeyAndNothingElse) {
    Open();
    host.factors = {0.5f, 0.5f, 0.5f};
    EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::ChangeAllPositionKeyScale).Execute(context),
              CommandResult::Changed);
    EXPECT_EQ(Texts(), std::vector<std::string>{"すべてのポジションキーの移動サイズ変更完了。"});
    EXPECT_EQ(host.box.Asked()[0].caption, QStringLiteral("Change All Position Key Scale"));
    const batch_test::Snapshot after = SavedAndReopened();
    ASSERT_EQ(after.parts[1].positionKeys.size(), 2u);
    for (int k = 0; k < 2; ++k) {
        EXPECT_FLOAT_EQ(after.parts[1].positionKeys[k].x, batch_test::kArmPositions[k].x * 0.5f);
        EXPECT_FLOAT_EQ(after.parts[1].positionKeys[k].y, batch_test::kArmPositions[k].y * 0.5f);
        EXPECT_FLOAT_EQ(after.parts[1].positionKeys[k].z, batch_test::kArmPositions[k].z * 0.5f);
    }
    EXPECT_FLOAT_EQ(after.parts[1].vertices[7].y, 1.0f); // the mesh is left alone
    EXPECT_EQ(host.modified, 1);
}

TEST_F(BatchCommandTest, SkinOnAsksYesNoAndReportsOnlyWhenAModelTookIt) {
    Open();
    host.box.Push(IdNo);
    EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::SkinOn).Execute(context),
              CommandResult::Cancelled);
    EXPECT_EQ(context.currentModel->UpdateSkin(), 0); // still off
    EXPECT_EQ(host.box.Asked()[0].style, 36u);
    EXPECT_EQ(host.box.Asked()[0].text.toStdString(),
              "モーフィングによるスキン処理を行いますか？\n一度実行したら元には戻せません。");

    host.box.Clear();
    host.box.Push(IdYes);
    EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::SkinOn).Execute(context),
              CommandResult::Changed);
    EXPECT_EQ(context.currentModel->UpdateSkin(), 1);
    EXPECT_EQ(Texts().back(), "スキン処理機能が有効になりました。\n"
                              "この操作は元に戻せません。それまでの操作も元に戻せなくなりました。");
    EXPECT_EQ(host.modified, 1); // the next save writes the meshes the skin made

    CModelData* model = context.currentModel;
    context.currentModel = nullptr;
    context.redrawRequest = 0;
    host.box.Clear();
    host.box.Push(IdYes);
    EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::SkinOn).Execute(context),
              CommandResult::Refused);
    EXPECT_EQ(context.redrawRequest, 1);
    EXPECT_EQ(host.box.Asked().size(), 1u);
    context.currentModel = model;
}

TEST_F(BatchCommandTest, ResetOrientationTurnsThePartsBackButNotTheRootAndKeepsTheKeys) {
    Open();
    rm::Frame* root = context.currentModel->Root();
    rm::Frame* arm = root->Children()[0]->Children()[0].Get();
    PoseAnimation(context.currentAnimation, 15); // the Arm turns
    root->SetOrientation(nullptr, 1, 0, 0, 0, 1, 0);
    rm::Vector direction, up;
    arm->GetOrientation(arm->GetParent(), &direction, &up);
    ASSERT_GT(std::abs(up.x), 0.01f);

    EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::ResetOrientation).Execute(context),
              CommandResult::Changed);
    // The model's orientation is reset; the keys still turn the Arm shown.
    const rm::Matrix4& rest = arm->GetRestTransform();
    EXPECT_NEAR(rest.m[1][0], 0.0f, 1e-6f); // up.x
    EXPECT_NEAR(rest.m[2][2], 1.0f, 1e-6f); // direction.z
    arm->GetOrientation(arm->GetParent(), &direction, &up);
    EXPECT_GT(std::abs(up.x), 0.01f);
    root->GetOrientation(nullptr, &direction, &up);
    EXPECT_NEAR(direction.x, 1.0f, 1e-6f);
    EXPECT_TRUE(host.box.Asked().empty());
    EXPECT_EQ(host.modified, 0);
    EXPECT_EQ(batch_test::Capture(context.currentModel).parts[1].keyTimes.size(), 4u);
}

} // namespace

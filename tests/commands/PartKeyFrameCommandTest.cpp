// The per-part key commands (Delete / Copy / Paste Parts Key Frame, Delete Position Key) on
// the character of BatchTestFiles.h (Body and Arm turning at 5 and 15, the Arm moving too),
// looked at through the saved file opened again: only the selected part's keys change.

#include "commands/PartKeyFrameCommand.h"

#include <functional>
#include <memory>
#include <string>

#include <QFile>
#include <QRegularExpression>

#include "commands/CopiedPartKeys.h"
#include "commands/KeyFrameCommandFixture.h"
#include "support/BatchTestFiles.h"
#include "xfile/DocumentSave.h"

namespace {

using framework::IdCancel;
using framework::IdOk;
using Kind = PartKeyFrameCommand::Kind;

class PartKeyFrameCommandTest : public KeyFrameCommandTest {
protected:
    void OpenCharacter() {
        ASSERT_NO_FATAL_FAILURE(OpenText(batch_test::CharacterText()));
        body = context.currentModel->Root()->Children().at(0).Get();
        arm = body->Children().at(0).Get();
    }

    /// The Animation block of the saved file that drives `part`.
    static QString AnimationBlock(const std::string& path, const char* part) {
        QFile file(QString::fromStdString(path));
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        const QString text = QString::fromUtf8(file.readAll());
        for (const QString& block :
             text.split(QRegularExpression(QStringLiteral("\\n\\s*Animation\\s")))) {
            if (block.contains(QStringLiteral("{%1}").arg(QString::fromUtf8(part)))) {
                return block;
            }
        }
        return {};
    }

    static const batch_test::Snapshot::Part& PartOf(const batch_test::Snapshot& snapshot,
                                                    const char* name) {
        for (const auto& part : snapshot.parts) {
            if (part.name == name) {
                return part;
            }
        }
        static const batch_test::Snapshot::Part none;
        return none;
    }

    /// Runs the part-key command of `kind` once on the fixture's host and copy.
    int Run(PartKeyFrameCommand::Kind kind) {
        return PartKeyFrameCommand(host, kind, copied).Execute(context);
    }

    RecordingHost host{context};
    CopiedPartKeys copied;
};

/// Quaternions compared element by element.
void ExpectSameRotation(const rm::Quaternion& a, const rm::Quaternion& b, const char* what) {
    EXPECT_FLOAT_EQ(a.s, b.s) << what;
    EXPECT_FLOAT_EQ(a.v.x, b.v.x) << what;
    EXPECT_FLOAT_EQ(a.v.y, b.v.y) << what;
    EXPECT_FLOAT_EQ(a.v.z, b.v.z) << what;
}

TEST_F(PartKeyFrameCommandTest, EachCommandChangesOnlyTheSelectedPartsKeysInTheSavedFile) {
    using Snapshot = batch_test::Snapshot;
    const struct Row {
        const char* what;
        /// The part the edit works on, and the one whose block must stay as it was.
        const char* changed;
        const char* unchanged;
        std::function<void()> edit;
        std::function<void(const Snapshot::Part& before, const Snapshot::Part& after)> check;
    } rows[] = {
        {"delete the Arm's keys at 15", "Arm", "Body",
         [this] {
             host.selected = arm;
             GoTo(15);
             host.box.Push(IdOk);
             EXPECT_EQ(Run(Kind::DeleteKeys), 1);
         },
         [](const Snapshot::Part&, const Snapshot::Part& after) {
             EXPECT_EQ(after.keyTimes, (std::vector<float>{5, 5}));
         }},
        {"copy the Arm at 5, paste onto the Arm at 15", "Arm", "Body",
         [this] {
             host.selected = arm;
             GoTo(5);
             Run(Kind::CopyKeys);
             GoTo(15);
             host.box.Push(IdOk);
             EXPECT_EQ(Run(Kind::PasteKeys), 1);
         },
         [](const Snapshot::Part& before, const Snapshot::Part& after) {
             EXPECT_EQ(after.keyTimes, before.keyTimes);
             ASSERT_EQ(after.rotationKeys.size(), 2u);
             ExpectSameRotation(after.rotationKeys[1], before.rotationKeys[0], "rotation at 15");
             ASSERT_EQ(after.positionKeys.size(), 2u);
             EXPECT_FLOAT_EQ(after.positionKeys[1].z, batch_test::kArmPositions[0].z);
         }},
        {"copy the Arm at 5, paste onto the Body at 15", "Body", "Arm",
         [this] {
             host.selected = arm;
             GoTo(5);
             Run(Kind::CopyKeys);
             host.selected = body;
             GoTo(15);
             host.box.Push(IdOk);
             EXPECT_EQ(Run(Kind::PasteKeys), 1);
         },
         [](const Snapshot::Part& before, const Snapshot::Part& after) {
             // The Arm's kinds: its rotation replaces the Body's, its position is added.
             ASSERT_EQ(after.rotationKeys.size(), 2u);
             ExpectSameRotation(after.rotationKeys[0], before.rotationKeys[0], "rotation at 5");
             EXPECT_EQ(after.positionKeyTimes, (std::vector<float>{15}));
             ASSERT_EQ(after.positionKeys.size(), 1u);
             EXPECT_FLOAT_EQ(after.positionKeys[0].y, batch_test::kArmPositions[0].y);
         }},
        {"delete the Arm's position keys", "Arm", "Body",
         [this] {
             host.selected = arm;
             host.box.Push(IdOk);
             EXPECT_EQ(Run(Kind::DeletePositionKeys), 1);
         },
         [](const Snapshot::Part& before, const Snapshot::Part& after) {
             EXPECT_TRUE(after.positionKeys.empty());
             EXPECT_EQ(after.rotationKeys.size(), before.rotationKeys.size());
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_NO_FATAL_FAILURE(OpenCharacter());
        host.box.Clear();
        host.modified = 0;
        const std::string before = SaveCurrent("before.x");
        const Snapshot::Part changedBefore = PartOf(batch_test::CaptureFile(before), row.changed);
        row.edit();
        EXPECT_EQ(host.modified, 1);
        const std::string after = SaveCurrent("after.x");
        EXPECT_EQ(AnimationBlock(after, row.unchanged), AnimationBlock(before, row.unchanged));
        EXPECT_FALSE(AnimationBlock(after, row.unchanged).isEmpty());
        row.check(changedBefore, PartOf(batch_test::CaptureFile(after), row.changed));
        // The paste's copy of the other part is the Arm's own at 5, the rotation the Body
        // gets: check against the Arm in the file before.
        if (std::string(row.changed) == "Body") {
            const Snapshot::Part armBefore = PartOf(batch_test::CaptureFile(before), "Arm");
            const Snapshot::Part bodyAfter = PartOf(batch_test::CaptureFile(after), "Body");
            ASSERT_EQ(bodyAfter.rotationKeys.size(), 2u);
            ExpectSameRotation(bodyAfter.rotationKeys[1], armBefore.rotationKeys[0],
                               "the Body at 15 turns as the Arm at 5");
        }
        // One step of the history, and undoing it gives the file back.
        ASSERT_TRUE(host.history.CanUndo());
        host.history.Undo();
        QFile a(QString::fromStdString(before));
        QFile b(QString::fromStdString(SaveCurrent("undone.x")));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_EQ(a.readAll(), b.readAll());
        host.history.Clear(false);
    }
}

TEST_F(PartKeyFrameCommandTest, WithoutAPartOrAKeyOrWhenCancelledNothingChanges) {
    ASSERT_NO_FATAL_FAILURE(OpenCharacter());
    const struct Row {
        const char* what;
        rm::Frame** selected;
        float time;
        std::function<int()> run;
        int answer;
        const char* text;
        const char* caption;
    } rows[] = {
        {"delete, no part", nullptr, 5, [this] { return Run(Kind::DeleteKeys); }, 0,
         "キーを削除するパーツを選択後、\nボタンを押してください。", "Delete Parts Key Frame"},
        {"delete, no key at 10", &arm, 10, [this] { return Run(Kind::DeleteKeys); }, 0,
         "パーツ \"Arm\" の Time \"10\" にはキーが存在しません。", "Delete Parts Key Frame"},
        {"delete, cancelled", &arm, 5, [this] { return Run(Kind::DeleteKeys); }, IdCancel,
         "パーツ \"Arm\" の Time \"5\" のキーを削除します。", "Delete Parts Key Frame"},
        {"copy, no part", nullptr, 5, [this] { return Run(Kind::CopyKeys); }, 0,
         "キーをコピーするパーツを選択後、\nボタンを押してください。", "Copy Parts Key Frame"},
        {"paste, nothing copied", &arm, 5, [this] { return Run(Kind::PasteKeys); }, 0,
         "ペーストを行う前に、コピーしたいパーツのキーを\nコピーボタンで選択してください。",
         "Paste Parts Key Frame"},
        {"delete position keys, no part", nullptr, 5,
         [this] { return Run(Kind::DeletePositionKeys); }, 0,
         "ポジションキーを削除するパーツを選択後、\nボタンを押してください。",
         "Delete Position Key"},
        {"delete position keys, cancelled", &arm, 5,
         [this] { return Run(Kind::DeletePositionKeys); }, IdCancel,
         "パーツ \"Arm\" のすべてのポジション(位置)キーを削除し、\nアニメーションをモデルのサイズに"
         "依存しないようにします。",
         "Delete Position Key"},
    };
    const std::string before = SaveCurrent("before.x");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        host.box.Clear();
        if (row.answer != 0) {
            host.box.Push(row.answer);
        }
        host.selected = row.selected != nullptr ? *row.selected : nullptr;
        GoTo(row.time);
        EXPECT_EQ(row.run(), 0);
        ASSERT_EQ(host.box.Asked().size(), 1u);
        EXPECT_EQ(host.box.Asked()[0].text, QString::fromUtf8(row.text));
        EXPECT_EQ(host.box.Asked()[0].caption, QString::fromUtf8(row.caption));
        EXPECT_EQ(batch_test::CaptureFile(SaveCurrent("after.x")).parts[1].keyTimes,
                  batch_test::CaptureFile(before).parts[1].keyTimes);
    }
    EXPECT_EQ(host.modified, 0);
    EXPECT_FALSE(host.history.CanUndo());
}

} // namespace

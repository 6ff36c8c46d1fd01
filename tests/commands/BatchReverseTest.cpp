// "Reverse Rotate, Position, Scale" on the sample walker, looked at as a user would: the
// saved file opened again and played.

#include <cmath>
#include <string>
#include <vector>

#include <QFile>
#include <gtest/gtest.h>

#include "commands/BatchCommand.h"
#include "commands/CommandFixture.h"
#include "commands/ScriptedBatchHost.h"
#include "session/KeyTimeRules.h"
#include "support/BatchTestFiles.h"
#include "support/ScriptedBoxTexts.h"
#include "xfile/DocumentSave.h"

namespace {

using framework::IdCancel;
using framework::IdOk;

/// Every part's posed local matrix, parts in depth-first order.
using Pose = std::vector<rm::Matrix4>;

void CollectPose(rm::Frame* frame, Pose* pose) {
    for (const auto& child : frame->Children()) {
        pose->push_back(child->LocalTransform());
        CollectPose(child.Get(), pose);
    }
}

class BatchReverseTest : public CommandFixture {
protected:
    void OpenWalker() {
        ASSERT_NO_FATAL_FAILURE(OpenAsDocument(QStringLiteral(PAVRIX_SAMPLES_DIR "/walker.x")));
        context.currentAnimation->UpdateTotalKeyTimeBuffer();
        first = FirstKeyTime(context.currentAnimation);
        last = LastKeyTime(context.currentAnimation);
        ASSERT_LT(first, last);
    }

    static QByteArray Bytes(const std::string& path) {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    /// The times the poses are compared at: every unit and every half unit between the
    /// first and the last key time, so both keys and the spans between them are seen.
    std::vector<float> Times() const {
        std::vector<float> times;
        for (float t = first; t <= last; t += 0.5f) {
            times.push_back(t);
        }
        return times;
    }

    /// The poses of the file's character at `times`, played as the editor plays it.
    static std::vector<Pose> PosesOfFile(const std::string& path, const std::vector<float>& times) {
        std::vector<Pose> poses;
        EXPECT_TRUE(batch_test::LookAtFile(path, [&](const scene::SceneDocument& doc) {
            for (const float t : times) {
                PoseAnimation(doc.currentAnimation, t);
                Pose pose;
                CollectPose(doc.currentModel->Root(), &pose);
                poses.push_back(pose);
            }
        }));
        return poses;
    }

    ScriptedBatchHost host{context};
    float first = 0;
    float last = 0;
};

TEST_F(BatchReverseTest, TheReversedWalkerAtTPosesAsTheOriginalAtFirstPlusLastMinusT) {
    ASSERT_NO_FATAL_FAILURE(OpenWalker());
    const std::vector<float> times = Times();
    std::vector<float> mirrored;
    for (const float t : times) {
        mirrored.push_back(first + last - t);
    }
    const std::vector<Pose> original = PosesOfFile(SaveCurrent("plain.x"), mirrored);

    host.box.Push(IdOk);
    ASSERT_EQ(BatchCommand(host, BatchCommand::Kind::ReverseRotatePositionScale).Execute(context),
              CommandResult::Changed);
    ASSERT_EQ(host.box.Asked().size(), 2u);
    EXPECT_EQ(host.box.Asked()[0].caption, QStringLiteral("Reverse Rotate, Position, Scale"));
    EXPECT_EQ(host.box.Asked()[0].style, 49u) << "an OK/Cancel warning, as the batch commands";
    EXPECT_EQ(host.box.Asked()[1].text, QStringLiteral("反転完了。"));
    EXPECT_EQ(host.modified, 1);
    EXPECT_FLOAT_EQ(FirstKeyTime(context.currentAnimation), first) << "the span stays";
    EXPECT_FLOAT_EQ(LastKeyTime(context.currentAnimation), last);

    const std::vector<Pose> reversed = PosesOfFile(SaveCurrent("reversed.x"), times);
    ASSERT_EQ(reversed.size(), original.size());
    for (std::size_t i = 0; i < times.size(); ++i) {
        ASSERT_EQ(reversed[i].size(), original[i].size());
        ASSERT_FALSE(reversed[i].empty());
        for (std::size_t part = 0; part < reversed[i].size(); ++part) {
            for (int r = 0; r < 4; ++r) {
                for (int c = 0; c < 4; ++c) {
                    EXPECT_NEAR(reversed[i][part].m[r][c], original[i][part].m[r][c], 1e-4f)
                        << "part " << part << " at t " << times[i] << " [" << r << "][" << c << "]";
                }
            }
        }
    }
}

TEST_F(BatchReverseTest, ReversingTwiceThroughASavedFileGivesTheOriginalBytes) {
    ASSERT_NO_FATAL_FAILURE(OpenWalker());
    const QByteArray plain = Bytes(SaveCurrent("plain.x"));
    host.box.Push(IdOk);
    BatchCommand(host, BatchCommand::Kind::ReverseRotatePositionScale).Execute(context);
    const std::string once = SaveCurrent("once.x");
    EXPECT_NE(Bytes(once), plain);

    ASSERT_NO_FATAL_FAILURE(OpenAsDocument(QString::fromStdString(once)));
    context.currentAnimation->UpdateTotalKeyTimeBuffer();
    host.box.Push(IdOk);
    BatchCommand(host, BatchCommand::Kind::ReverseRotatePositionScale).Execute(context);
    EXPECT_EQ(Bytes(SaveCurrent("twice.x")), plain);
}

TEST_F(BatchReverseTest, CancelledOrWithoutKeysNothingChanges) {
    ASSERT_NO_FATAL_FAILURE(OpenWalker());
    const QByteArray plain = Bytes(SaveCurrent("plain.x"));
    host.box.Push(IdCancel);
    EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::ReverseRotatePositionScale).Execute(context),
              CommandResult::Cancelled);
    EXPECT_EQ(Bytes(SaveCurrent("cancelled.x")), plain);
    EXPECT_EQ(host.modified, 0);

    // A set without keys has nothing to reverse: the file stays as it was.
    ASSERT_NO_FATAL_FAILURE(
        OpenAsDocument(shell_test::WriteCharacter(dir.path(), QStringLiteral("bare.x"), {})));
    const QByteArray bare = Bytes(SaveCurrent("bare-before.x"));
    host.box.Push(IdOk);
    EXPECT_EQ(BatchCommand(host, BatchCommand::Kind::ReverseRotatePositionScale).Execute(context),
              CommandResult::Refused);
    EXPECT_EQ(Bytes(SaveCurrent("bare-after.x")), bare);
}

} // namespace

// The model's rest pose and the pose shown, through the window and saved files: stepping
// and posing never reach the saved FrameTransformMatrix blocks, the first drag starts from
// the pose shown, a Parent-Child drag edits the model and Ctrl+Z takes it back.

#include <cstring>
#include <string>
#include <vector>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "platform/framework/MessageBoxCodes.h"
#include "view/InteractionFixture.h"

namespace {

namespace ids = resources::ids;

class RestPoseTest : public InteractionFixture {
protected:
    void SetUp() override {
        InteractionFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        walker = dir.filePath(QStringLiteral("walker.x")).toStdString();
        ASSERT_TRUE(QFile::copy(QString::fromStdString(shell_test::SampleWalker()),
                                QString::fromStdString(walker)));
    }

    /// File Save As `name` in the test folder; the file's FrameTransformMatrix blocks.
    std::vector<std::string> SaveAs(const char* name) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        ui.fileDialog.Choose(path);
        EXPECT_EQ(frame->OnCommand(ids::FileSaveAs, framework::CommandSource::Menu), 1);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(file.readAll());
        static const QRegularExpression block(
            QStringLiteral(R"(FrameTransformMatrix\s*\{[^}]*\})"));
        std::vector<std::string> blocks;
        for (const QRegularExpressionMatch& match : block.globalMatch(text)) {
            blocks.push_back(match.captured().toStdString());
        }
        return blocks;
    }

    static bool Same(const rm::Matrix4& a, const rm::Matrix4& b) {
        return std::memcmp(&a, &b, sizeof a) == 0;
    }

    /// Rotation key 0 of the part's animation (w, x, y, z).
    static rm::Quaternion Key0(rm::Frame* part) {
        const auto keys = KeysAt(part, 0, rm::D3DRMANIMATION_ROTATEKEY);
        EXPECT_EQ(keys.size(), 1u);
        return keys.empty() ? rm::Quaternion{} : keys[0].dqRotateKey;
    }

    QTemporaryDir dir;
    std::string walker;
};

TEST_F(RestPoseTest, SavesAfterSteppingAndPosingWriteTheModelsRestPose) {
    Open(walker);
    const std::vector<std::string> rest = SaveAs("rest.x");
    ASSERT_EQ(rest.size(), 13u);
    Open(walker);
    rm::Frame* arm = Part("UpperArm_L");
    ASSERT_NE(arm, nullptr);
    Click(PointOf(arm));
    ASSERT_EQ(Context().selection.Part(), arm);
    for (int i = 0; i < 3; ++i) {
        Key(Qt::Key_Right);
    }
    Drag(Qt::LeftButton, PointOf(arm), QPoint(0, -20));
    ASSERT_FALSE(arm->IsAtRest()); // what is shown is the pose, not the model
    EXPECT_EQ(SaveAs("stepped.x"), rest);

    // Without position keys the parts stand where the model puts them.
    rm::Frame* hips = Part("Hips");
    ASSERT_NE(hips, nullptr);
    ASSERT_NE(hips->LocalTransform().m[3][1], hips->GetRestTransform().m[3][1]);
    ui.messageBox.Push(framework::IdOk);
    ui.messageBox.Push(framework::IdOk);
    ASSERT_EQ(frame->OnCommand(ids::DeleteAllPositionKey, framework::CommandSource::Menu), 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(hips->LocalTransform().m[3][i], hips->GetRestTransform().m[3][i]) << i;
    }
    EXPECT_EQ(SaveAs("no-positions.x"), rest);
}

TEST_F(RestPoseTest, TheFirstDragAfterTheOpenStartsFromThePoseShown) {
    Open(walker);
    rm::Frame* arm = Part("UpperArm_L");
    ASSERT_NE(arm, nullptr);
    const rm::Quaternion key0 = Key0(arm);
    ASSERT_GT(std::abs(key0.v.z), 0.05f); // the roll the sample gives the arm at time 0
    rm::Quaternion shown;
    arm->GetQuaternion(arm->GetParent(), &shown);
    EXPECT_NEAR(std::abs(shown.v.z), std::abs(key0.v.z), 1e-4f);

    Click(PointOf(arm));
    Drag(Qt::LeftButton, PointOf(arm), QPoint(0, -8));
    SaveAs("turned.x");
    Open(dir.filePath(QStringLiteral("turned.x")).toStdString());
    const rm::Quaternion turned = Key0(Part("UpperArm_L"));
    EXPECT_NE(turned.v.x, key0.v.x); // the drag turned it
    EXPECT_NEAR(turned.v.z * (turned.s < 0 ? -1 : 1), key0.v.z * (key0.s < 0 ? -1 : 1), 0.02f);
}

TEST_F(RestPoseTest, AParentChildDragEditsTheModelAndUndoTakesItBack) {
    Open(walker);
    const std::vector<std::string> rest = SaveAs("rest.x");
    Open(walker);
    rm::Frame* arm = Part("UpperArm_L");
    ASSERT_NE(arm, nullptr);
    const rm::Matrix4 restBefore = arm->GetRestTransform();
    const rm::Matrix4 poseBefore = arm->LocalTransform();
    const auto keysBefore = CPartRecord::Of(arm)->animation->Keys();
    Click(PointOf(arm));
    Context().operationMode = session::OperationMode::ParentChild;
    Key(Qt::Key_Right);
    Drag(Qt::LeftButton, PointOf(arm), QPoint(0, -20));
    EXPECT_FALSE(Same(arm->GetRestTransform(), restBefore));
    // The arm's rotation is keyed: the keys keep it, at every time.
    EXPECT_EQ(CPartRecord::Of(arm)->animation->Keys().size(), keysBefore.size());
    const std::vector<std::string> edited = SaveAs("edited.x");
    ASSERT_EQ(edited.size(), rest.size());
    int differing = 0;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        differing += edited[i] != rest[i] ? 1 : 0;
    }
    EXPECT_EQ(differing, 1);

    ASSERT_EQ(frame->OnCommand(ids::EditUndo, framework::CommandSource::Menu), 1);
    EXPECT_TRUE(Same(arm->GetRestTransform(), restBefore));
    Key(Qt::Key_Left);
    EXPECT_TRUE(Same(arm->LocalTransform(), poseBefore));
    EXPECT_EQ(SaveAs("undone.x"), rest);
}

} // namespace

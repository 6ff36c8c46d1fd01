// One editing session through the window, as a person works: add a key, pose the part,
// delete a key, copy and paste, change a key length, save, open the file again.

#include <vector>

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include "app/BarControlIds.h"
#include "app/TestCharacters.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/ToolBar.h"
#include "platform/framework/TrackBar.h"
#include "support/RmMatchers.h"
#include "view/InteractionFixture.h"

namespace {

using framework::IdOk;
using framework::IdYes;
using testing_rm::RotationNear;
namespace ids = resources::ids;

class EditingSequenceTest : public InteractionFixture {
protected:
    void Press(framework::ToolBar* bar, framework::CommandId id) {
        QAction* action = bar->GetAction(id);
        ASSERT_NE(action, nullptr) << id;
        action->trigger();
    }

    static std::vector<float> Times(rm::Frame* part, std::uint32_t type) {
        std::vector<float> times;
        const CPartRecord* record = CPartRecord::Of(part);
        if (record != nullptr && record->animation != nullptr) {
            for (const auto& key : record->animation->Keys()) {
                if (key.dwKeyType == type) {
                    times.push_back(key.dvTime);
                }
            }
        }
        return times;
    }
};

TEST_F(EditingSequenceTest, TheSavedFileHoldsExactlyTheKeysTheEditsMade) {
    QTemporaryDir dir;
    const QString path =
        shell_test::WriteCharacter(dir.path(), QStringLiteral("walk.x"), {0, 10, 20});
    Open(path.toStdString());
    rm::Frame* arm = Part("Arm");
    rm::Frame* body = Part("Body");
    ASSERT_NE(arm, nullptr);
    constexpr auto kRotation = rm::D3DRMANIMATION_ROTATEKEY;

    // Time 5 on the slider, the Arm picked, "Add Key Frame": OK, then the notice.
    auto* slider = qobject_cast<framework::TrackBar*>(Bar().GetDlgItem(ctl::TimeSlider));
    slider->setValue(5);
    slider->onReleasedCapture();
    Click(PointOf(arm));
    ASSERT_EQ(Context().selection.Part(), arm);
    ui.messageBox.Push(IdOk);
    ui.messageBox.Push(IdOk);
    Press(frame->GetAnimationToolBar(), ids::AddKeyFrame);
    ASSERT_EQ(Times(arm, kRotation), (std::vector<float>{0, 5, 10, 20}));

    // Pose the Arm: its key at 5 takes the new orientation.
    Drag(Qt::LeftButton, PointOf(arm), QPoint(18, -12));
    rm::Quaternion posed;
    arm->GetQuaternion(arm->GetParent(), &posed);

    // Delete the key time 10 (Right: the next key).
    Key(Qt::Key_Right);
    ASSERT_EQ(Context().keyTime, 10u);
    ui.messageBox.Push(IdOk);
    ui.messageBox.Push(IdOk);
    Press(frame->GetMainToolBar(), ids::DeleteKeyFrame);

    // Copy 5, paste onto 20: the Arm's pose, and the Body's key at 20 goes (it has none
    // at 5).
    Key(Qt::Key_Left);
    Key(Qt::Key_Right);
    ASSERT_EQ(Context().keyTime, 5u);
    Press(frame->GetMainToolBar(), ids::CopyKeyFrame);
    Key(Qt::Key_Right);
    ASSERT_EQ(Context().keyTime, 20u);
    ui.messageBox.Push(IdOk);
    Press(frame->GetMainToolBar(), ids::PasteKeyFrame);

    // From 5 the next key time is 15 units on; make it 10.
    Key(Qt::Key_Left);
    ASSERT_EQ(Context().keyTime, 5u);
    ASSERT_EQ(Bar().GetDlgItemText(ctl::Length), QStringLiteral("15"));
    Bar().SetDlgItemText(ctl::Length, QStringLiteral("10"));
    ui.messageBox.Push(IdYes);
    Bar().ClickButton(ctl::ChangeLength);
    EXPECT_EQ(ui.messageBox.PendingAnswers(), 0);
    EXPECT_EQ(ui.messageBox.UnscriptedCount(), 0);

    // Save with the part still selected, and open the file again.
    ASSERT_NE(Context().selection.Part(), nullptr);
    ASSERT_EQ(frame->OnCommand(ids::FileSave, framework::CommandSource::Menu), 1);
    Open(path.toStdString());
    arm = Part("Arm");
    body = Part("Body");
    EXPECT_EQ(Times(arm, kRotation), (std::vector<float>{0, 5, 15}));
    EXPECT_EQ(Times(body, kRotation), std::vector<float>{0});
    for (std::uint32_t other : {rm::D3DRMANIMATION_SCALEKEY, rm::D3DRMANIMATION_POSITIONKEY}) {
        EXPECT_TRUE(Times(arm, other).empty());
        EXPECT_TRUE(Times(body, other).empty());
    }
    const auto& keys = CPartRecord::Of(arm)->animation->Keys();
    EXPECT_THAT(keys[0].dqRotateKey, RotationNear(rm::Quaternion{}, 1e-5f));
    EXPECT_THAT(keys[1].dqRotateKey, RotationNear(posed, 1e-5f));
    EXPECT_THAT(keys[2].dqRotateKey, RotationNear(posed, 1e-5f));

    // The selection box was not written with the Arm.
    EXPECT_EQ(arm->Visuals().size(), 1u);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("Mesh {"), 2);
}

} // namespace

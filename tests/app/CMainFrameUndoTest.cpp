// Undo and redo through the editor as a user works it: every editing command and drag is
// done, saved, undone, saved, redone and saved, and the files are compared byte for byte;
// long random runs of edits are taken back whole and made again; the modified flag and the
// Edit menu follow the history.

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/BarControlIds.h"
#include "app/KeyTimeRules.h"
#include "app/ProgramState.h"
#include "app/ShellFixture.h"
#include "commands/UndoHistory.h"
#include "dialogs/CModelScaleDialog.h"
#include "dialogs/CPartKeyDialog.h"
#include "dialogs/CPositionKeyScaleDialog.h"
#include "platform/framework/Document.h"
#include "platform/framework/MessageBoxCodes.h"
#include "resources/CommandIds.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "scene/CPartRecord.h"

namespace {

using framework::Dialog;
using framework::IdOk;
using shell_test::ShellFixture;
namespace ids = resources::ids;

class UndoTest : public ShellFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(Start());
    }

    int Menu(framework::CommandId id) {
        return frame->OnCommand(id, framework::CommandSource::Menu);
    }
    bool Open(const QString& path) {
        ui.fileDialog.Choose(path);
        return Menu(ids::FileOpen) == 1 && g_currentAnimation != nullptr;
    }
    framework::Document& Document() { return *frame->GetActiveDocument(); }
    UndoHistory& History() { return *frame->History(); }

    /// Saves the document (its path name stays) and returns the file's bytes.
    QByteArray Save() {
        const QString path = dir.filePath(QStringLiteral("save%1.x").arg(++saves));
        EXPECT_EQ(Document().DoSave(path, 0), 1);
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    /// Moves the time as the animation bar does.
    void GoTo(float time) {
        g_currentTime = time;
        g_keyTime = ToKeyTime(time);
        frame->PoseCurrentAnimation(time);
        frame->RefreshTimeDisplay();
    }
    float KeyTime(int index) const { return g_currentAnimation->KeyTime(index); }
    int KeyTimeCount() const { return static_cast<int>(g_currentAnimation->KeyTimeCount()); }

    /// The frame at `index` of the current model, depth first (root 0), selected.
    rm::Frame* Select(int index) {
        rm::Frame* part = ViewInteraction::FrameAt(g_currentModel->Root(), index);
        view->Interaction().SelectPart(part, nullptr);
        return part;
    }
    /// A left drag with `function` in `mode`: press (after the pick), three moves, release.
    void Drag(int mode, int function, int dx, int dy) {
        g_operationMode = mode;
        g_mouseFunction = function;
        ViewInteraction& interaction = view->Interaction();
        interaction.BeginDrag();
        ViewInteraction::Mouse mouse;
        mouse.left = true;
        mouse.point = QPoint(100, 100);
        for (int step = 0; step < 3; ++step) {
            interaction.MouseMove(mouse);
            mouse.point += QPoint(dx, dy);
        }
        interaction.LeftButtonUp();
        g_operationMode = 1;
    }
    QTemporaryDir dir;
    int saves = 0;
};

/// Factors typed into a scale dialog's three edits, then OK.
std::function<void(Dialog&)> TypeFactors(int firstEdit, const char* x, const char* y,
                                         const char* z, int check = 0) {
    return [=](Dialog& dialog) {
        dialog.SetDlgItemText(firstEdit, QString::fromLatin1(x));
        dialog.SetDlgItemText(firstEdit + 1, QString::fromLatin1(y));
        dialog.SetDlgItemText(firstEdit + 2, QString::fromLatin1(z));
        if (check != 0) {
            dialog.ClickButton(check);
        }
        dialog.ClickButton(IdOk);
    };
}

TEST_F(UndoTest, EveryEditUndoneSavesTheFileBeforeItAndRedoneTheFileAfterIt) {
    const QString walker = QString::fromStdString(shell_test::SampleWalker());
    const struct {
        const char* what;
        std::function<void()> setUp;  // before the first save: navigation, other edits
        std::function<void()> edit;   // the one step
    } rows[] = {
        {"add key", [this] { GoTo(std::floor((KeyTime(0) + KeyTime(1)) / 2) + 0.5f); },
         [this] {
             Select(3);
             Menu(ids::AddKeyFrame);
         }},
        {"add last key", [] {}, [this] { Menu(ids::AddLastKeyFrame); }},
        {"delete key", [this] { GoTo(KeyTime(1)); }, [this] { Menu(ids::DeleteKeyFrame); }},
        {"paste key",
         [this] {
             GoTo(KeyTime(1));
             Menu(ids::CopyKeyFrame);
             GoTo(KeyTime(0));
         },
         [this] { Menu(ids::PasteKeyFrame); }},
        {"change key length", [this] { GoTo(KeyTime(0)); },
         [this] {
             Bar().SetDlgItemText(ctl::Length, QStringLiteral("3"));
             Menu(ctl::ChangeLength);
         }},
        {"part key dialog", [] {},
         [this] {
             Select(3);
             ui.dialogRunner.Push([](Dialog& dialog) {
                 dialog.ClickButton(CPartKeyDialog::OpenRadio);
                 dialog.ClickButton(CPartKeyDialog::SplineRadio);
                 dialog.SetDlgItemText(CPartKeyDialog::PartTypeNameEdit, QStringLiteral("Elbow"));
                 dialog.ClickButton(IdOk);
             });
             Menu(ids::EditPartsAnimationKey);
         }},
        {"model scale", [] {},
         [this] {
             ui.dialogRunner.Push(TypeFactors(CModelScaleDialog::ScaleXEdit, "2", "0.5", "3",
                                              CModelScaleDialog::PositionKeysCheck));
             Menu(ids::ChangeModelScale);
         }},
        {"position key scale", [] {},
         [this] {
             ui.dialogRunner.Push(
                 TypeFactors(CPositionKeyScaleDialog::ScaleXEdit, "2", "-1", "0.25"));
             Menu(ids::ChangeAllPositionKeyScale);
         }},
        {"delete all position keys", [] {}, [this] { Menu(ids::DeleteAllPositionKey); }},
        {"pace", [] {}, [this] { Menu(ids::ChangeAnimationPace); }},
        {"first key to zero",
         [this] {
             GoTo(KeyTime(0));
             Menu(ids::DeleteKeyFrame);
         },
         [this] { Menu(ids::MoveFirstKeyTimeZero); }},
        {"reset orientation", [this] { GoTo(KeyTime(1)); },
         [this] { Menu(ids::ResetOrientation); }},
        {"turn drag", [] {},
         [this] {
             Select(5);
             Drag(1, 2, 7, -4);
         }},
        {"part move drag (parent-child)", [] {},
         [this] {
             Select(2);
             Drag(0, 1, 3, 5);
         }},
        {"re-parent", [] {},
         [this] {
             g_operationMode = 0;
             Select(4);
             view->Interaction().Reparent(ViewInteraction::FrameAt(g_currentModel->Root(), 8));
             g_operationMode = 1;
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(Open(walker));
        row.setUp();
        const QByteArray before = Save();
        const int steps = History().Count();
        row.edit();
        EXPECT_EQ(History().Count(), steps + 1) << "one step";
        const QByteArray edited = Save();
        EXPECT_NE(edited, before) << "the edit changed nothing";
        ASSERT_EQ(Menu(ids::EditUndo), 1);
        EXPECT_TRUE(Save() == before);
        ASSERT_EQ(Menu(ids::EditRedo), 1);
        EXPECT_TRUE(Save() == edited);
    }
}

} // namespace

// Undo and redo through the editor as a user works it: every editing command and drag is
// done, saved, undone, saved, redone and saved, and the files are compared byte for byte;
// long random runs of edits are taken back whole and made again; the modified flag and the
// Edit menu follow the history.

#include <cmath>
#include <functional>
#include <iostream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/BarControlIds.h"
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
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"

namespace {

using framework::Dialog;
using framework::IdOk;
namespace ids = resources::ids;

class UndoTest : public shell_test::ShellFixture {
protected:
    void SetUp() override { ASSERT_TRUE(StartWith(dir)); }

    bool Open(const QString& path) {
        return OpenFile(path) == 1 && Context().currentAnimation != nullptr;
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
        Context().currentTime = time;
        Context().keyTime = ToKeyTime(time);
        frame->PoseCurrentAnimation(time);
        frame->RefreshTimeDisplay();
    }
    float KeyTime(int index) const { return Context().currentAnimation->KeyTime(index); }
    int KeyTimeCount() const {
        return static_cast<int>(Context().currentAnimation->KeyTimeCount());
    }

    /// The frame at `index` of the current model, depth first (root 0), selected.
    rm::Frame* Select(int index) {
        rm::Frame* part = ViewInteraction::FrameAt(Context().currentModel->Root(), index);
        // A bone without a mesh of its own cannot be picked; the commands take it all the
        // same (the part key dialog renames the skin's bones with it).
        if (!view->Interaction().SelectPart(part, nullptr)) {
            Context().SetSelectedPart(part);
        }
        return part;
    }
    /// A left drag with `function` in `mode`: press (after the pick), three moves, release.
    void Drag(int mode, int function, int dx, int dy) {
        Context().operationMode = mode;
        Context().mouseFunction = function;
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
        Context().operationMode = 1;
    }
    void RandomEdit(std::mt19937& rng, bool first);

    QTemporaryDir dir;
    int saves = 0;
    int renames = 0;
};

/// Factors typed into a scale dialog's three edits, then OK.
std::function<void(Dialog&)> TypeFactors(int firstEdit, const char* x, const char* y, const char* z,
                                         int check = 0) {
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
        std::function<void()> setUp; // before the first save: navigation, other edits
        std::function<void()> edit;  // the one step
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
        // The model's orientation is what it resets: a Parent-Child turn gives it one.
        {"reset orientation",
         [this] {
             GoTo(KeyTime(1));
             Select(5);
             Drag(0, 2, 7, -4);
             Context().operationMode = 1;
         },
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
             Context().operationMode = 0;
             Select(4);
             view->Interaction().Reparent(
                 ViewInteraction::FrameAt(Context().currentModel->Root(), 8));
             Context().operationMode = 1;
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

/// One random edit of the current character through the menu, the dialogs and the view;
/// the first only scales the model, so the history starts where the file was opened.
void UndoTest::RandomEdit(std::mt19937& rng, bool first) {
    const auto pick = [&rng](int n) {
        return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng);
    };
    const auto anyPart = [&] {
        return pick(ViewInteraction::CountFrames(Context().currentModel->Root()) - 1) + 1;
    };
    const auto anyKey = [&] { GoTo(KeyTime(pick(KeyTimeCount()))); };
    static const char* const kFactors[] = {"2", "0.5", "1.5", "-1", "0.25"};
    const auto factor = [&] { return kFactors[pick(5)]; };
    // Commands that need no more than the menu: at the current time or at a key time, some
    // of them seldom (a pace doubles every key time).
    static const struct {
        framework::CommandId id;
        bool atAKey;
        int oneIn;
    } kPlain[] = {
        {ids::AddLastKeyFrame, false, 1},      {ids::DeleteKeyFrame, true, 1},
        {ids::MoveFirstKeyTimeZero, false, 1}, {ids::ResetOrientation, true, 1},
        {ids::DeleteAllPositionKey, false, 4}, {ids::ChangeAnimationPace, false, 4},
    };
    constexpr int kPlainCount = static_cast<int>(std::size(kPlain));
    const int choice = first ? 3 : pick(kPlainCount + 11);
    if (choice >= 11) {
        const auto& plain = kPlain[choice - 11];
        if (pick(plain.oneIn) == 0 && (plain.id != ids::DeleteKeyFrame || KeyTimeCount() > 3)) {
            if (plain.atAKey) {
                anyKey();
            }
            Menu(plain.id);
        }
        return;
    }
    switch (choice) {
    case 0: {
        const int time = pick(static_cast<int>(KeyTime(KeyTimeCount() - 1)) + 10);
        GoTo(static_cast<float>(time));
        Select(anyPart());
        Menu(ids::AddKeyFrame);
        break;
    }
    case 1:
        anyKey();
        Menu(ids::CopyKeyFrame);
        anyKey();
        Menu(ids::PasteKeyFrame);
        break;
    case 2:
        GoTo(KeyTime(pick(KeyTimeCount() - 1)));
        Bar().SetDlgItemText(ctl::Length, QString::number(pick(12) + 1));
        Menu(ctl::ChangeLength);
        break;
    case 3:
        ui.dialogRunner.Push(TypeFactors(CModelScaleDialog::ScaleXEdit, factor(), factor(),
                                         factor(),
                                         pick(2) ? CModelScaleDialog::PositionKeysCheck : 0));
        Menu(ids::ChangeModelScale);
        break;
    case 4:
        ui.dialogRunner.Push(
            TypeFactors(CPositionKeyScaleDialog::ScaleXEdit, factor(), factor(), factor()));
        Menu(ids::ChangeAllPositionKeyScale);
        break;
    case 5: {
        Select(anyPart());
        const int option = pick(4);
        const QString name = pick(3) == 0 ? QStringLiteral("Part%1").arg(++renames) : QString();
        ui.dialogRunner.Push([option, name](Dialog& dialog) {
            static const int kOptions[] = {CPartKeyDialog::OpenRadio, CPartKeyDialog::CloseRadio,
                                           CPartKeyDialog::SplineRadio,
                                           CPartKeyDialog::PositionCheck};
            dialog.ClickButton(kOptions[option]);
            if (!name.isEmpty()) {
                dialog.SetDlgItemText(CPartKeyDialog::PartTypeNameEdit, name);
            }
            dialog.ClickButton(IdOk);
        });
        Menu(ids::EditPartsAnimationKey);
        break;
    }
    case 6:
    case 7:
        anyKey();
        Select(anyPart());
        Drag(1, pick(2) + 1, pick(21) - 10, pick(21) - 10);
        break;
    case 8:
        Select(anyPart());
        Drag(0, pick(2) + 1, pick(21) - 10, pick(21) - 10);
        break;
    case 9:
        Context().operationMode = 0;
        Select(anyPart());
        view->Interaction().Reparent(
            ViewInteraction::FrameAt(Context().currentModel->Root(), anyPart()));
        Context().operationMode = 1;
        break;
    default:
        Drag(1, 0, pick(21) - 10, pick(21) - 10);
        break;
    }
}

TEST_F(UndoTest, HundredsOfRandomEditsTakenBackAndMadeAgainGiveBothSavesBackByteForByte) {
    const QString epileptic = QStringLiteral(PAVRIX_TESTDATA_DIR "/x/BCN_Epileptic.X");
    for (const QString& path : {QString::fromStdString(shell_test::SampleWalker()), epileptic}) {
        SCOPED_TRACE(path.toStdString());
        if (!QFile::exists(path)) {
            std::cout << "no test data at " << path.toStdString() << ", skipped\n";
            continue;
        }
        ASSERT_TRUE(Open(path));
        History().SetLimits(1000, std::size_t(1) << 34);
        const QByteArray opened = Save();
        std::mt19937 rng(14);
        int edits = 0;
        for (int tries = 0; edits < 200 && tries < 2000; ++tries) {
            const int steps = History().Count();
            RandomEdit(rng, tries == 0);
            edits += History().Count() - steps;
        }
        ASSERT_GE(edits, 200);
        const QByteArray edited = Save();
        EXPECT_NE(edited, opened);
        std::set<QString> kinds;
        for (int i = 0; i < History().Count(); ++i) {
            kinds.insert(History().Stack().text(i));
        }
        EXPECT_GE(kinds.size(), 14u) << "every kind of edit in the run";
        while (History().CanUndo()) {
            Menu(ids::EditUndo);
        }
        EXPECT_TRUE(Save() == opened);
        while (History().CanRedo()) {
            Menu(ids::EditRedo);
        }
        EXPECT_TRUE(Save() == edited);
    }
}

TEST_F(UndoTest, TheModifiedFlagAndTheEditMenuFollowTheHistory) {
    ASSERT_TRUE(Open(QString::fromStdString(shell_test::SampleWalker())));
    const auto menu = [this](framework::CommandId id) {
        frame->UpdateAllMenuItems();
        const QAction* action = frame->GetMenuAction(id);
        return (action->isEnabled() ? "+" : "-") + action->text().toStdString();
    };
    const auto state = [&] {
        return std::vector<std::string>{std::to_string(Document().IsModified()),
                                        menu(ids::EditUndo), menu(ids::EditRedo)};
    };
    using Row = std::vector<std::string>;
    EXPECT_EQ(state(), (Row{"0", "-元に戻す(&U)\tCtrl+Z", "-やり直し(&R)\tCtrl+Y"}));

    GoTo(std::floor(KeyTime(0)) + 1.0f);
    Select(3);
    Menu(ids::AddKeyFrame);
    Menu(ids::ChangeAnimationPace);
    EXPECT_EQ(state(), (Row{"1", "+元に戻す(&U): アニメーションのペースの変更\tCtrl+Z",
                            "-やり直し(&R)\tCtrl+Y"}));
    EXPECT_EQ(frame->GetMenuAction(ids::EditUndo)->statusTip().toStdString(),
              "元に戻す: アニメーションのペースの変更");
    Menu(ids::EditUndo);
    EXPECT_EQ(state(), (Row{"1", "+元に戻す(&U): キーの追加\tCtrl+Z",
                            "+やり直し(&R): アニメーションのペースの変更\tCtrl+Y"}));
    Menu(ids::EditUndo); // back to the file as opened
    EXPECT_EQ(state(), (Row{"0", "-元に戻す(&U)\tCtrl+Z", "+やり直し(&R): キーの追加\tCtrl+Y"}));
    Menu(ids::EditRedo);
    EXPECT_EQ(state()[0], "1");
    Save();
    EXPECT_EQ(state()[0], "0");
    Menu(ids::EditUndo); // away from the saved state, and back
    EXPECT_EQ(state()[0], "1");
    Menu(ids::EditRedo);
    EXPECT_EQ(state()[0], "0");

    // A drag of the whole model is a step too, though the file does not carry where the
    // model stands.
    rm::Vector before, moved, after;
    Context().currentModel->Root()->GetPosition(nullptr, &before);
    Drag(1, 0, 8, 8);
    Context().currentModel->Root()->GetPosition(nullptr, &moved);
    EXPECT_NE(moved.x, before.x);
    EXPECT_EQ(state()[1], "+元に戻す(&U): モデルの移動\tCtrl+Z");
    Menu(ids::EditUndo);
    Context().currentModel->Root()->GetPosition(nullptr, &after);
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.z, before.z);

    // The skin cannot be taken back, and takes the history with it; the document is
    // modified, and no later step taken back makes it look saved.
    ui.messageBox.Clear();
    Menu(ids::SkinOn);
    EXPECT_EQ(History().Count(), 0);
    EXPECT_EQ(frame->GetActiveDocument()->IsModified(), 1);
    EXPECT_EQ(state()[1], "-元に戻す(&U)\tCtrl+Z");
    ASSERT_EQ(ui.messageBox.Asked().size(), 2u);
    EXPECT_EQ(ui.messageBox.Asked()[1].text.toStdString(),
              "スキン処理機能が有効になりました。\n"
              "この操作は元に戻せません。それまでの操作も元に戻せなくなりました。");
}

} // namespace

// The batch commands and the part key dialog through the editor as a user works it: File
// Open, the command from the menu with the dialog and the boxes answered, File Save As,
// File Open of the saved file, and a look at what came back.

#include <functional>
#include <string>
#include <vector>

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/ShellFixture.h"
#include "dialogs/CModelScaleDialog.h"
#include "dialogs/CPartKeyDialog.h"
#include "platform/framework/Document.h"
#include "platform/framework/MessageBoxCodes.h"
#include "resources/CommandIds.h"
#include "session/EditContext.h"
#include "support/BatchTestFiles.h"

namespace {

using framework::Dialog;
using framework::IdOk;
using shell_test::ShellFixture;
namespace ids = resources::ids;

class BatchEditingTest : public ShellFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartWith(dir));
        in = dir.filePath(QStringLiteral("in.x"));
        out = dir.filePath(QStringLiteral("out.x"));
        QFile file(in);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::string text = batch_test::CharacterText();
        file.write(text.data(), static_cast<qint64>(text.size()));
    }

    QTemporaryDir dir;
    QString in, out;
};

TEST_F(BatchEditingTest, EditsSavedThroughTheMenuComeBackFromTheFile) {
    ASSERT_EQ(OpenFile(in), 1);
    const batch_test::Snapshot before = batch_test::Capture(Context().currentModel);
    ASSERT_EQ(before.parts.size(), 2u);

    const struct {
        const char* what;
        framework::CommandId id;
        std::function<void()> answer;
        std::function<void(const batch_test::Snapshot&)> check;
    } rows[] = {
        {"model scale x2 with the position keys", ids::ChangeModelScale,
         [this] {
             ui.dialogRunner.Push([](Dialog& dialog) {
                 for (int id : {1041, 1042, 1043}) {
                     dialog.SetDlgItemText(id, QStringLiteral("2"));
                 }
                 dialog.ClickButton(CModelScaleDialog::PositionKeysCheck);
                 dialog.ClickButton(IdOk);
             });
         },
         [&before](const batch_test::Snapshot& after) {
             for (std::size_t p = 0; p < 2; ++p) {
                 for (std::size_t v = 0; v < before.parts[p].vertices.size(); ++v) {
                     EXPECT_FLOAT_EQ(after.parts[p].vertices[v].x,
                                     2 * before.parts[p].vertices[v].x);
                     EXPECT_FLOAT_EQ(after.parts[p].vertices[v].y,
                                     2 * before.parts[p].vertices[v].y);
                 }
             }
             for (int k = 0; k < 2; ++k) {
                 EXPECT_FLOAT_EQ(after.parts[1].positionKeys[k].y,
                                 2 * batch_test::kArmPositions[k].y);
             }
         }},
        {"pace x2", ids::ChangeAnimationPace, [this] { ui.messageBox.Push(IdOk); },
         [](const batch_test::Snapshot& after) {
             EXPECT_EQ(after.parts[1].keyTimes, (std::vector<float>{10, 10, 30, 30}));
         }},
        {"first key to zero", ids::MoveFirstKeyTimeZero, [this] { ui.messageBox.Push(IdOk); },
         [](const batch_test::Snapshot& after) {
             EXPECT_EQ(after.parts[1].keyTimes, (std::vector<float>{0, 0, 10, 10}));
             EXPECT_EQ(after.parts[0].keyTimes, (std::vector<float>{0, 10}));
         }},
        {"delete all position keys", ids::DeleteAllPositionKey,
         [this] { ui.messageBox.Push(IdOk); },
         [](const batch_test::Snapshot& after) {
             for (const auto& part : after.parts) {
                 EXPECT_TRUE(part.positionKeys.empty());
             }
             EXPECT_EQ(after.parts[1].keyTimes, (std::vector<float>{5, 15}));
         }},
        {"the Arm renamed in the part key dialog", ids::EditPartsAnimationKey,
         [this] {
             view->Interaction().SelectPart(
                 Context().currentModel->Root()->Children()[0]->Children()[0].Get(), nullptr);
             ui.dialogRunner.Push([](Dialog& dialog) {
                 dialog.SetDlgItemText(CPartKeyDialog::PartTypeNameEdit, QStringLiteral("Hand"));
                 dialog.ClickButton(IdOk);
             });
         },
         [](const batch_test::Snapshot& after) {
             EXPECT_EQ(after.parts[1].name, "Hand");
             EXPECT_EQ(after.parts[1].keyTimes, (std::vector<float>{5, 5, 15, 15}));
         }},
    };
    for (const auto& row : rows) {
        ASSERT_EQ(OpenFile(in), 1) << row.what;
        ui.messageBox.Clear();
        row.answer();
        EXPECT_EQ(Menu(row.id), 1) << row.what;
        EXPECT_EQ(frame->GetActiveDocument()->IsModified(), 1) << row.what;
        EXPECT_EQ(ui.dialogRunner.PendingScripts(), 0) << row.what;
        ui.fileDialog.Choose(out);
        ASSERT_EQ(Menu(ids::FileSaveAs), 1) << row.what;
        ASSERT_EQ(OpenFile(out), 1) << row.what;
        const batch_test::Snapshot after = batch_test::Capture(Context().currentModel);
        ASSERT_EQ(after.parts.size(), 2u) << row.what;
        SCOPED_TRACE(row.what);
        row.check(after);
    }
}

} // namespace

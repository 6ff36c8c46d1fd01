#include "app/CDxMFCDoc.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/BarControlIds.h"
#include "app/ProgramState.h"
#include "app/ShellFixture.h"
#include "platform/rm/Frame.h"
#include "resources/CommandIds.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"

namespace {

using shell_test::SampleWalker;
using shell_test::ShellFixture;
namespace ids = resources::ids;

class DocumentTest : public ShellFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start());
        document = dynamic_cast<CDxMFCDoc*>(frame->GetActiveDocument());
        ASSERT_NE(document, nullptr);
    }

    int OpenThroughTheMenu(const std::string& path) {
        ui.fileDialog.Choose(QString::fromStdString(path));
        return frame->OnCommand(ids::FileOpen, framework::CommandSource::Menu);
    }

    int CharacterCount() { return g_libraries->Characters().Count(); }

    CDxMFCDoc* document = nullptr;
};

TEST_F(DocumentTest, OpenLoadsTheCharacterAndFillsTheBars) {
    ASSERT_EQ(OpenThroughTheMenu(SampleWalker()), 1);
    ASSERT_NE(g_currentAnimation, nullptr);
    EXPECT_EQ(CharacterCount(), 1);
    EXPECT_EQ(Panel().GetDlgItemText(ctl::AnimationName), QStringLiteral("walker.x"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Length).toInt() > 0 ||
                  Bar().GetDlgItemText(ctl::Length) == QStringLiteral("Last"),
              true);
    EXPECT_EQ(document->GetPathName(), QString::fromStdString(SampleWalker()));
    EXPECT_EQ(g_redrawRequest, 1);
    EXPECT_EQ(document->GetOpenMode(), 0);

    // A second open replaces the scene.
    ASSERT_EQ(OpenThroughTheMenu(SampleWalker()), 1);
    EXPECT_EQ(CharacterCount(), 1);
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
}

TEST_F(DocumentTest, NewWithNothingSelectedClearsTheWholeScene) {
    ASSERT_EQ(OpenThroughTheMenu(SampleWalker()), 1);
    g_currentTime = 12.5f;
    ASSERT_EQ(frame->OnCommand(ids::FileNew, framework::CommandSource::Menu), 1);
    EXPECT_EQ(CharacterCount(), 0);
    EXPECT_EQ(g_libraries->Models().Entries().Count(), 0);
    EXPECT_EQ(g_currentAnimation, nullptr);
    EXPECT_EQ(g_currentModel, nullptr);
    EXPECT_EQ(g_currentCharacter, nullptr);
    EXPECT_EQ(g_currentTime, 0.0f);
    EXPECT_EQ(g_sceneFrame->GetChildren().size(), 0u);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Min), QStringLiteral("0.00"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Max), QStringLiteral("0.00"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Length), QStringLiteral("Non"));
    EXPECT_EQ(Panel().GetDlgItemText(ctl::AnimationName), QStringLiteral("non"));
    EXPECT_EQ(g_redrawRequest, 1);
}

TEST_F(DocumentTest, ClearSceneOfTheCurrentCharacterWithoutOneKeepsTheLists) {
    ASSERT_EQ(OpenThroughTheMenu(SampleWalker()), 1);
    g_currentCharacter = nullptr;
    EXPECT_EQ(frame->ClearScene(0), 1);
    EXPECT_EQ(CharacterCount(), 1);
    EXPECT_EQ(g_currentModel, nullptr);
    EXPECT_EQ(g_currentAnimation, nullptr);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Length), QStringLiteral("Non"));
}

TEST_F(DocumentTest, AFileWithoutAModelShowsTheLoadMessageAndKeepsTheDocument) {
    ASSERT_EQ(OpenThroughTheMenu(SampleWalker()), 1);
    const QString bad = QStringLiteral(PAVRIX_FIXTURE_DIR "/x/header_bad_magic.x");
    ui.fileDialog.Choose(bad);
    frame->OnCommand(ids::FileOpen, framework::CommandSource::Menu);
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    EXPECT_EQ(ui.messageBox.Asked()[0].text, QStringLiteral("モデルのロードに失敗しました。"));
    // The framework keeps the path name of the document that was there.
    EXPECT_EQ(document->GetPathName(), QString::fromStdString(SampleWalker()));
    EXPECT_EQ(frame->GetActiveView(), view);
}

TEST_F(DocumentTest, SaveWritesTheCharacterThatOpensAgain) {
    ASSERT_EQ(OpenThroughTheMenu(SampleWalker()), 1);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("saved.x"));
    document->SetModifiedFlag(1);
    ASSERT_EQ(document->OnSaveDocument(path), 1);
    EXPECT_EQ(document->IsModified(), 0);
    ASSERT_TRUE(QFile::exists(path));
    ASSERT_EQ(OpenThroughTheMenu(path.toStdString()), 1);
    EXPECT_NE(g_currentAnimation, nullptr);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Max).isEmpty(), false);
}

TEST_F(DocumentTest, SaveWithNothingLoadedFailsWithoutAMessage) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nothing.x"));
    EXPECT_EQ(document->OnSaveDocument(path), 0);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
}

TEST_F(DocumentTest, SaveIntoAMissingFolderSaysWhyAndFails) {
    ASSERT_EQ(OpenThroughTheMenu(SampleWalker()), 1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/saved.x"));
    EXPECT_EQ(document->OnSaveDocument(path), 0);
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    EXPECT_TRUE(ui.messageBox.Asked()[0].text.contains(QStringLiteral("missing")))
        << ui.messageBox.Asked()[0].text.toStdString();
}

} // namespace

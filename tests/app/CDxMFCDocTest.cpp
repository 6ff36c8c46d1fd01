#include "app/CDxMFCDoc.h"

#include <algorithm>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/BarControlIds.h"
#include "app/ShellFixture.h"
#include "app/TestCharacters.h"
#include "platform/framework/FileDialogRequest.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/rm/Frame.h"
#include "resources/CommandIds.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"

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

    int CharacterCount() { return Context().libraries->Characters().Count(); }

    CDxMFCDoc* document = nullptr;
};

TEST_F(DocumentTest, OpenLoadsTheCharacterAndFillsTheBars) {
    ASSERT_EQ(OpenThroughTheMenu(SampleWalker()), 1);
    ASSERT_NE(Context().currentAnimation, nullptr);
    EXPECT_EQ(CharacterCount(), 1);
    EXPECT_EQ(Panel().GetDlgItemText(ctl::AnimationName), QStringLiteral("walker.x"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Length).toInt() > 0 ||
                  Bar().GetDlgItemText(ctl::Length) == QStringLiteral("Last"),
              true);
    EXPECT_EQ(document->GetPathName(), QString::fromStdString(SampleWalker()));
    EXPECT_TRUE(Context().redrawRequest);
    EXPECT_EQ(document->GetOpenMode(), scene::OpenMode::NewScene);

    // A second open replaces the scene.
    ASSERT_EQ(OpenThroughTheMenu(SampleWalker()), 1);
    EXPECT_EQ(CharacterCount(), 1);
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
}

TEST_F(DocumentTest, AnAnimationOverTheKeyTimeLimitIsReportedOnce) {
    QTemporaryDir dir;
    std::vector<float> times;
    for (int t = 0; t < 1025; ++t) {
        times.push_back(static_cast<float>(t));
    }
    const QString path = shell_test::WriteCharacter(dir.path(), QStringLiteral("long.x"), times);
    ASSERT_EQ(OpenThroughTheMenu(path.toStdString()), 1);
    const auto texts = ui.messageBox.Texts();
    EXPECT_EQ(std::count_if(
                  texts.begin(), texts.end(),
                  [](const QString& text) { return text.contains(QStringLiteral("最大許容値")); }),
              1);
    EXPECT_EQ(Context().currentAnimation->KeyTimeCount(), 1024u);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Max), QStringLiteral("1023.00"));
}

TEST_F(DocumentTest, NewWithNothingSelectedClearsTheWholeScene) {
    ASSERT_EQ(OpenThroughTheMenu(SampleWalker()), 1);
    Context().currentTime = 12.5f;
    ASSERT_EQ(frame->OnCommand(ids::FileNew, framework::CommandSource::Menu), 1);
    EXPECT_EQ(CharacterCount(), 0);
    EXPECT_EQ(Context().libraries->Models().Entries().Count(), 0);
    EXPECT_EQ(Context().currentAnimation, nullptr);
    EXPECT_EQ(Context().currentModel, nullptr);
    EXPECT_EQ(Context().currentCharacter, nullptr);
    EXPECT_EQ(Context().currentTime, 0.0f);
    EXPECT_EQ(Context().sceneFrame->GetChildren().size(), 0u);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Min), QStringLiteral("0.00"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Max), QStringLiteral("0.00"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Length), QStringLiteral("Non"));
    EXPECT_EQ(Panel().GetDlgItemText(ctl::AnimationName), QStringLiteral("non"));
    EXPECT_TRUE(Context().redrawRequest);
}

TEST_F(DocumentTest, ClearSceneOfTheCurrentCharacterWithoutOneKeepsTheLists) {
    ASSERT_EQ(OpenThroughTheMenu(SampleWalker()), 1);
    Context().currentCharacter = nullptr;
    EXPECT_EQ(frame->ClearScene(scene::ClearExtent::CurrentCharacter), 1);
    EXPECT_EQ(CharacterCount(), 1);
    EXPECT_EQ(Context().currentModel, nullptr);
    EXPECT_EQ(Context().currentAnimation, nullptr);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Length), QStringLiteral("Non"));
}

TEST_F(DocumentTest, AFailedOpenShowsTheLoadMessageAndKeepsTheDocumentAsItWas) {
    QTemporaryDir dir;
    const QString walker = dir.filePath(QStringLiteral("walker.x"));
    const QString empty = dir.filePath(QStringLiteral("empty.x"));
    QFile(empty).open(QIODevice::WriteOnly);
    const QString bad = QStringLiteral(PAVRIX_FIXTURE_DIR "/x/header_bad_magic.x");
    const struct {
        QString path;
        QString reason;
    } rows[] = {
        {bad, QStringLiteral("X ファイル (.x) ではありません。")},
        {empty, QString()},
        {dir.filePath(QStringLiteral("missing.x")), QString()},
    };
    for (const auto& row : rows) {
        QFile::remove(walker);
        ASSERT_TRUE(QFile::copy(QString::fromStdString(SampleWalker()), walker));
        ASSERT_EQ(OpenThroughTheMenu(walker.toStdString()), 1);
        // A step taken, so the history and the modified mark are there to keep.
        ui.messageBox.Push(framework::IdOk);
        ui.messageBox.Push(framework::IdOk);
        ASSERT_EQ(frame->OnCommand(ids::DeleteAllPositionKey, framework::CommandSource::Menu), 1);
        ASSERT_EQ(document->IsModified(), 1);
        ui.messageBox.Clear();
        CModelData* model = Context().currentModel;
        CAnimationData* animation = Context().currentAnimation;
        const QString title = frame->windowTitle();
        // Unsaved changes: the open asks first; "No" lets them go only if the open works.
        ui.messageBox.Push(framework::IdNo);
        ui.fileDialog.Choose(row.path);
        frame->OnCommand(ids::FileOpen, framework::CommandSource::Menu);
        ASSERT_EQ(ui.messageBox.Asked().size(), 2u) << row.path.toStdString();
        const QString text = ui.messageBox.Asked()[1].text;
        EXPECT_EQ(text.section(QLatin1Char('\n'), 0, 0),
                  QStringLiteral("モデルのロードに失敗しました。"));
        EXPECT_FALSE(text.section(QLatin1Char('\n'), 1).isEmpty()) << text.toStdString();
        if (!row.reason.isEmpty()) {
            EXPECT_EQ(text.section(QLatin1Char('\n'), 1, 1), row.reason);
        }
        EXPECT_EQ(Context().currentModel, model);
        EXPECT_EQ(Context().currentAnimation, animation);
        EXPECT_EQ(Context().currentModel->Root()->GetParent(), Context().sceneFrame);
        EXPECT_EQ(document->GetPathName(), walker);
        EXPECT_EQ(frame->windowTitle(), title);
        EXPECT_EQ(document->IsModified(), 1);
        EXPECT_TRUE(frame->History()->CanUndo());
        // Save still writes the walker, to its own file, without asking for a name.
        const std::size_t requests = ui.fileDialog.Requests().size();
        ASSERT_EQ(frame->OnCommand(ids::FileSave, framework::CommandSource::Menu), 1);
        EXPECT_EQ(document->IsModified(), 0);
        EXPECT_EQ(ui.fileDialog.Requests().size(), requests);
    }
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
    EXPECT_NE(Context().currentAnimation, nullptr);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Max).isEmpty(), false);
}

TEST_F(DocumentTest, SaveWithNothingLoadedFailsWithoutAMessage) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nothing.x"));
    EXPECT_EQ(document->OnSaveDocument(path), 0);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
}

TEST_F(DocumentTest, SaveIntoAMissingFolderSaysWhyAndFailsAndStaysModified) {
    ASSERT_EQ(OpenThroughTheMenu(SampleWalker()), 1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/saved.x"));
    document->SetModifiedFlag(1);
    EXPECT_EQ(document->OnSaveDocument(path), 0);
    EXPECT_EQ(document->IsModified(), 1);
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    EXPECT_TRUE(ui.messageBox.Asked()[0].text.contains(QStringLiteral("missing")))
        << ui.messageBox.Asked()[0].text.toStdString();
    // The cause in the user's terms comes before the exact technical line.
    const QStringList lines = ui.messageBox.Asked()[0].text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1], QStringLiteral("ファイルまたはフォルダーが見つかりません。"));
}

// ---------------------------------------------------------------------------------------
// The file commands and the state table.

class DocumentStateTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }

    QString Write(const std::vector<float>& times, const QString& name, float x = 0.0f) {
        return shell_test::WriteCharacter(dir.path(), name, times, x);
    }

    int Command(framework::CommandId id, const QString& path) {
        ui.fileDialog.Choose(path);
        return frame->OnCommand(id, framework::CommandSource::Menu);
    }

    static std::vector<std::string> Names(const NamedObjectList<CModelData>& list) {
        std::vector<std::string> names;
        for (auto* entry = list.Head(); entry != nullptr; entry = entry->Next()) {
            names.push_back(entry->Name() != nullptr ? entry->Name() : "");
        }
        return names;
    }
    static std::vector<std::string> Names(const NamedObjectList<CAnimationData>& list) {
        std::vector<std::string> names;
        for (auto* entry = list.Head(); entry != nullptr; entry = entry->Next()) {
            names.push_back(entry->Name() != nullptr ? entry->Name() : "");
        }
        return names;
    }
    std::vector<std::string> ModelNames() { return Names(g_modelLibrary->Entries()); }
    std::vector<std::string> AnimationNames() { return Names(g_animationLibrary->Entries()); }

    QTemporaryDir dir;
};

TEST_F(DocumentStateTest, TheFileCommandsAskWithAnOpenDialogForXFiles) {
    for (int i = 0; i < 3; ++i) {
        ui.fileDialog.Cancel();
    }
    for (framework::CommandId id : {ids::InsertCharacter, ids::ChangeAnimation, ids::ChangeModel}) {
        EXPECT_EQ(frame->OnCommand(id, framework::CommandSource::Menu), 1) << id;
    }
    ASSERT_EQ(ui.fileDialog.Requests().size(), 3u);
    for (const framework::FileDialogRequest& request : ui.fileDialog.Requests()) {
        EXPECT_TRUE(request.open);
        EXPECT_EQ(request.defaultExt, QStringLiteral("x"));
        EXPECT_EQ(request.fileName, QString());
        EXPECT_EQ(request.flags, framework::OfnHideReadOnly | framework::OfnOverwritePrompt);
        EXPECT_EQ(request.filter, QStringLiteral("X ﾌｧｲﾙ (*.x)|*.x|すべてのﾌｧｲﾙ (*.*)|*.*||"));
        EXPECT_EQ(request.owner, nullptr);
    }
    // Cancelled: nothing happened.
    EXPECT_EQ(CharacterCount(), 0);
    EXPECT_EQ(document->GetOpenMode(), scene::OpenMode::NewScene);
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
}

TEST_F(DocumentStateTest, InsertingTheSameFileTwiceGivesTwoCharactersUnderSuffixedNames) {
    const std::string walker = SampleWalker();
    const std::string suffixed = std::string(PAVRIX_SAMPLES_DIR) + "/walker_1.x";
    ASSERT_EQ(Command(ids::InsertCharacter, QString::fromStdString(walker)), 1);
    CCharacterData* first = Context().currentCharacter;
    ASSERT_EQ(Command(ids::InsertCharacter, QString::fromStdString(walker)), 1);
    EXPECT_EQ(CharacterCount(), 2);
    EXPECT_NE(Context().currentCharacter, first);
    EXPECT_EQ(Context().currentCharacter->m_ownsData, 1);
    EXPECT_EQ(ModelNames(), (std::vector<std::string>{walker, suffixed}));
    EXPECT_EQ(AnimationNames(), (std::vector<std::string>{walker, suffixed}));
    EXPECT_EQ(document->GetPathName(), QString::fromStdString(suffixed));
    EXPECT_EQ(Panel().GetDlgItemText(ctl::AnimationName), QStringLiteral("walker_1.x"));
    EXPECT_EQ(Panel().GetDlgItemText(ctl::ModelName), QStringLiteral("walker_1.x"));
    EXPECT_EQ(Context().sceneFrame->GetChildren().size(), 2u);
    EXPECT_EQ(Context().currentAnimation->Model(), Context().currentModel);
    EXPECT_EQ(document->GetOpenMode(), scene::OpenMode::NewScene);
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
}

TEST_F(DocumentStateTest, ChangeAnimationBeforeAnythingIsLoadedShowsTheMessageAndChangesNothing) {
    EXPECT_EQ(Command(ids::ChangeAnimation, QString::fromStdString(SampleWalker())), 1);
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    EXPECT_EQ(
        ui.messageBox.Asked()[0].text,
        QStringLiteral("アニメーションデータをロードする前に、モデルデータをロードしてください。"));
    EXPECT_EQ(ui.messageBox.Asked()[0].caption, QStringLiteral("Pavrix / Prototype"));
    EXPECT_EQ(CharacterCount(), 0);
    EXPECT_TRUE(ModelNames().empty());
    EXPECT_TRUE(AnimationNames().empty());
    EXPECT_EQ(Context().currentCharacter, nullptr);
    EXPECT_EQ(Context().currentAnimation, nullptr);
    EXPECT_EQ(document->GetOpenMode(), scene::OpenMode::NewScene);
}

TEST_F(DocumentStateTest, ChangeModelBeforeAnythingIsLoadedLeavesTheModelInTheSceneSilently) {
    const QString path = QString::fromStdString(SampleWalker());
    EXPECT_EQ(Command(ids::ChangeModel, path), 1);
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
    EXPECT_EQ(CharacterCount(), 1);
    ASSERT_NE(Context().currentCharacter, nullptr);
    EXPECT_EQ(Context().currentCharacter->m_ownsData, 0);
    EXPECT_EQ(ModelNames(), (std::vector<std::string>{SampleWalker()}));
    EXPECT_TRUE(AnimationNames().empty());
    ASSERT_NE(Context().currentModel, nullptr);
    EXPECT_EQ(Context().currentModel->Root()->GetParent(), Context().sceneFrame);
    EXPECT_EQ(Context().currentAnimation, nullptr);
    // The failed open leaves the document's name alone.
    EXPECT_EQ(document->GetPathName(), QString());
    EXPECT_EQ(document->GetOpenMode(), scene::OpenMode::NewScene);
}

TEST_F(DocumentStateTest, ChangeAnimationReplacesTheCurrentCharactersSetsOnly) {
    ASSERT_EQ(OpenThroughTheMenu(Write({0, 10, 20}, QStringLiteral("body.x")).toStdString()), 1);
    CCharacterData* character = Context().currentCharacter;
    CModelData* model = Context().currentModel;
    const QString moves = Write({0, 50}, QStringLiteral("moves.x"));
    ASSERT_EQ(Command(ids::ChangeAnimation, moves), 1);
    EXPECT_EQ(Context().currentCharacter, character);
    EXPECT_EQ(Context().currentModel, model);
    EXPECT_EQ(AnimationNames(), (std::vector<std::string>{moves.toStdString()}));
    EXPECT_EQ(ModelNames(), (std::vector<std::string>{dir.filePath("body.x").toStdString()}));
    EXPECT_EQ(Context().currentAnimation->Model(), model);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Max), QStringLiteral("50.00"));
    EXPECT_EQ(document->GetPathName(), moves);
    EXPECT_EQ(Context().sceneFrame->GetChildren().size(), 1u);
}

TEST_F(DocumentStateTest, ChangeModelBindsTheCurrentAnimationToTheNewModel) {
    ASSERT_EQ(OpenThroughTheMenu(Write({0, 10, 20}, QStringLiteral("body.x")).toStdString()), 1);
    CCharacterData* character = Context().currentCharacter;
    CAnimationData* animation = Context().currentAnimation;
    const QString other = Write({}, QStringLiteral("other.x"), 4.0f);
    ASSERT_EQ(Command(ids::ChangeModel, other), 1);
    EXPECT_EQ(Context().currentCharacter, character);
    EXPECT_EQ(Context().currentAnimation, animation);
    EXPECT_EQ(ModelNames(), (std::vector<std::string>{other.toStdString()}));
    EXPECT_EQ(Context().currentAnimation->Model(), Context().currentModel);
    ASSERT_EQ(Context().sceneFrame->GetChildren().size(), 1u);
    EXPECT_EQ(Context().sceneFrame->GetChildren()[0].Get(), Context().currentModel->Root());
    EXPECT_EQ(Panel().GetDlgItemText(ctl::ModelName), QStringLiteral("other.x"));
    // No question about the animation, no notice: the model file's own (none) is not read.
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
}

TEST_F(DocumentStateTest, NewWithAPartSelectedDeletesOnlyTheCurrentCharacter) {
    ASSERT_EQ(Command(ids::InsertCharacter, Write({0, 10}, QStringLiteral("a.x"))), 1);
    CCharacterData* first = Context().currentCharacter;
    ASSERT_EQ(Command(ids::InsertCharacter, Write({0, 10}, QStringLiteral("b.x"), 3.0f)), 1);
    Context().SetSelectedPart(Context().currentModel->Root()->GetChildren()[0].Get());
    ASSERT_EQ(frame->OnCommand(ids::FileNew, framework::CommandSource::Menu), 1);
    EXPECT_EQ(CharacterCount(), 1);
    EXPECT_EQ(&Context().libraries->Characters().Head()->Payload(), first);
    ASSERT_EQ(Context().sceneFrame->GetChildren().size(), 1u);
    EXPECT_EQ(Context().sceneFrame->GetChildren()[0].Get(), first->m_model->Root());
    EXPECT_EQ(Context().currentCharacter, nullptr);
    EXPECT_EQ(Context().currentModel, nullptr);
    EXPECT_EQ(Context().currentAnimation, nullptr);
    EXPECT_EQ(Context().selection.Part(), nullptr);
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Length), QStringLiteral("Non"));
    EXPECT_EQ(Panel().GetDlgItemText(ctl::AnimationName), QStringLiteral("non"));
}

TEST_F(DocumentStateTest, AFileWithAModelOnlyGetsAnEmptyAnimationAndTheNotice) {
    const QString path = Write({}, QStringLiteral("still.x"));
    ASSERT_EQ(OpenThroughTheMenu(path.toStdString()), 1);
    EXPECT_EQ(ui.messageBox.Texts(),
              (std::vector<QString>{
                  QStringLiteral("アニメーションがないので空のアニメーションを生成します。")}));
    ASSERT_NE(Context().currentAnimation, nullptr);
    EXPECT_EQ(Context().currentAnimation->KeyTimeCount(), 0u);
    EXPECT_EQ(AnimationNames(), (std::vector<std::string>{path.toStdString()}));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Min), QStringLiteral("0.00"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Max), QStringLiteral("0.00"));
    EXPECT_EQ(document->GetPathName(), path);
}

TEST_F(DocumentStateTest, FileCommandsDoNotAskAboutUnsavedChanges) {
    ASSERT_EQ(OpenThroughTheMenu(SampleWalker()), 1);
    document->SetModifiedFlag(1);
    ASSERT_EQ(Command(ids::InsertCharacter, Write({0, 10}, QStringLiteral("b.x"))), 1);
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
    EXPECT_EQ(CharacterCount(), 2);
    EXPECT_EQ(document->IsModified(), 1);
}

// ---------------------------------------------------------------------------------------
// Saving.

TEST_F(DocumentStateTest, AFailedSaveAsSaysWhyAndKeepsTheDocumentModifiedAndNamed) {
    ASSERT_EQ(OpenThroughTheMenu(SampleWalker()), 1);
    document->SetModifiedFlag(1);
    const QString path = dir.filePath(QStringLiteral("missing/saved.x"));
    ui.fileDialog.Choose(path);
    EXPECT_EQ(frame->OnCommand(ids::FileSaveAs, framework::CommandSource::Menu), 1);
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    const QString text = ui.messageBox.Asked()[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("ファイルの保存に失敗しました。\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("missing"))) << text.toStdString();
    EXPECT_EQ(document->IsModified(), 1);
    EXPECT_EQ(document->GetPathName(), QString::fromStdString(SampleWalker()));
    EXPECT_FALSE(QFile::exists(path));

    // So quitting still asks.
    ui.messageBox.Push(framework::IdCancel);
    EXPECT_EQ(document->SaveModified(), 0);
    EXPECT_EQ(ui.messageBox.Asked().size(), 2u);
}

TEST_F(DocumentStateTest, SaveWithNothingLoadedThroughTheMenuSaysSoAndWritesNothing) {
    document->SetModifiedFlag(1);
    for (framework::CommandId id : {ids::FileSaveAs, ids::FileSave}) {
        frame->OnCommand(id, framework::CommandSource::Menu);
        EXPECT_TRUE(ui.fileDialog.Requests().empty()) << id;
    }
    EXPECT_EQ(ui.messageBox.Texts(),
              (std::vector<QString>(2, QStringLiteral("保存するデータがありません。"))));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_EQ(document->IsModified(), 1);
}

TEST_F(DocumentStateTest, SaveAfterSaveAsAndAnEditWritesTheNewFileNotTheOpenedOne) {
    const QString opened = dir.filePath(QStringLiteral("walker.x"));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(SampleWalker()), opened));
    ASSERT_EQ(OpenThroughTheMenu(opened.toStdString()), 1);
    // A refresh of the bar (every edit makes one) keeps the whole path: a bare "walker.x"
    // would send the next Save into the working directory.
    frame->RefreshKeyRange(session::KeyTimeList::Rebuild);
    EXPECT_EQ(document->GetPathName(), opened);

    const QString other = dir.filePath(QStringLiteral("other.x"));
    ui.fileDialog.Choose(other);
    ASSERT_EQ(frame->OnCommand(ids::FileSaveAs, framework::CommandSource::Menu), 1);
    EXPECT_EQ(document->GetPathName(), other);
    ASSERT_TRUE(QFile::remove(other));

    frame->RefreshKeyRange(session::KeyTimeList::Rebuild);
    frame->MarkDocumentModified();
    ASSERT_EQ(frame->OnCommand(ids::FileSave, framework::CommandSource::Menu), 1);
    EXPECT_TRUE(QFile::exists(other));
    EXPECT_EQ(document->IsModified(), 0);
    QFile original(QString::fromStdString(SampleWalker())), copy(opened);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), original.readAll());
    EXPECT_EQ(ui.fileDialog.PendingAnswers(), 0);
    EXPECT_EQ(ui.fileDialog.UnscriptedCount(), 0);
}

TEST_F(DocumentStateTest, CtrlSAfterAChangeOfAnimationOrModelAsksWhereAndNeverOverwritesUnasked) {
    for (framework::CommandId change : {ids::ChangeAnimation, ids::ChangeModel}) {
        SCOPED_TRACE(change);
        ASSERT_EQ(OpenThroughTheMenu(Write({0, 10}, QStringLiteral("body.x")).toStdString()), 1);
        const QString source = Write({0, 50}, QStringLiteral("moves.x"), 2.0f);
        QFile before(source);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        const QByteArray bytes = before.readAll();
        before.close();
        ASSERT_EQ(Command(change, source), 1);
        frame->MarkDocumentModified();
        const std::size_t asked = ui.fileDialog.Requests().size();

        // Ctrl+S asks for a name, proposing the document's; cancelling writes nothing.
        ui.fileDialog.Cancel();
        EXPECT_EQ(frame->OnCommand(ids::FileSave, framework::CommandSource::Accelerator), 1);
        ASSERT_EQ(ui.fileDialog.Requests().size(), asked + 1);
        const framework::FileDialogRequest& request = ui.fileDialog.Requests().back();
        EXPECT_FALSE(request.open);
        EXPECT_EQ(request.fileName, document->GetPathName());
        EXPECT_NE(request.flags & framework::OfnOverwritePrompt, 0u);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        EXPECT_EQ(before.readAll(), bytes) << "the source file is untouched";
        before.close();
        EXPECT_EQ(document->IsModified(), 1);

        // A name chosen there is where Save writes from then on, without asking again.
        const QString chosen = dir.filePath(QStringLiteral("mixed.x"));
        ui.fileDialog.Choose(chosen);
        EXPECT_EQ(frame->OnCommand(ids::FileSave, framework::CommandSource::Accelerator), 1);
        EXPECT_TRUE(QFile::exists(chosen));
        EXPECT_EQ(document->GetPathName(), chosen);
        frame->MarkDocumentModified();
        EXPECT_EQ(frame->OnCommand(ids::FileSave, framework::CommandSource::Accelerator), 1);
        EXPECT_EQ(ui.fileDialog.Requests().size(), asked + 2);
        EXPECT_EQ(document->IsModified(), 0);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        EXPECT_EQ(before.readAll(), bytes);
        before.close();
    }
    EXPECT_EQ(ui.fileDialog.PendingAnswers(), 0);
}

} // namespace

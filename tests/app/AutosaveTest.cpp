// The autosave: written between edits while the document is modified, removed by a save or
// a normal end, offered back after a crash (yes: the user's file, modified; no: removed),
// and never taken from an editor that is still running.

#include "app/Autosave.h"

#include <cmath>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/ShellFixture.h"
#include "platform/framework/Document.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/rm/Context.h"
#include "platform/rm/Frame.h"
#include "resources/CommandIds.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"

namespace {

namespace ids = resources::ids;

class AutosaveTest : public shell_test::ShellFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // The user's file: a copy of the sample.
        user = dir.filePath(QStringLiteral("walker.x"));
        ASSERT_TRUE(QFile::copy(QString::fromStdString(shell_test::SampleWalker()), user));
        ASSERT_TRUE(Start());
        ASSERT_EQ(OpenFile(user), 1);
    }

    framework::Document& Document() { return *frame->GetActiveDocument(); }
    static QString Folder() { return Autosave::DefaultFolder(); }

    /// An edit as the user makes one: a key added for a part at a time between two keys.
    void Edit() {
        Context().SetSelectedPart(Context().currentModel->Root()->Children().front().Get());
        const float time =
            (Context().currentAnimation->KeyTime(0) + Context().currentAnimation->KeyTime(1)) / 2;
        Context().currentTime = std::floor(time);
        Context().keyTime = static_cast<unsigned>(Context().currentTime);
        frame->PoseCurrentAnimation(Context().currentTime);
        ui.messageBox.Push(framework::IdOk);
        ASSERT_EQ(frame->AddKeyFrame(Prompting::Silent), 1);
        ASSERT_TRUE(Document().IsModified());
    }

    static QByteArray Bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString user;
};

TEST_F(AutosaveTest, WritesOnlyWhenDueAndIdleAndGoesWithTheSaveAndTheNormalEnd) {
    Autosave* autosave = app->GetAutosave();
    ASSERT_NE(autosave, nullptr);
    EXPECT_EQ(autosave->IntervalSeconds(), 60) << "the default";
    EXPECT_FALSE(app->PollAutosave(1000)) << "nothing changed";
    Edit();
    EXPECT_FALSE(app->PollAutosave(1000)) << "the interval starts with the change";
    EXPECT_FALSE(app->PollAutosave(1059));
    Context().playState = session::PlayState::PlayingCurrent;
    EXPECT_FALSE(app->PollAutosave(1061)) << "never during playback";
    Context().playState = session::PlayState::Stopped;
    ASSERT_TRUE(app->PollAutosave(1062));
    ASSERT_TRUE(autosave->Finish()) << "written in the background";
    const QString file = autosave->FileName();
    EXPECT_TRUE(file.startsWith(Folder()));
    EXPECT_EQ(Bytes(user), Bytes(QString::fromStdString(shell_test::SampleWalker())))
        << "the user's file is untouched";
    rm::Ref<rm::Frame> root;
    ASSERT_EQ(g_d3drm->CreateFrame(nullptr, &root), rm::D3DRM_OK);
    EXPECT_EQ(root->Load(QFile::encodeName(file).constData()), rm::D3DRM_OK);

    // A save makes it needless.
    ASSERT_EQ(Menu(framework::ids::FileSave), 1);
    EXPECT_FALSE(app->PollAutosave(2000));
    EXPECT_FALSE(QFileInfo::exists(file));

    // A normal end removes it too: after another edit (the animation's pace doubled).
    ui.messageBox.Clear();
    ASSERT_EQ(Menu(ids::ChangeAnimationPace), 1);
    ASSERT_TRUE(Document().IsModified());
    app->PollAutosave(3000);
    ASSERT_TRUE(app->PollAutosave(3100));
    ASSERT_TRUE(autosave->Finish());
    ASSERT_TRUE(QFileInfo::exists(file));
    ui.messageBox.Push(framework::IdNo); // the changes are given up on purpose
    Stop();
    EXPECT_FALSE(QFileInfo::exists(file));
}

TEST_F(AutosaveTest, AfterACrashYesRecoversTheUsersFileModifiedAndNoRemovesIt) {
    Edit();
    const QByteArray edited = [&] {
        // What the user would have saved.
        const QString path = dir.filePath(QStringLiteral("expected.x"));
        EXPECT_EQ(Document().DoSave(path, 0), 1);
        Document().SetModifiedFlag(1);
        return Bytes(path);
    }();
    {
        // An editor that dies with an autosave: its lock goes with it.
        Autosave crashed(Folder(), 60, 999999);
        ASSERT_TRUE(crashed.Write(frame->MakeSceneDocument(), user, 0));
    }
    ui.messageBox.Push(framework::IdNo); // quit without saving: this editor ends normally
    Stop();

    for (const int answer : {framework::IdNo, framework::IdYes}) {
        SCOPED_TRACE(answer);
        if (answer == framework::IdYes) {
            Autosave crashed(Folder(), 60, 999998);
            ASSERT_EQ(Start(), true);
            ASSERT_EQ(OpenFile(user), 1);
            Edit();
            ASSERT_TRUE(crashed.Write(frame->MakeSceneDocument(), user, 0));
            ui.messageBox.Push(framework::IdNo);
            Stop();
        }
        ui.messageBox.Clear();
        ui.messageBox.Push(answer);
        ASSERT_TRUE(Start());
        ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
        const QString question = ui.messageBox.Asked().front().text;
        EXPECT_TRUE(question.contains(user)) << question.toStdString();
        EXPECT_TRUE(question.contains(QStringLiteral("復元しますか"))) << question.toStdString();
        if (answer == framework::IdNo) {
            EXPECT_TRUE(Autosave(Folder(), 60, 1).FindOrphans().empty());
            EXPECT_FALSE(Document().IsModified());
            Stop();
            continue;
        }
        EXPECT_EQ(Document().GetPathName(), user);
        EXPECT_TRUE(Document().IsModified());
        ASSERT_EQ(Menu(framework::ids::FileSave), 1);
        EXPECT_EQ(Bytes(user), edited) << "the user's file holds the edit";
        EXPECT_FALSE(Document().IsModified());
    }
}

TEST_F(AutosaveTest, TheBackgroundWriteIsWhatASaveWritesAndADiscardUnderWayLeavesNothing) {
    Edit();
    const QString expected = dir.filePath(QStringLiteral("expected.x"));
    ASSERT_EQ(Document().DoSave(expected, 0), 1);
    Document().SetModifiedFlag(1);
    Autosave own(Folder(), 60, 5151);
    ASSERT_TRUE(own.Start(frame->MakeSceneDocument(), user, 0));
    ASSERT_TRUE(own.Finish());
    EXPECT_FALSE(own.Writing());
    EXPECT_EQ(Bytes(own.FileName()), Bytes(expected));
    const std::vector<Autosave::Orphan> none = own.FindOrphans();
    EXPECT_TRUE(none.empty()) << "this editor's own is no orphan";

    // Stopped while it writes (or just after): neither the file, its note nor a temporary
    // file of it stays behind (only the lock, held while the editor runs).
    ASSERT_TRUE(own.Start(frame->MakeSceneDocument(), user, 10));
    own.Discard();
    EXPECT_FALSE(own.Writing());
    const QStringList left = QDir(Folder()).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : left) {
        EXPECT_TRUE(!name.contains(QStringLiteral("autosave-5151.")) ||
                    name == QStringLiteral("autosave-5151.lock"))
            << name.toStdString();
    }
}

TEST_F(AutosaveTest, TwoEditorsNeverTakeEachOthersAutosave) {
    Edit();
    Autosave other(Folder(), 60, 4242);
    ASSERT_TRUE(other.Write(frame->MakeSceneDocument(), user, 0));
    ASSERT_TRUE(app->PollAutosave(0) || app->PollAutosave(100));
    ASSERT_TRUE(app->GetAutosave()->Finish());
    // Both are running: neither sees the other's as left behind.
    EXPECT_TRUE(app->GetAutosave()->FindOrphans().empty());
    EXPECT_TRUE(other.FindOrphans().empty());
    other.Discard();
    EXPECT_TRUE(QFileInfo::exists(app->GetAutosave()->FileName()));
}

} // namespace

// The editor as a desktop program: the recent-file list of the File menu, the settings kept
// between runs, the title's unsaved-changes mark, framing the whole model and the manual
// without a viewer. Every test keeps its settings in a temporary XDG_CONFIG_HOME.

#include <cmath>
#include <vector>

#include <QAction>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include "app/AppSettings.h"
#include "app/BarControlIds.h"
#include "app/ShellFixture.h"
#include "app/TestCharacters.h"
#include "platform/framework/Document.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Viewport.h"
#include "render/Direct3R.h"
#include "resources/CommandIds.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"

namespace {

using shell_test::ShellFixture;
namespace ids = resources::ids;

class DesktopTest : public ShellFixture {
protected:
    void SetUp() override { ASSERT_TRUE(config.isValid() && files.isValid()); }

    QString Character(const char* name, float x = 0.0f) {
        return shell_test::WriteCharacter(files.path(), QString::fromLatin1(name), {0, 10, 20}, x);
    }

    /// The texts of the File menu's recent-file entries, in menu order.
    QStringList RecentEntries() const {
        QStringList texts;
        QAction* first = frame->GetMenuAction(framework::ids::FileMruFirst);
        if (first == nullptr) {
            return texts;
        }
        auto* menu = qobject_cast<QMenu*>(first->associatedObjects().value(0));
        if (menu == nullptr) {
            return texts;
        }
        for (QAction* action : menu->actions()) {
            const unsigned id = action->data().toUInt();
            if (id >= framework::ids::FileMruFirst && id <= framework::ids::FileMruLast &&
                action->isEnabled()) {
                texts.push_back(action->text());
            }
        }
        return texts;
    }

    QString Entry(int number, const QString& path) const {
        return QStringLiteral("&%1 %2").arg(number).arg(QDir::toNativeSeparators(path));
    }

    QTemporaryDir files;
};

TEST_F(DesktopTest, RecentFilesListNewestFirstMoveUpWhenReopenedAndLeaveWhenGone) {
    ASSERT_TRUE(Start());
    // Empty at first: the greyed placeholder alone.
    EXPECT_TRUE(RecentEntries().isEmpty());
    QAction* placeholder = frame->GetMenuAction(framework::ids::FileMruFirst);
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->text(), QStringLiteral("最新のﾌｧｲﾙ"));
    EXPECT_FALSE(placeholder->isEnabled());

    const QString a = Character("a.x"), b = Character("b.x"), c = Character("c.x");
    for (const QString& path : {a, b, c}) {
        ui.fileDialog.Choose(path);
        frame->OnCommand(framework::ids::FileOpen, framework::CommandSource::Menu);
    }
    EXPECT_EQ(RecentEntries(), (QStringList{Entry(1, c), Entry(2, b), Entry(3, a)}));

    // Reopening the oldest through its entry brings it to the top.
    EXPECT_EQ(frame->OnCommand(framework::ids::FileMruFirst + 2, framework::CommandSource::Menu),
              1);
    EXPECT_EQ(frame->GetActiveDocument()->GetPathName(), a);
    EXPECT_EQ(RecentEntries(), (QStringList{Entry(1, a), Entry(2, c), Entry(3, b)}));

    // Inserting and saving count too; a fifth file pushes the oldest off.
    const QString d = Character("d.x", 3.0f);
    ui.fileDialog.Choose(d);
    frame->OnCommand(ids::InsertCharacter, framework::CommandSource::Menu);
    const QString saved = QDir(files.path()).filePath(QStringLiteral("saved.x"));
    ASSERT_EQ(frame->GetActiveDocument()->DoSave(saved), 1);
    EXPECT_EQ(RecentEntries(),
              (QStringList{Entry(1, saved), Entry(2, d), Entry(3, a), Entry(4, c)}));

    // A file that is gone: a message, off the list, nothing opened.
    ASSERT_TRUE(QFile::remove(a));
    const QString before = frame->GetActiveDocument()->GetPathName();
    EXPECT_EQ(frame->OnCommand(framework::ids::FileMruFirst + 2, framework::CommandSource::Menu),
              1);
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    EXPECT_TRUE(ui.messageBox.Asked()[0].text.startsWith(QDir::toNativeSeparators(a)));
    EXPECT_TRUE(ui.messageBox.Asked()[0].text.contains(QStringLiteral("見つかりません")));
    EXPECT_EQ(RecentEntries(), (QStringList{Entry(1, saved), Entry(2, d), Entry(3, c)}));
    EXPECT_EQ(frame->GetActiveDocument()->GetPathName(), before);

    // The list is in the user's configuration folder, never beside the program.
    EXPECT_TRUE(AppSettings().FileName().startsWith(config.path()));
    EXPECT_EQ(AppSettings().RecentFiles(), (QStringList{saved, d, c}));
}

TEST_F(DesktopTest, ASecondRunStartsWithTheGeometryLastFolderPlaySpeedAndRecentFilesOfTheFirst) {
    const QString a = Character("a.x");
    ASSERT_TRUE(Start());
    frame->setGeometry(40, 60, 1000, 760);
    Bar().SetCurSel(ctl::PlaySpeed, 1); // "1/90"
    frame->RouteCommand(ctl::PlaySpeed, framework::Notification::SelChange);
    const float speed = frame->GetPlaySpeed();
    ui.fileDialog.Choose(a);
    frame->OnCommand(framework::ids::FileOpen, framework::CommandSource::Menu);
    Stop();

    ASSERT_TRUE(Start());
    EXPECT_EQ(frame->size(), QSize(1000, 760));
    EXPECT_EQ(Bar().GetCurSel(ctl::PlaySpeed), 1);
    EXPECT_FLOAT_EQ(frame->GetPlaySpeed(), speed);
    EXPECT_EQ(RecentEntries(), (QStringList{Entry(1, a)}));
    // The next file dialog starts in the folder of the last file chosen.
    ui.fileDialog.Cancel();
    frame->OnCommand(framework::ids::FileOpen, framework::CommandSource::Menu);
    ASSERT_FALSE(ui.fileDialog.Requests().empty());
    EXPECT_EQ(ui.fileDialog.Requests().back().directory, QFileInfo(a).absolutePath());
    // The animation tool bar shows whatever the bars were: the mode starts as Animation.
    EXPECT_TRUE(frame->GetAnimationToolBar()->isVisibleTo(frame));
    EXPECT_FALSE(frame->GetPartsToolBar()->isVisibleTo(frame));
}

TEST_F(DesktopTest, SettingsOfTheWrongKindAreIgnored) {
    {
        QSettings raw(AppSettings().FileName(), QSettings::IniFormat);
        raw.setValue(QStringLiteral("Playback/playSpeedIndex"), QStringLiteral("fast"));
        raw.setValue(QStringLiteral("MainWindow/geometry"), QByteArray("rubbish"));
    }
    ASSERT_TRUE(Start());
    EXPECT_EQ(Bar().GetCurSel(ctl::PlaySpeed), 3); // "1/30", the start value
    EXPECT_GE(frame->width(), 320);
}

TEST_F(DesktopTest, TheTitleNamesTheFileAndMarksUnsavedChanges) {
    ASSERT_TRUE(Start({Character("walk.x")}));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("walk.x[*] - Pavrix"));
    EXPECT_FALSE(frame->isWindowModified());
    frame->MarkDocumentModified();
    EXPECT_TRUE(frame->isWindowModified());
    ASSERT_EQ(
        frame->GetActiveDocument()->DoSave(QDir(files.path()).filePath(QStringLiteral("out.x"))),
        1);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("out.x[*] - Pavrix"));
    EXPECT_FALSE(frame->isWindowModified());
}

TEST_F(DesktopTest, FrameWholeModelFillsTheViewWithAModelOfAnySize) {
    // A model 1 unit tall and one 800 units tall, both framed the same way.
    for (float scale : {0.5f, 400.0f}) {
        ASSERT_TRUE(Start({Character("m.x", 30.0f)}));
        view->GetCameraPivot()->SetPosition(nullptr, -50, 5, 0);
        Context().currentModel->Root()->AddScale(rm::D3DRMCOMBINE_BEFORE, scale, scale, scale);
        ASSERT_EQ(frame->OnCommand(ids::ViewFrameAll, framework::CommandSource::Accelerator), 1);
        EXPECT_EQ(frame->FindAccelerator(QKeyCombination(Qt::Key_Home)), ids::ViewFrameAll);

        rm::Viewport* viewport = view->GetDevice()->Viewport();
        rm::Box box;
        Context().sceneFrame->GetHierarchyBox(&box);
        float top = 1e9f, bottom = -1e9f;
        for (int corner = 0; corner < 8; ++corner) {
            const rm::Vector local{(corner & 1) ? box.max.x : box.min.x,
                                   (corner & 2) ? box.max.y : box.min.y,
                                   (corner & 4) ? box.max.z : box.min.z};
            rm::Vector world;
            Context().sceneFrame->Transform(&world, &local);
            rm::Vector4 screen;
            viewport->Transform(&screen, world);
            const float x = screen.x / screen.w, y = screen.y / screen.w;
            EXPECT_GE(x, 0.0f) << scale;
            EXPECT_LE(x, static_cast<float>(viewport->GetWidth())) << scale;
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
        // All of it in the picture, and not a few pixels in the middle.
        EXPECT_GE(top, 0.0f) << scale;
        EXPECT_LE(bottom, static_cast<float>(viewport->GetHeight())) << scale;
        EXPECT_GT(bottom - top, 0.4f * static_cast<float>(viewport->GetHeight())) << scale;
        Stop();
    }
}

TEST_F(DesktopTest, TheManualSaysSoWhenNoViewerTakesIt) {
    ASSERT_TRUE(Start());
    QTemporaryDir workingDir;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(workingDir.path()));
    QFile manual(workingDir.filePath(QStringLiteral("Manual.htm")));
    ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
    manual.close();
    frame->SetUrlOpener([](const QUrl&) { return false; });
    frame->OnCommand(ids::Manual, framework::CommandSource::Menu);
    QDir::setCurrent(previous);
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    EXPECT_EQ(ui.messageBox.Asked()[0].caption, QStringLiteral("Manual"));
    EXPECT_TRUE(ui.messageBox.Asked()[0].text.contains(QStringLiteral("表示できませんでした")));
    EXPECT_TRUE(
        ui.messageBox.Asked()[0].text.contains(QDir::toNativeSeparators(manual.fileName())));
}

} // namespace

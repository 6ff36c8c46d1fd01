#include "app/CDxMFCApp.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "app/BarControlIds.h"
#include "app/ProgramState.h"
#include "app/ShellFixture.h"
#include "platform/framework/Document.h"
#include "platform/rm/Frame.h"
#include "resources/CommandIds.h"
#include "resources/ResourceIds.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"

namespace {

using shell_test::SampleWalker;
using shell_test::ShellFixture;
namespace ids = resources::ids;

/// Counts the events it receives.
class EventCounter : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) {
            ++count;
            return true;
        }
        return QObject::event(event);
    }
    int count = 0;
};

class ApplicationTest : public ShellFixture {};

TEST_F(ApplicationTest, StartsWithTheProgramTitleAndAnEmptyDocument) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Pavrix / Prototype"));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(app->GetMainWnd(), frame);
    EXPECT_EQ(frame->GetActiveDocument()->GetPathName(), QString());
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
}

TEST_F(ApplicationTest, OpensTheFileOfTheCommandLineAndFramesItInTheView) {
    ASSERT_TRUE(QFile::exists(QString::fromStdString(SampleWalker())));
    ASSERT_TRUE(Start({QString::fromStdString(SampleWalker())}));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Pavrix / Prototype"));
    ASSERT_NE(g_currentAnimation, nullptr);
    ASSERT_NE(g_currentModel, nullptr);
    EXPECT_NE(g_currentCharacter, nullptr);
    EXPECT_EQ(g_currentModel->Root()->GetParent(), g_sceneFrame);
    EXPECT_EQ(Panel().GetDlgItemText(ctl::AnimationName), QStringLiteral("walker.x"));
    EXPECT_EQ(Panel().GetDlgItemText(ctl::ModelName), QStringLiteral("walker.x"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Min), QStringLiteral("0.00"));
    EXPECT_NE(Bar().GetDlgItemText(ctl::Max), QStringLiteral("0.00"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Time), QStringLiteral("0.00"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::KeyNo), QStringLiteral("0"));
    EXPECT_EQ(frame->GetActiveDocument()->GetPathName(), QString::fromStdString(SampleWalker()));

    // The camera pivot sits at the centre of the model.
    rm::Box box;
    g_currentModel->Root()->GetHierarchyBox(&box);
    rm::Vector pivot;
    view->GetCameraPivot()->GetPosition(g_currentModel->Root(), &pivot);
    EXPECT_NEAR(pivot.y, (box.min.y + box.max.y) * 0.5f, 1e-3f);
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
}

TEST_F(ApplicationTest, CenterWithAPartSelectedCentresOnTheWholeModel) {
    ASSERT_TRUE(Start({QString::fromStdString(SampleWalker())}));
    rm::Frame* root = g_currentModel->Root();
    ASSERT_NE(root, nullptr);
    ASSERT_FALSE(root->Children().empty());
    rm::Frame* part = root->Children().front().Get();
    while (!part->Children().empty())
        part = part->Children().front().Get();
    g_selectedPart = part;
    view->GetCameraPivot()->SetPosition(nullptr, 50, 50, 50);
    ASSERT_EQ(frame->OnCmdMsg(ctl::Center), 1);
    rm::Box box;
    root->GetHierarchyBox(&box);
    rm::Vector pivot;
    view->GetCameraPivot()->GetPosition(root, &pivot);
    EXPECT_NEAR(pivot.x, (box.min.x + box.max.x) * 0.5f, 1e-3f);
    EXPECT_NEAR(pivot.y, (box.min.y + box.max.y) * 0.5f, 1e-3f);
    EXPECT_NEAR(pivot.z, (box.min.z + box.max.z) * 0.5f, 1e-3f);
    g_selectedPart = nullptr;
}

TEST_F(ApplicationTest, AFileThatCannotBeLoadedEndsTheStartWithTheLoadMessage) {
    const QString bad = QStringLiteral(PAVRIX_FIXTURE_DIR "/x/header_bad_magic.x");
    ASSERT_TRUE(QFile::exists(bad));
    EXPECT_FALSE(Start({bad}));
    EXPECT_EQ(app->GetMainWnd(), nullptr);
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    EXPECT_EQ(ui.messageBox.Asked()[0].text, QStringLiteral("モデルのロードに失敗しました。"));
    EXPECT_EQ(ui.messageBox.Asked()[0].caption, QStringLiteral("Pavrix / Prototype"));
    // Without a main window the loop ends at once.
    EXPECT_EQ(app->Run(), 0);
}

TEST_F(ApplicationTest, LoopTicksOncePerPassWithoutEventsAndNotAfterTheQuit) {
    ASSERT_TRUE(Start());
    constexpr int kPasses = 7;
    int clockCalls = 0;
    // The tick reads the clock twice; the quit is asked for during the last wanted tick.
    frame->SetTickServices(
        [&] {
            ++clockCalls;
            if (clockCalls == 2 * kPasses)
                app->PostQuitMessage(3);
            return clockCalls * 0.001;
        },
        [](int) {});
    long passes = 0;
    app->SetPassHook([&](long pass) { passes = pass; });
    EXPECT_EQ(app->Run(), 3);
    EXPECT_EQ(clockCalls, 2 * kPasses);
    EXPECT_EQ(passes, kPasses);
    app.reset(); // ExitInstance already ran
}

TEST_F(ApplicationTest, WaitingEventsAreAllHandledBeforeTheNextTick) {
    ASSERT_TRUE(Start());
    EventCounter counter;
    for (int i = 0; i < 50; ++i)
        QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
    std::vector<int> seenAtTick;
    int clockCalls = 0;
    frame->SetTickServices(
        [&] {
            if (++clockCalls % 2 == 1)
                seenAtTick.push_back(counter.count);
            return clockCalls * 0.001;
        },
        [&](int) {
            if (seenAtTick.size() == 2)
                app->PostQuitMessage(0);
        });
    app->Run();
    ASSERT_EQ(seenAtTick.size(), 2u);
    EXPECT_EQ(seenAtTick[0], 50);
    app.reset();
}

TEST_F(ApplicationTest, ExitAsksAboutChangesThenEndsTheLoop) {
    ASSERT_TRUE(Start());
    frame->SetTickServices([] { return 0.0; }, [](int) {});
    frame->MarkDocumentModified();
    ui.messageBox.Push(framework::IdNo);
    app->SetPassHook([this](long pass) {
        if (pass == 3)
            frame->OnCommand(ids::AppExit, framework::CommandSource::Menu);
        ASSERT_LE(pass, 3);
    });
    EXPECT_EQ(app->Run(), 0);
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    EXPECT_EQ(ui.messageBox.Asked()[0].style & framework::MbTypeMask, framework::MbYesNoCancel);
    EXPECT_EQ(app->GetMainWnd(), nullptr);
    EXPECT_EQ(g_sceneRoot, nullptr);
    app.reset();
}

TEST_F(ApplicationTest, AboutShowsTemplate100) {
    ASSERT_TRUE(Start());
    ui.dialogRunner.PushOk();
    ASSERT_EQ(frame->OnCommand(ids::AppAbout, framework::CommandSource::Menu), 1);
    ASSERT_EQ(ui.dialogRunner.Runs().size(), 1u);
    EXPECT_EQ(ui.dialogRunner.Runs()[0].templateId, resources::res::AboutBox);
    EXPECT_EQ(ui.dialogRunner.Runs()[0].result, framework::IdOk);
}

} // namespace

#include "platform/framework/Application.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>
#include <gtest/gtest.h>

#include "FrameworkTestKit.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/ToolBar.h"

using namespace framework;
using namespace framework_test;

namespace {

// Counts the passes of the default loop instead of waiting for events.
class CountingApp : public TestApp {
public:
    void OnLoopPass() override {
        ++passes;
        if (passes == quitAfter) {
            PostQuitMessage(7);
        }
    }
    int OnIdle(long count) override {
        if (count == 0) {
            ++idleRuns;
        }
        return TestApp::OnIdle(count);
    }
    int passes = 0;
    int quitAfter = 3;
    int idleRuns = 0;
};

TEST(ApplicationTest, ThereIsOneApplicationAtATime) {
    EXPECT_EQ(Application::Instance(), nullptr);
    {
        TestApp app;
        EXPECT_EQ(Application::Instance(), &app);
    }
    EXPECT_EQ(Application::Instance(), nullptr);
}

TEST(ApplicationTest, TheLoopRunsUntilTheQuitAndReturnsItsCode) {
    CountingApp app;
    auto* frame = new TestFrame;
    app.SetMainWnd(frame);
    EXPECT_EQ(app.Run(), 7);
    EXPECT_EQ(app.passes, 3);
    EXPECT_EQ(app.PumpWaitingMessages(), 0);
    frame->DestroyWindow();
}

TEST(ApplicationTest, WithoutAMainWindowTheLoopEndsAtOnce) {
    CountingApp app;
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(app.passes, 0);
}

TEST(ApplicationTest, IdleUpdatesRunAgainOnlyAfterEventsThatMayChangeCommandStates) {
    CountingApp app;
    app.quitAfter = 4;
    auto* frame = new TestFrame;
    app.SetMainWnd(frame);
    // Before the second pass a key arrives; the third and fourth passes see nothing.
    QTimer::singleShot(0, frame, [frame] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
        QCoreApplication::sendEvent(frame, &press);
    });
    EXPECT_EQ(app.Run(), 7);
    // First pass (idle starts on), then once after the key.
    EXPECT_EQ(app.idleRuns, 2);
    frame->DestroyWindow();
}

TEST(ApplicationTest, IdleProcessingUpdatesTheMainWindowsBars) {
    TestApp app;
    auto* frame = new TestFrame;
    auto* bar = new ToolBar(frame); // the frame owns it
    bar->Create();
    ToolBarResource resource;
    resource.items = {57635};
    resource.bitmap = QImage(16, 15, QImage::Format_ARGB32_Premultiplied);
    bar->LoadToolBar(resource);
    app.SetMainWnd(frame);
    EXPECT_EQ(bar->IsButtonEnabled(57635), 1);
    EXPECT_EQ(app.OnIdle(0), 1);
    EXPECT_EQ(app.OnIdle(1), 0);
    EXPECT_EQ(bar->IsButtonEnabled(57635), 0);
    app.SetMainWnd(nullptr);
    frame->DestroyWindow();
}

} // namespace

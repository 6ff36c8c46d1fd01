#include "platform/framework/FrameWindow.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

#include "FrameworkTestKit.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/ScriptedUi.h"
#include "platform/framework/StandardIds.h"
#include "platform/framework/ToolBar.h"

using namespace framework;
using namespace framework_test;

namespace {

// Application, document, frame and view joined as the document template joins them.
class FrameWindowTest : public ::testing::Test {
protected:
    FrameWindowTest() {
        frame = new TestFrame;
        view = new TestView;
        frame->setCentralWidget(view);
        document.AddView(view);
        frame->SetActiveView(view);
    }
    ~FrameWindowTest() override { frame->DestroyWindow(); }

    // Gives each of the four targets named in `who` ("vdfa") a handler for `id` that
    // logs its letter.
    void HandleIn(const std::string& who, CommandId id) {
        for (char c : who) {
            const std::string entry(1, c);
            auto handler = [this, entry] { log.push_back(entry); };
            if (c == 'v') {
                view->MapCommand(id, handler);
            }
            if (c == 'd') {
                document.MapCommand(id, handler);
            }
            if (c == 'f') {
                frame->MapCommand(id, handler);
            }
            if (c == 'a') {
                app.MapCommand(id, handler);
            }
        }
    }

    ScriptedUi ui;
    TestApp app;
    TestDocument document;
    TestFrame* frame;
    TestView* view;
    Log log;
};

TEST_F(FrameWindowTest, CommandsGoToViewThenDocumentThenFrameThenApplication) {
    struct Case {
        std::string handlers;
        std::string expected;
    };
    const Case cases[] = {
        {"vdfa", "v"}, {"dfa", "d"}, {"fa", "f"}, {"a", "a"}, {"va", "v"},
        {"da", "d"},   {"df", "d"},  {"vf", "v"}, {"", ""},
    };
    CommandId id = 40000;
    for (const Case& c : cases) {
        log.clear();
        HandleIn(c.handlers, id);
        EXPECT_EQ(frame->RouteCommand(id), c.handlers.empty() ? 0 : 1) << c.handlers;
        EXPECT_EQ(log, c.expected.empty() ? Log{} : Log{c.expected}) << c.handlers;
        ++id;
    }
}

TEST_F(FrameWindowTest, WithoutAnActiveViewTheDocumentIsNotOnTheRoute) {
    HandleIn("d", 40100);
    HandleIn("da", 40101);
    frame->SetActiveView(nullptr);
    EXPECT_EQ(frame->RouteCommand(40100), 0);
    EXPECT_EQ(frame->RouteCommand(40101), 1);
    EXPECT_EQ(log, Log{"a"});
}

TEST_F(FrameWindowTest, UpdatesFollowTheRouteAndUnhandledCommandsAreDisabled) {
    HandleIn("f", 1);                                         // handled, no update rule
    view->MapUpdate(2, [](CCmdUI& ui) { ui.Enable(false); }); // rule disables
    HandleIn("a", 2);
    frame->MapUpdate(3, [](CCmdUI& ui) { ui.SetCheck(1); }); // rule checks only
    HandleIn("d", 3);
    app.MapUpdate(4, [](CCmdUI& ui) { ui.SetCheck(1); });         // rule, but no handler
    view->MapUpdate(5, [](CCmdUI& ui) { ui.Enable(true); });      // rule enables, no handler
    view->MapUpdate(6, [](CCmdUI& ui) { ui.ContinueRouting(); }); // passes on
    frame->MapUpdate(6, [](CCmdUI& ui) { ui.Enable(false); });
    HandleIn("v", 6);

    struct Case {
        CommandId id;
        bool enabled;
        int check; // -1: unchanged
    };
    const Case cases[] = {{1, true, -1}, {2, false, -1}, {3, true, 1},  {4, false, 1},
                          {5, true, -1}, {6, false, -1}, {7, false, -1}};
    for (const Case& c : cases) {
        CCmdUI state(c.id);
        frame->UpdateCommandUI(state, 1);
        EXPECT_TRUE(state.IsEnableChanged()) << c.id;
        EXPECT_EQ(state.IsEnabled(), c.enabled) << c.id;
        EXPECT_EQ(state.IsCheckChanged() ? state.GetCheck() : -1, c.check) << c.id;
    }

    // Without the "disable if no handler" rule nothing is decided for command 4.
    CCmdUI lenient(4);
    frame->UpdateCommandUI(lenient, 0);
    EXPECT_FALSE(lenient.IsEnableChanged());
}

TEST_F(FrameWindowTest, DisabledMenuAndAcceleratorCommandsAreDroppedButControlsAreNot) {
    HandleIn("f", 500);
    frame->MapUpdate(500, [](CCmdUI& ui) { ui.Enable(false); });
    EXPECT_EQ(frame->OnCommand(500, CommandSource::Menu), 0);
    EXPECT_EQ(frame->OnCommand(500, CommandSource::Accelerator), 0);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(frame->OnCommand(500, CommandSource::Control), 1);
    EXPECT_EQ(log, Log{"f"});
}

TEST_F(FrameWindowTest, AcceleratorsSendTheirCommandsOnlyWhenSomethingHandlesThem) {
    frame->LoadAccelerators({{Qt::CTRL | Qt::Key_X, ids::EditCut},
                             {Qt::CTRL | Qt::Key_Z, ids::EditUndo},
                             {QKeyCombination(Qt::Key_F6), ids::NextPane}});
    HandleIn("a", ids::EditCut);
    EXPECT_EQ(frame->FindAccelerator(Qt::CTRL | Qt::Key_Z), ids::EditUndo);
    EXPECT_EQ(frame->FindAccelerator(Qt::SHIFT | Qt::Key_Z), 0u);
    EXPECT_EQ(frame->TranslateAccelerator(Qt::CTRL | Qt::Key_Z), 0);
    EXPECT_EQ(frame->TranslateAccelerator(QKeyCombination(Qt::Key_F6)), 0);
    EXPECT_EQ(frame->TranslateAccelerator(Qt::CTRL | Qt::Key_X), 1);
    EXPECT_EQ(log, Log{"a"});
}

TEST_F(FrameWindowTest, OpeningAMenuGreysUnhandledItemsAndShowsCheckMarks) {
    frame->LoadMenu(
        {MenuItem::Popup(QStringLiteral("View(&V)"),
                         {MenuItem::Command(32782, QStringLiteral("Points")), MenuItem::Separator(),
                          MenuItem::Command(32786, QStringLiteral("Gouraud")),
                          MenuItem::Command(57616, QStringLiteral("最新のﾌｧｲﾙ"), true)})});
    HandleIn("v", 32782);
    view->MapUpdate(32782, [](CCmdUI& ui) { ui.SetCheck(1); });

    QAction* points = frame->GetMenuAction(32782);
    QAction* gouraud = frame->GetMenuAction(32786);
    QAction* recent = frame->GetMenuAction(57616);
    ASSERT_NE(points, nullptr);
    ASSERT_NE(gouraud, nullptr);
    ASSERT_NE(recent, nullptr);
    EXPECT_FALSE(recent->isEnabled());
    EXPECT_TRUE(gouraud->isEnabled()); // nothing has updated it yet

    QMenu* menu = frame->menuBar()->findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    EXPECT_TRUE(points->isEnabled());
    EXPECT_TRUE(points->isChecked());
    EXPECT_FALSE(gouraud->isEnabled());
    EXPECT_FALSE(recent->isEnabled());

    // A greyed item does nothing when triggered; an enabled one routes its command.
    gouraud->trigger();
    points->trigger();
    EXPECT_EQ(log, Log{"v"});
}

TEST_F(FrameWindowTest, TheToolBarMenuCommandShowsAndHidesTheFirstBarRegisteredUnderItsId) {
    ToolBar first(frame);
    first.Create();
    ToolBar second(frame);
    second.Create();
    ToolBar other(frame);
    other.Create(59400);
    other.EnableDocking(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    EXPECT_TRUE(other.isMovable());
    EXPECT_EQ(other.allowedAreas(), Qt::TopToolBarArea | Qt::BottomToolBarArea);
    EXPECT_FALSE(first.isMovable()); // bars stay where they are docked unless allowed

    EXPECT_EQ(frame->GetControlBar(ids::ToolBarBar), &first);
    CCmdUI shown(ids::ViewToolBar);
    frame->UpdateCommandUI(shown, 1);
    EXPECT_TRUE(shown.IsEnabled());
    EXPECT_EQ(shown.GetCheck(), 1);

    EXPECT_EQ(frame->OnCommand(ids::ViewToolBar, CommandSource::Menu), 1);
    EXPECT_EQ(first.IsShown(), 0);
    EXPECT_EQ(second.IsShown(), 1);
    CCmdUI hidden(ids::ViewToolBar);
    frame->UpdateCommandUI(hidden, 1);
    EXPECT_EQ(hidden.GetCheck(), 0);

    frame->OnCommand(ids::ViewToolBar, CommandSource::Menu);
    EXPECT_EQ(first.IsShown(), 1);

    // An identifier in the bar range with no bar behind it is greyed.
    CCmdUI missing(59393);
    frame->UpdateCommandUI(missing, 1);
    EXPECT_FALSE(missing.IsEnabled());
}

TEST_F(FrameWindowTest, TheWindowTextShowsTheDocumentTitleBeforeTheProgramTitle) {
    frame->SetTitle(QStringLiteral("Pavrix"));
    document.SetPathName(QStringLiteral("/home/user/models/walker.x"));
    EXPECT_EQ(document.GetTitle(), QStringLiteral("walker.x"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("walker.x[*] - Pavrix"));
    // Names handed over with backslashes keep only the part after the last one.
    document.SetPathName(QStringLiteral("C:\\data\\run.x"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("run.x[*] - Pavrix"));
    // "[*]" shows the desktop's unsaved-changes mark while the document is modified.
    EXPECT_FALSE(frame->isWindowModified());
    document.SetModifiedFlag(1);
    EXPECT_TRUE(frame->isWindowModified());
    document.SetModifiedFlag(0);
    EXPECT_FALSE(frame->isWindowModified());
}

TEST_F(FrameWindowTest, TheFrameMessageBoxUsesTheApplicationTitleWhenNoCaptionIsGiven) {
    ui.messageBox.Push(IdCancel);
    EXPECT_EQ(frame->MessageBox(QStringLiteral("text"), QString(), MbOkCancel | MbIconQuestion),
              IdCancel);
    EXPECT_EQ(frame->MessageBox(QStringLiteral("Pavrix の実行には"), QStringLiteral("Pavrix"),
                                MbIconInformation),
              IdOk);
    ASSERT_EQ(ui.messageBox.Asked().size(), 2u);
    EXPECT_EQ(ui.messageBox.Asked()[0].caption, QStringLiteral("Pavrix / Prototype"));
    EXPECT_EQ(ui.messageBox.Asked()[0].style, 33u);
    EXPECT_EQ(ui.messageBox.Asked()[1].caption, QStringLiteral("Pavrix"));
    EXPECT_EQ(ui.messageBox.Asked()[1].style, 64u);
}

} // namespace

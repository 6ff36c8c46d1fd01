#include "platform/framework/SingleDocTemplate.h"

#include <gtest/gtest.h>

#include "FrameworkTestKit.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/ScriptedUi.h"
#include "platform/framework/StandardIds.h"

using namespace framework;
using namespace framework_test;

namespace {

const QString kDocumentString =
    QStringLiteral("Pavrix\n\nPX\nX ﾌｧｲﾙ (*.x)\n.x\nX.Document\nX Document");
const QString kFilter = QStringLiteral("X ﾌｧｲﾙ (*.x)|*.x|すべてのﾌｧｲﾙ (*.*)|*.*||");

class SingleDocTemplateTest : public ::testing::Test {
protected:
    SingleDocTemplateTest() {
        FrameResources resources;
        resources.id = 128;
        resources.documentString = kDocumentString;
        auto docTemplate = std::make_unique<SingleDocTemplate>(
            resources, [this] { return MakeDocument(); },
            [this]() -> FrameWindow* {
                auto* frame = new TestFrame;
                frame->failCreate = failFrame;
                return frame;
            },
            [] { return new TestView; });
        tpl = docTemplate.get();
        app.AddDocTemplate(std::move(docTemplate));
    }

    std::unique_ptr<Document> MakeDocument() {
        auto made = std::make_unique<TestDocument>();
        document = made.get();
        return made;
    }

    // Starts with a modified document saved at `path` (empty: never saved).
    void StartModified(const QString& path) {
        ASSERT_EQ(app.ProcessShellCommand({}), 1);
        if (!path.isEmpty()) {
            document->SetPathName(path);
        }
        document->SetModifiedFlag(1);
        document->log.clear();
    }

    TestView* View() const { return static_cast<TestView*>(tpl->GetFrame()->GetActiveView()); }

    ScriptedUi ui;
    TestApp app;
    SingleDocTemplate* tpl = nullptr;
    TestDocument* document = nullptr;
    bool failFrame = false;
};

TEST_F(SingleDocTemplateTest, NewAtStartUpMakesFrameAndViewBeforeTheDocumentsNewHook) {
    ASSERT_EQ(app.ProcessShellCommand({}), 1);
    ASSERT_NE(tpl->GetFrame(), nullptr);
    EXPECT_EQ(document->log, Log{"new"});
    EXPECT_TRUE(document->frameSeenAtNew);
    EXPECT_EQ(app.GetMainWnd(), tpl->GetFrame());
    EXPECT_EQ(tpl->GetFrame()->GetActiveDocument(), document);
    EXPECT_EQ(View()->initialUpdates, 1);
    EXPECT_EQ(document->GetTitle(), QStringLiteral("無題"));
    EXPECT_EQ(tpl->GetFrame()->windowTitle(), QStringLiteral("無題[*] - Pavrix"));
    EXPECT_TRUE(ui.messageBox.Asked().empty());
    // Start-up gives the window its text before it shows it.
    EXPECT_FALSE(tpl->GetFrame()->isVisible());
}

TEST_F(SingleDocTemplateTest, AFileOnTheCommandLineIsOpenedInsteadOfNew) {
    ASSERT_EQ(app.ProcessShellCommand({QStringLiteral("-style"), QStringLiteral("/m/walker.x")}),
              1);
    EXPECT_EQ(document->log, Log{"open /m/walker.x"});
    EXPECT_EQ(document->GetPathName(), QStringLiteral("/m/walker.x"));
    EXPECT_EQ(tpl->GetFrame()->windowTitle(), QStringLiteral("walker.x[*] - Pavrix"));
}

TEST_F(SingleDocTemplateTest, TheSaveQuestionsThreeAnswers) {
    struct Case {
        int answer;
        int newResult;
        Log log;
        int modifiedAfter;
    };
    const Case cases[] = {
        {IdYes, 1, {"save /m/walker.x", "new"}, 0},
        {IdNo, 1, {"new"}, 0},
        {IdCancel, 0, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        ui.messageBox.Clear();
        if (tpl->GetDocument() == nullptr) {
            StartModified(QStringLiteral("/m/walker.x"));
        }
        document->SetPathName(QStringLiteral("/m/walker.x"));
        document->SetModifiedFlag(1);
        document->log.clear();
        ui.messageBox.Push(c.answer);

        EXPECT_EQ(app.OnCmdMsg(ids::FileNew), 1);
        EXPECT_EQ(document->log, c.log);
        EXPECT_EQ(document->IsModified(), c.modifiedAfter);
        ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
        EXPECT_EQ(ui.messageBox.Asked()[0].text,
                  QStringLiteral("walker.x への変更を保存しますか?"));
        EXPECT_EQ(ui.messageBox.Asked()[0].caption, QStringLiteral("Pavrix / Prototype"));
        EXPECT_EQ(ui.messageBox.Asked()[0].style, MbYesNoCancel | MbIconQuestion);
        EXPECT_EQ(tpl->GetFrame()->GetActiveDocument(), document); // one document, reused
    }
}

TEST_F(SingleDocTemplateTest, AnUnmodifiedDocumentIsReplacedWithoutAQuestion) {
    ASSERT_EQ(app.ProcessShellCommand({}), 1);
    document->log.clear();
    app.OnCmdMsg(ids::FileNew);
    EXPECT_EQ(document->log, Log{"new"});
    EXPECT_TRUE(ui.messageBox.Asked().empty());
    EXPECT_EQ(View()->initialUpdates, 2); // views are updated after every New
}

TEST_F(SingleDocTemplateTest, YesOnAnUntitledDocumentAsksForANameAndCancellingThatStopsNew) {
    StartModified(QString());
    ui.messageBox.Push(IdYes);
    ui.fileDialog.Cancel();
    app.OnCmdMsg(ids::FileNew);
    EXPECT_TRUE(document->log.empty());
    EXPECT_EQ(document->IsModified(), 1);
    EXPECT_EQ(ui.messageBox.Asked().at(0).text, QStringLiteral("無題 への変更を保存しますか?"));
    ASSERT_EQ(ui.fileDialog.Requests().size(), 1u);
    const FileDialogRequest& request = ui.fileDialog.Requests()[0];
    EXPECT_FALSE(request.open);
    EXPECT_EQ(request.fileName, QStringLiteral("無題.x"));
    EXPECT_EQ(request.defaultExt, QStringLiteral("x"));
    EXPECT_EQ(request.filter, kFilter);
    EXPECT_NE(request.flags & OfnOverwritePrompt, 0u);
}

TEST_F(SingleDocTemplateTest, OpenShowsTheOpenDialogThenAsksThenOpens) {
    StartModified(QStringLiteral("/m/old.x"));
    ui.fileDialog.Choose(QStringLiteral("/m/new.x"));
    ui.messageBox.Push(IdNo);
    app.OnCmdMsg(ids::FileOpen);
    ASSERT_EQ(ui.fileDialog.Requests().size(), 1u);
    EXPECT_TRUE(ui.fileDialog.Requests()[0].open);
    EXPECT_EQ(ui.fileDialog.Requests()[0].filter, kFilter);
    EXPECT_EQ(ui.messageBox.Texts(),
              std::vector<QString>{QStringLiteral("old.x への変更を保存しますか?")});
    EXPECT_EQ(document->log, Log{"open /m/new.x"});
    EXPECT_EQ(document->GetPathName(), QStringLiteral("/m/new.x"));
    EXPECT_EQ(document->IsModified(), 0);
    EXPECT_EQ(tpl->GetFrame()->windowTitle(), QStringLiteral("new.x[*] - Pavrix"));

    // Cancelling the dialog asks nothing and opens nothing.
    document->log.clear();
    document->SetModifiedFlag(1);
    ui.fileDialog.Cancel();
    app.OnCmdMsg(ids::FileOpen);
    EXPECT_TRUE(document->log.empty());
    EXPECT_EQ(ui.messageBox.Asked().size(), 1u);
}

TEST_F(SingleDocTemplateTest, AFailedOpenKeepsThePathNameAndTheModifiedFlag) {
    StartModified(QStringLiteral("/m/old.x"));
    ui.messageBox.Push(IdNo);
    document->openResult = 0;
    EXPECT_EQ(app.OpenDocumentFile(QStringLiteral("/m/broken.x")), 0);
    EXPECT_EQ(document->GetPathName(), QStringLiteral("/m/old.x"));
    EXPECT_EQ(document->IsModified(), 1);
    EXPECT_NE(tpl->GetFrame(), nullptr);
}

TEST_F(SingleDocTemplateTest, SaveAsTakesTheChosenPathAndAFailedSaveStaysModified) {
    StartModified(QStringLiteral("/m/walker.x"));
    ui.fileDialog.Choose(QStringLiteral("/m/copy.x"));
    EXPECT_EQ(document->OnCmdMsg(ids::FileSaveAs), 1);
    EXPECT_EQ(ui.fileDialog.Requests().at(0).fileName, QStringLiteral("/m/walker.x"));
    EXPECT_EQ(document->log, Log{"save /m/copy.x"});
    EXPECT_EQ(document->GetPathName(), QStringLiteral("/m/copy.x"));
    EXPECT_EQ(document->IsModified(), 0);

    // The document's hook clears the flag before it writes; a failed write must not
    // leave the document looking saved.
    document->SetModifiedFlag(1);
    document->saveResult = 0;
    document->log.clear();
    EXPECT_EQ(document->DoFileSave(), 0);
    EXPECT_EQ(document->log, Log{"save /m/copy.x"});
    EXPECT_EQ(document->IsModified(), 1);
    EXPECT_EQ(document->GetPathName(), QStringLiteral("/m/copy.x"));

    // Save on an untitled document goes through Save As.
    document->saveResult = 1;
    document->SetPathName(QString());
    ui.fileDialog.Choose(QStringLiteral("/m/named.x"));
    document->OnCmdMsg(ids::FileSave);
    EXPECT_EQ(document->GetPathName(), QStringLiteral("/m/named.x"));
}

TEST_F(SingleDocTemplateTest, AFrameThatCannotBeCreatedIsReported) {
    failFrame = true;
    EXPECT_EQ(app.ProcessShellCommand({}), 0);
    EXPECT_EQ(tpl->GetFrame(), nullptr);
    EXPECT_EQ(tpl->GetDocument(), nullptr);
    EXPECT_EQ(app.GetMainWnd(), nullptr);
    EXPECT_EQ(ui.messageBox.Texts(),
              std::vector<QString>{QStringLiteral("空のﾄﾞｷｭﾒﾝﾄの作成に失敗しました。")});
}

TEST_F(SingleDocTemplateTest, AFailedNewAtStartUpTakesTheFrameDownSilently) {
    document = nullptr;
    auto failing = [this] {
        auto made = MakeDocument();
        static_cast<TestDocument*>(made.get())->newResult = 0;
        return made;
    };
    FrameResources resources;
    resources.documentString = kDocumentString;
    app.AddDocTemplate(std::make_unique<SingleDocTemplate>(
        resources, failing, [] { return new TestFrame; }, [] { return new TestView; }));
    EXPECT_EQ(app.ProcessShellCommand({}), 0);
    EXPECT_EQ(app.GetDocTemplate()->GetFrame(), nullptr);
    EXPECT_EQ(app.GetMainWnd(), nullptr);
    EXPECT_TRUE(ui.messageBox.Asked().empty());
}

TEST_F(SingleDocTemplateTest, ClosingAModifiedDocumentsWindowAsksFirst) {
    StartModified(QStringLiteral("/m/walker.x"));
    FrameWindow* frame = tpl->GetFrame();
    frame->show();
    ui.messageBox.Push(IdCancel);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(app.IsQuitPosted(), 0);

    ui.messageBox.Push(IdNo);
    EXPECT_EQ(frame->OnCommand(ids::AppExit, CommandSource::Menu), 1);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(app.IsQuitPosted(), 1);
    EXPECT_EQ(ui.messageBox.Asked().size(), 2u);
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_EQ(tpl->GetFrame(), nullptr);
}

} // namespace

#include "platform/framework/QtFileDialog.h"

#include <gtest/gtest.h>

#include "platform/framework/FileDialog.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/ScriptedUi.h"

using namespace framework;

namespace {

TEST(QtFileDialogTest, FiltersBecomeNameFiltersWithoutRepeatingTheirPatterns) {
    struct Case {
        const char* filter;
        QStringList expected;
    };
    const Case cases[] = {
        {"X ﾌｧｲﾙ (*.x)|*.x|すべてのﾌｧｲﾙ (*.*)|*.*||", {"X ﾌｧｲﾙ (*.x)", "すべてのﾌｧｲﾙ (*.*)"}},
        {"Models|*.x;*.X|", {"Models (*.x *.X)"}},
        {"", {}},
        {"|*.x||", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QtFileDialog::ToNameFilters(QString::fromUtf8(c.filter)), c.expected) << c.filter;
    }
}

TEST(FileDialogTest, AFileDialogAsksThroughTheInstalledService) {
    ScriptedUi ui;
    ui.fileDialog.Choose(QStringLiteral("/data/walker.x"));
    FileDialog dialog(true, QStringLiteral("x"), QString(), OfnHideReadOnly | OfnOverwritePrompt,
                      QStringLiteral("X ﾌｧｲﾙ (*.x)|*.x|すべてのﾌｧｲﾙ (*.*)|*.*||"));
    EXPECT_EQ(dialog.DoModal(), IdOk);
    EXPECT_EQ(dialog.GetPathName(), QStringLiteral("/data/walker.x"));
    ASSERT_EQ(ui.fileDialog.Requests().size(), 1u);
    EXPECT_TRUE(ui.fileDialog.Requests()[0].open);
    EXPECT_EQ(ui.fileDialog.Requests()[0].defaultExt, QStringLiteral("x"));
    EXPECT_EQ(ui.fileDialog.Requests()[0].flags, 6u);

    FileDialog cancelled(true);
    EXPECT_EQ(cancelled.DoModal(), IdCancel); // nothing queued
    EXPECT_EQ(cancelled.GetPathName(), QString());
    EXPECT_EQ(ui.fileDialog.UnscriptedCount(), 1);
}

} // namespace

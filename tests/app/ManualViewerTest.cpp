// Help always answers: xdg-open's failures are seen.

#include "app/ManualViewer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

/// Runs the loop until `done` or five seconds.
template <typename Done>
void WaitFor(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

TEST(ManualViewerTest, AnOpenerThatFailsOrCannotStartIsReportedOnce) {
    struct Case {
        const char* program;
        bool fails;
    };
    for (const Case& c :
         {Case{"false", true}, Case{"/nonexistent/xdg-open", true}, Case{"true", false}}) {
        ManualViewer viewer;
        viewer.SetProgram(QString::fromLatin1(c.program));
        int failures = 0;
        bool ended = false;
        viewer.Open(QStringLiteral("/tmp/Manual.htm"), [&failures] { ++failures; });
        // A second opener marks when the first has surely been answered.
        ManualViewer marker;
        marker.SetProgram(QStringLiteral("false"));
        marker.Open(QStringLiteral("/tmp/Manual.htm"), [&ended] { ended = true; });
        WaitFor([&] { return ended && (failures > 0 || !c.fails); });
        QCoreApplication::processEvents();
        EXPECT_EQ(failures, c.fails ? 1 : 0) << c.program;
    }
}

} // namespace

// The pavrix program: the editor, or, for the options of the command line, the headless
// commands without any window.

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QImage>

#include "app/CDxMFCApp.h"
#include "app/CMainFrame.h"
#include "cli/Cli.h"
#include "platform/framework/ToolBar.h"
#include "resources/CommandIds.h"
#include "session/EditContext.h"
#include "view/CDxMFCView.h"

namespace {

// PAVRIX_SCREENSHOT=FILE.png (with PAVRIX_SCREENSHOT_TICKS, default 60) saves a picture
// of the main window after that many passes of the loop, writes the frame rate of the
// last second to standard error and ends the program: a look at the window on a machine
// without a screen grabber. PAVRIX_SCREENSHOT_PLAY=1 presses Play first, so the picture
// shows the animation under way; PAVRIX_SCREENSHOT_VIEW=1..6 picks a camera view of the
// control panel's list ("Flont" … "Bottom") first.
void InstallScreenshot(CDxMFCApp& app) {
    const QString path = qEnvironmentVariable("PAVRIX_SCREENSHOT");
    if (path.isEmpty()) {
        return;
    }
    bool ok = false;
    long ticks = qEnvironmentVariableIntValue("PAVRIX_SCREENSHOT_TICKS", &ok);
    if (!ok || ticks < 1) {
        ticks = 60;
    }
    const int cameraView = qEnvironmentVariableIntValue("PAVRIX_SCREENSHOT_VIEW");
    if (cameraView >= 1 && cameraView <= 6) {
        if (CMainFrame* frame = app.GetMainFrame()) {
            frame->SelectCameraView(cameraView);
            frame->ApplyCameraView();
        }
    }
    if (qEnvironmentVariableIntValue("PAVRIX_SCREENSHOT_PLAY") == 1) {
        if (CMainFrame* frame = app.GetMainFrame()) {
            if (QAction* play =
                    frame->GetAnimationToolBar()->GetAction(resources::ids::PlayAnimation)) {
                play->trigger();
            }
        }
    }
    app.SetPassHook([&app, path, ticks](long pass) {
        if (pass != ticks) {
            return;
        }
        int status = 0;
        if (CMainFrame* frame = app.GetMainFrame()) {
            status = frame->grab().save(path) ? 0 : 1;
            std::fprintf(stderr, "pavrix: %d frames per second, time %.2f\n", frame->Context().fps,
                         static_cast<double>(frame->Context().currentTime));
        }
        app.PostQuitMessage(status);
    });
}

/// Takes `--lang ja|en` (before any "--") out of the arguments: its value, "" without
/// one, or nothing (after a message) when the option is wrong.
std::optional<QString> TakeLanguage(std::vector<char*>& arguments) {
    QString language;
    std::vector<char*> kept;
    bool filesOnly = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        filesOnly = filesOnly || argument == "--";
        if (filesOnly || i == 0 || argument != "--lang") {
            kept.push_back(arguments[i]);
            continue;
        }
        const std::string_view value = i + 1 < arguments.size() ? arguments[i + 1] : "";
        if (value != "ja" && value != "en") {
            std::fprintf(stderr, "pavrix: --lang takes ja or en\n"
                                 "Try 'pavrix --help' for more information.\n");
            return std::nullopt;
        }
        language = QString::fromLatin1(value.data(), static_cast<qsizetype>(value.size()));
        ++i;
    }
    arguments = std::move(kept);
    return language;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<char*> arguments(argv, argv + argc);
    const std::optional<QString> language = TakeLanguage(arguments);
    if (!language) {
        return 2;
    }
    argc = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    argv = arguments.data();
    if (cli::IsCommandLine(argc, argv)) {
        return cli::Run(argc, argv);
    }

    QApplication application(argc, argv);
    // After "--" a name is a file even when it starts with '-'; the shell command takes
    // it as a path.
    QStringList files;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        if (argument != QStringLiteral("--")) {
            files.push_back(argument.startsWith(QLatin1Char('-'))
                                ? QFileInfo(argument).absoluteFilePath()
                                : argument);
        }
    }
    CDxMFCApp app(files, [] { return new CDxMFCView; });
    app.SetLanguage(*language);
    if (!app.InitInstance()) {
        app.ExitInstance();
        return 1;
    }
    InstallScreenshot(app);
    return app.Run();
}

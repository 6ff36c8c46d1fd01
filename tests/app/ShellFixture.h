#pragma once

// The whole editor shell in one test fixture: the application object with its template,
// main frame, document and 3D view, with scripted message boxes, file dialogs and
// dialogs, on the offscreen platform and the software rasteriser.

#include <memory>
#include <string>

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/CDxMFCApp.h"
#include "app/CMainFrame.h"
#include "platform/framework/DialogBar.h"
#include "platform/framework/ScriptedUi.h"
#include "platform/framework/StandardIds.h"
#include "platform/framework/ToolBar.h"
#include "view/CDxMFCView.h"

namespace shell_test {

/// samples/walker.x of the repository: a small walking character.
inline std::string SampleWalker() {
    return std::string(PAVRIX_SAMPLES_DIR) + "/walker.x";
}

class ShellFixture : public ::testing::Test {
protected:
    /// Every test keeps the editor's settings (recent files, window, play speed) and its
    /// autosaves in a folder of its own, shared by the runs it starts.
    ShellFixture()
        : m_previousConfig(qgetenv("XDG_CONFIG_HOME")), m_previousData(qgetenv("XDG_DATA_HOME")) {
        if (config.isValid()) {
            qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
            qputenv("XDG_DATA_HOME", QFile::encodeName(config.filePath(QStringLiteral("data"))));
        }
    }
    ~ShellFixture() override {
        Stop();
        qputenv("XDG_CONFIG_HOME", m_previousConfig);
        qputenv("XDG_DATA_HOME", m_previousData);
    }

    /// Starts the program as `pavrix arguments...` would; false when start-up failed.
    bool Start(const QStringList& arguments = {}) {
        app = std::make_unique<CDxMFCApp>(arguments, [] { return new CDxMFCView; });
        app->SetLanguage(language);
        if (!app->InitInstance()) {
            return false;
        }
        frame = app->GetMainFrame();
        view = frame != nullptr ? dynamic_cast<CDxMFCView*>(frame->GetActiveView()) : nullptr;
        return frame != nullptr && view != nullptr;
    }

    /// Start for a test that writes its files into `folder`: false when the folder could not
    /// be made or start-up failed.
    bool StartWith(const QTemporaryDir& folder) { return folder.isValid() && Start(); }

    void TearDown() override { Stop(); }

    /// Takes the program down as the end of its loop does.
    void Stop() {
        if (app != nullptr) {
            app->ExitInstance();
            app.reset();
        }
        frame = nullptr;
        view = nullptr;
    }

    /// A command as the menu gives it; the handler's result.
    int Menu(framework::CommandId id) {
        return frame->OnCommand(id, framework::CommandSource::Menu);
    }
    /// File Open of `path`, the open dialog answered with it.
    int OpenFile(const QString& path) {
        ui.fileDialog.Choose(path);
        return Menu(framework::ids::FileOpen);
    }

    /// The main frame's edit context.
    session::EditContext& Context() const { return frame->Context(); }
    framework::DialogControls& Panel() { return frame->GetControlPanel()->Controls(); }
    framework::DialogControls& Bar() { return frame->GetAnimationBar()->Controls(); }

    QTemporaryDir config;
    /// The interface language `Start` gives the program (`--lang`); empty: the settings'.
    QString language;
    framework::ScriptedUi ui;
    std::unique_ptr<CDxMFCApp> app;
    CMainFrame* frame = nullptr; // owned by the template
    CDxMFCView* view = nullptr;  // owned by the frame

private:
    QByteArray m_previousConfig;
    QByteArray m_previousData;
};

} // namespace shell_test

#include "app/CDxMFCApp.h"

#include <memory>

#include "app/CDxMFCDoc.h"
#include "app/CMainFrame.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/SingleDocTemplate.h"
#include "platform/framework/UiServices.h"
#include "resources/AboutBox.h"
#include "resources/CommandIds.h"
#include "resources/MainFrameResources.h"
#include "resources/Strings.h"

CDxMFCApp::CDxMFCApp(QStringList arguments, ViewFactory makeView)
    : Application(resources::AppTitle()), m_arguments(std::move(arguments)),
      m_makeView(std::move(makeView)) {
    MapCommand(resources::ids::AppAbout, [this] { OnAppAbout(); });
    // The scene data model's own messages (an unnamed frame, too many key times) go to
    // the application's message box like the document's.
    m_previousMessageHook = scene::SetMessageHook([](std::string_view text) {
        framework::UiServices::AppMessageBox(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), framework::MbOk);
    });
}

CDxMFCApp::~CDxMFCApp() {
    scene::SetMessageHook(std::move(m_previousMessageHook));
}

int CDxMFCApp::InitInstance() {
    // No settings are read: no registry, no profile, no recent-file list.
    AddDocTemplate(std::make_unique<framework::SingleDocTemplate>(
        resources::MainFrameResources(), [] { return std::make_unique<CDxMFCDoc>(); },
        [] { return new CMainFrame; }, m_makeView));
    if (!ProcessShellCommand(m_arguments))
        return 0;
    framework::FrameWindow* frame = GetMainWnd();
    if (frame == nullptr)
        return 0;
    frame->setWindowTitle(resources::AppTitle());
    // Room for the whole control panel and a usable view; the window manager may shrink it.
    frame->resize(frame->sizeHint().expandedTo(QSize(960, 720)));
    frame->show();
    frame->update();
    return 1;
}

int CDxMFCApp::Run() {
    if (GetMainWnd() == nullptr)
        PostQuitMessage(0);
    int idle = 1;
    for (long pass = 1;; ++pass) {
        // Command-state updates run (idle count 0) on every pass that wants idle work.
        for (long count = 0; idle; ++count)
            if (!OnIdle(count))
                idle = 0;
        if (!PumpWaitingMessages())
            return ExitInstance();
        if (TakeIdleRequest())
            idle = 1;
        if (CMainFrame* frame = GetMainFrame())
            frame->Tick();
        if (m_passHook)
            m_passHook(pass);
    }
}

CMainFrame* CDxMFCApp::GetMainFrame() const {
    return dynamic_cast<CMainFrame*>(GetMainWnd());
}

void CDxMFCApp::OnAppAbout() {
    std::unique_ptr<framework::Dialog> about = resources::CreateAboutBox(GetMainWnd());
    about->DoModal();
}

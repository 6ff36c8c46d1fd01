#include "platform/framework/Application.h"

#include <QCoreApplication>
#include <QEventLoop>

#include "platform/Assert.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/FrameWindow.h"
#include "platform/framework/FrameworkStrings.h"
#include "platform/framework/IdleEventWatcher.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/SingleDocTemplate.h"
#include "platform/framework/StandardIds.h"
#include "platform/framework/UiServices.h"

namespace framework {

namespace {
Application* g_instance = nullptr;
} // namespace

Application::Application(const QString& appTitle)
    : m_appTitle(appTitle), m_watcher(std::make_unique<IdleEventWatcher>()) {
    PAVRIX_ASSERT(g_instance == nullptr, "Application::Application: there is one already");
    g_instance = this;
    UiServices::SetAppTitle(appTitle);
    MapCommand(ids::FileNew, [this] { OnFileNew(); });
    MapCommand(ids::FileOpen, [this] { OnFileOpen(); });
}

Application::~Application() {
    // The frame's and document's clean-up may still ask for the application.
    m_template.reset();
    if (g_instance == this) {
        g_instance = nullptr;
    }
}

Application* Application::Instance() {
    return g_instance;
}

int Application::InitInstance() {
    return 1;
}

int Application::Run() {
    if (GetMainWnd() == nullptr) {
        PostQuitMessage(0);
    }
    int idle = 1;
    for (;;) {
        for (long count = 0; idle && OnIdle(count); ++count) {
        }
        idle = 0;
        if (!PumpWaitingMessages()) {
            return ExitInstance();
        }
        if (TakeIdleRequest()) {
            idle = 1;
        }
        OnLoopPass();
    }
}

int Application::OnIdle(long count) {
    if (count > 0) {
        return 0;
    }
    if (FrameWindow* frame = GetMainWnd()) {
        frame->OnIdleUpdateCmdUI();
    }
    return 1;
}

void Application::OnLoopPass() {
    if (!m_quitPosted) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

int Application::ExitInstance() {
    if (m_template != nullptr) {
        m_template->CloseAllDocuments();
    }
    m_mainWindow = nullptr;
    return m_exitCode;
}

void Application::AddDocTemplate(std::unique_ptr<SingleDocTemplate> docTemplate) {
    m_template = std::move(docTemplate);
}

FrameWindow* Application::GetMainWnd() const {
    return m_mainWindow.data();
}

void Application::SetMainWnd(FrameWindow* frame) {
    m_mainWindow = frame;
    UiServices::SetDefaultOwner(frame);
}

int Application::ProcessShellCommand(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (!argument.isEmpty() && !argument.startsWith(QLatin1Char('-'))) {
            return OpenDocumentFile(argument, 0);
        }
    }
    return OpenDocumentFile(QString(), 0);
}

int Application::OpenDocumentFile(const QString& path, int makeVisible) {
    return m_template != nullptr ? m_template->OpenDocumentFile(path, makeVisible) : 0;
}

void Application::AddToRecentFileList(const QString&) {}

void Application::OnFileNew() {
    OpenDocumentFile(QString());
}

void Application::OnFileOpen() {
    if (m_template == nullptr) {
        return;
    }
    FileDialog dialog(true, QString(), QString(), OfnHideReadOnly | OfnFileMustExist,
                      m_template->GetFilter(), GetMainWnd());
    dialog.Request().title = strings::OpenFileTitle();
    if (dialog.DoModal() != IdOk) {
        return;
    }
    OpenDocumentFile(dialog.GetPathName());
}

int Application::PumpWaitingMessages() {
    if (!m_quitPosted) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        // Outside a running event loop Qt leaves deleteLater() requests waiting.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return m_quitPosted ? 0 : 1;
}

int Application::TakeIdleRequest() {
    return m_watcher->Take();
}

void Application::PostQuitMessage(int exitCode) {
    if (m_quitPosted) {
        return;
    }
    m_quitPosted = true;
    m_exitCode = exitCode;
    // Wake a loop that waits for events.
    if (QCoreApplication* application = QCoreApplication::instance()) {
        QCoreApplication::postEvent(application, new QEvent(QEvent::User));
    }
}

} // namespace framework

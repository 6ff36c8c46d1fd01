#pragma once

#include <memory>

#include <QPointer>
#include <QString>
#include <QStringList>

#include "platform/framework/CommandTarget.h"

namespace framework {

class FrameWindow;
class IdleEventWatcher;
class SingleDocTemplate;

/// The application object: owns the document template, knows the main window, handles
/// New (57600) and Open (57601) in its command map, and runs the message loop. It is
/// the last stop of the command routing. There is one at a time (`Instance`); it is made
/// after the QApplication and destroyed before it.
///
/// A program derives from it, overrides `InitInstance` (register the template, carry out
/// the command line, show the main window) and, for a loop of its own, `Run`, built from
/// `OnIdle`, `PumpWaitingMessages`, `TakeIdleRequest` and `ExitInstance`:
///
///     int idle = 1;
///     for (;;) {
///         for (long count = 0; idle && OnIdle(count); ++count) {}
///         idle = 0;
///         if (!PumpWaitingMessages()) return ExitInstance();
///         if (TakeIdleRequest()) idle = 1;
///         ... the program's own work for this pass ...
///     }
///
/// Start-up registers the template and carries out the command line:
///
///     int CDxMFCApp::InitInstance() {
///         AddDocTemplate(std::make_unique<SingleDocTemplate>(
///             resources::MainFrameResources(), [] { return std::make_unique<CDxMFCDoc>(); },
///             [] { return new CMainFrame; }, [] { return new CDxMFCView; }));
///         if (!ProcessShellCommand(arguments)) return 0;
///         GetMainWnd()->setWindowTitle("Pavrix / Prototype");
///         GetMainWnd()->show();
///         return 1;
///     }
class Application : public CommandTarget {
public:
    /// `appTitle` is the caption of the application's message boxes (string 57344).
    explicit Application(const QString& appTitle);
    /// Destroys frame and document (without asking).
    ~Application() override;

    /// The application object, or null when there is none.
    static Application* Instance();

    /// Start-up; the default returns 1. 0 ends the program before the loop.
    virtual int InitInstance();
    /// The message loop as sketched in the class comment, with `OnLoopPass` as the
    /// program's work; returns the exit code from `ExitInstance`.
    virtual int Run();
    /// Idle processing. Pass 0 updates the command states of the main window's shown
    /// control bars and returns 1; later passes return 0 (nothing more to do).
    virtual int OnIdle(long count);
    /// Called at the end of every pass of `Run`. The default waits for the next event
    /// (the default loop does no work of its own between events).
    virtual void OnLoopPass();
    /// After the loop: destroys frame and document; returns the exit code given to
    /// `PostQuitMessage`.
    virtual int ExitInstance();

    const QString& GetAppTitle() const { return m_appTitle; }

    /// Takes the program's document template (one only: a second replaces the first).
    void AddDocTemplate(std::unique_ptr<SingleDocTemplate> docTemplate);
    SingleDocTemplate* GetDocTemplate() const { return m_template.get(); }
    /// The main window; null before the first document template run made it and after it
    /// was destroyed. Borrowed.
    FrameWindow* GetMainWnd() const;
    void SetMainWnd(FrameWindow* frame);

    /// Carries out the command line (`arguments` without the program name): a file name
    /// opens that file (as File Open, without the dialog), nothing does New. Arguments
    /// starting with '-' are skipped. The main window is made but not shown: start-up
    /// shows it once it has its text. Returns the result of the New or Open.
    int ProcessShellCommand(const QStringList& arguments);
    /// New (57600): through the document template, asking to save changes first.
    void OnFileNew();
    /// Open (57601): an open dialog with the template's filter, then the template's Open,
    /// which asks to save changes first. Cancelling the dialog does nothing.
    void OnFileOpen();
    /// New (empty `path`) or Open through the template; 0 without a template.
    int OpenDocumentFile(const QString& path, int makeVisible = 1);
    /// A file was opened or saved: a program with a recent-file list puts it first. The
    /// default does nothing.
    virtual void AddToRecentFileList(const QString& path);

    /// Handles every event waiting now, without blocking. Returns 0 once the quit was
    /// posted (then nothing more should run before `ExitInstance`), else 1.
    int PumpWaitingMessages();
    /// 1 when an event handled since the last call may have changed command states.
    int TakeIdleRequest();
    /// Asks the loop to end with `exitCode` at its next pump.
    void PostQuitMessage(int exitCode);
    int IsQuitPosted() const { return m_quitPosted ? 1 : 0; }

private:
    QString m_appTitle;
    std::unique_ptr<SingleDocTemplate> m_template;
    QPointer<FrameWindow> m_mainWindow; // borrowed from the template
    std::unique_ptr<IdleEventWatcher> m_watcher;
    bool m_quitPosted = false;
    int m_exitCode = 0;
};

} // namespace framework

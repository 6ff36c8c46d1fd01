#pragma once

#include <QStringList>
#include <functional>

#include "platform/framework/Application.h"
#include "scene/SceneMessages.h"

namespace framework {
class View;
} // namespace framework

class CMainFrame;

/// The application object: registers the single-document template that joins CDxMFCDoc,
/// CMainFrame and the 3D view, carries out the command line and runs the program's own
/// loop, in which every pass ends with the main frame's Tick. There are no timers and no
/// other threads: the tick paces the loop. It handles the about box (57664); New and Open
/// are the framework's.
///
/// Made after the QApplication, destroyed before it; one at a time.
class CDxMFCApp : public framework::Application {
public:
    /// Makes the view of the main frame (the program passes CDxMFCView; the frame needs
    /// only what IRenderView offers).
    using ViewFactory = std::function<framework::View*()>;
    /// Called at the end of every pass of the loop, after the tick, with the number of
    /// passes so far (from 1).
    using PassHook = std::function<void(long pass)>;

    /// `arguments` is the command line without the program name.
    CDxMFCApp(QStringList arguments, ViewFactory makeView);
    ~CDxMFCApp() override;

    /// Start-up: the template, the command line (a file name is opened as File Open does,
    /// else New), then the window text "Pavrix / Prototype" and the window shown.
    /// 0 when the command line could not be carried out (the program then ends).
    int InitInstance() override;
    /// The loop, until the quit message: command-state updates while idle work is wanted,
    /// every waiting event handled without blocking, then CMainFrame::Tick. Returns the
    /// exit code. Ends at once when there is no main window.
    int Run() override;

    /// The main window as the main frame; null when there is none.
    CMainFrame* GetMainFrame() const;
    void SetPassHook(PassHook hook) { m_passHook = std::move(hook); }

private:
    void OnAppAbout();

    QStringList m_arguments;
    ViewFactory m_makeView;
    PassHook m_passHook;
    scene::MessageHook m_previousMessageHook;
};

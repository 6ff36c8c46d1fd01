#pragma once

#include <functional>
#include <memory>

#include <QStringList>

#include "app/CommandStatePacer.h"
#include "app/RecentFileList.h"
#include "platform/framework/Application.h"
#include "scene/SceneMessages.h"

namespace framework {
class View;
} // namespace framework

class AppSettings;
class Autosave;
class CMainFrame;

/// The application object: registers the single-document template that joins CDxMFCDoc,
/// CMainFrame and the 3D view, carries out the command line and runs the program's own
/// loop, in which every pass ends with the main frame's Tick. There are no timers and no
/// other threads: the tick paces the loop. It handles the about box (57664) and the
/// recent files of the File menu (57616 …); New and Open are the framework's.
///
/// While the document has unsaved changes it is autosaved between edits (Autosave, every
/// autosave/intervalSeconds of the settings); a normal end removes the autosave, and the
/// next start after a crash or a kill offers to recover what an earlier run left.
///
/// It keeps what the user would not want to set again (AppSettings): the recent files,
/// the window's size, place and bars, the last folder of the file dialogs and the play
/// speed are read at start-up and written when the program ends (the recent files also
/// whenever they change).
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

    /// The interface language of this run ("ja" or "en", `--lang`); without one,
    /// InitInstance takes the language the settings keep. Before InitInstance.
    void SetLanguage(const QString& language) { m_language = language; }

    /// Start-up: the settings, the interface language, the template, the command line (a file name
    /// is opened as File Open does, else New), then the window text ("Pavrix / Prototype", or the
    /// file's name when one was opened), the remembered geometry, bars and play speed,
    /// and the window shown. 0 when the command line could not be carried out (the
    /// program then ends).
    int InitInstance() override;
    /// The loop, until the quit message: the command-state updates of the bars at a steady
    /// 60 a second (CommandStatePacer), every waiting event handled without blocking, then
    /// CMainFrame::Tick. Returns the exit code. Ends at once when there is no main window.
    int Run() override;
    /// Writes the settings, then takes frame and document down.
    int ExitInstance() override;
    /// Puts `path` first in the recent-file list, updates the File menu and keeps the list.
    void AddToRecentFileList(const QString& path) override;
    const RecentFileList& GetRecentFileList() const { return m_recentFiles; }
    /// Replaces the clock the command-state updates are paced by (seconds, any origin;
    /// tests); empty restores the steady clock.
    void SetCommandStateClock(std::function<double()> clock) {
        m_commandStateClock = std::move(clock);
    }

    /// The main window as the main frame; null when there is none.
    CMainFrame* GetMainFrame() const;
    void SetPassHook(PassHook hook) { m_passHook = std::move(hook); }
    /// The autosave (null before InitInstance).
    Autosave* GetAutosave() const { return m_autosave.get(); }
    /// Writes the autosave when it is due at `now` (seconds, steady clock) and nothing is
    /// under way (playback, a held mouse button); removes it once the document is saved.
    /// True when it wrote.
    bool PollAutosave(double now);

private:
    void OnAppAbout();
    /// View ▸ Language: keeps `language` in the settings and says, in that language, that
    /// the interface changes at the next start.
    void OnChooseLanguage(const QString& language);
    /// 57616 …: opens the file of that entry as File Open does; a file that is gone is
    /// taken off the list with a message.
    void OnOpenRecentFile(framework::CommandId id);
    void OnUpdateRecentFileMenu(framework::CCmdUI& ui);
    /// Updates the File menu and writes the list to the settings.
    void OnRecentFilesChanged();
    void RestoreWindow();
    /// Offers every autosave an earlier editor left (newest first) until one is taken:
    /// yes opens it as the user's file, modified; no removes it.
    void OfferRecovery();
    /// Gives the edit history the step count and byte budget of the settings.
    void ApplyUndoLimits();
    void SaveSettings();
    double CommandStateNow() const;

    QStringList m_arguments;
    /// The language of this run (SetLanguage), then the one chosen in View ▸ Language.
    QString m_language;
    ViewFactory m_makeView;
    PassHook m_passHook;
    scene::MessageHook m_previousMessageHook;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<Autosave> m_autosave;
    RecentFileList m_recentFiles;
    CommandStatePacer m_commandStatePacer;
    std::function<double()> m_commandStateClock;
};

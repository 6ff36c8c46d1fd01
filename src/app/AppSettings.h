#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

#include "view/PaneLayout.h"

/// What the editor keeps between runs: the recent-file list, the main window's geometry
/// and the state of its bars, the folder of the last file dialog and the play speed; and
/// what the user may set by hand: the size of the edit history. It
/// lives in the user's configuration folder ($XDG_CONFIG_HOME/pavrix/pavrix.conf, by
/// default ~/.config/pavrix/pavrix.conf), never beside the program. The folder is taken
/// when the object is made, so a changed XDG_CONFIG_HOME counts from the next one.
///
/// Values that are missing or of the wrong kind read as empty (or -1), never as garbage:
/// the file is the user's and may have been edited by hand.
/// The interface languages it knows are `kLanguages`.
class AppSettings {
public:
    /// The interface languages, the default first.
    static constexpr const char* kLanguages[] = {"ja", "en"};

    AppSettings();

    /// The file the settings are kept in.
    QString FileName() const { return m_settings.fileName(); }

    QStringList RecentFiles() const;
    void SetRecentFiles(const QStringList& paths);
    /// QWidget::saveGeometry of the main window; empty when none was kept.
    QByteArray WindowGeometry() const;
    void SetWindowGeometry(const QByteArray& geometry);
    /// QMainWindow::saveState of the main window's bars; empty when none was kept.
    QByteArray BarState() const;
    void SetBarState(const QByteArray& state);
    /// The folder of the last file chosen in a file dialog; empty when none was kept.
    QString LastFolder() const;
    void SetLastFolder(const QString& folder);
    /// The index of the animation bar's Play Speed entry; -1 when none was kept.
    int PlaySpeedIndex() const;
    void SetPlaySpeedIndex(int index);

    /// The interface language chosen in View ▸ Language (Interface/language): "ja" or
    /// "en"; "ja" when missing or anything else.
    QString Language() const;
    void SetLanguage(const QString& language);

    /// Seconds between autosaves of a modified document (autosave/intervalSeconds): 60
    /// when missing or not a number, 0 (autosave off) for 0 or less.
    int AutosaveIntervalSeconds() const;

    /// How many steps the edit history keeps ("Undo/steps", 1 to 100000) and how many MiB
    /// their pictures may take ("Undo/budgetMiB", 1 to 1048576); -1 when the file has no
    /// such value or one out of range.
    int UndoStepLimit() const;
    int UndoBudgetMiB() const;
    /// Writes the two values where the file has none, so the user finds them to edit.
    void SetUndoLimitsIfMissing(int steps, int budgetMiB);

    /// How the 3D view is divided ("View/fourPanes": 1 four panes, 0 one); one pane when
    /// missing or anything else.
    PaneLayout ViewLayout() const;
    void SetViewLayout(PaneLayout layout);
    /// Ghosts each side of the onion skin ("OnionSkin/ghostsPerSide", 1 to 3); 2 when
    /// missing or out of range.
    int OnionSkinGhosts() const;

    /// Writes what was set to the file now (it is written at destruction anyway).
    void Sync() { m_settings.sync(); }

private:
    /// The whole number kept under `key` when it lies in [low, high], else -1.
    int NumberIn(const char* key, int low, int high) const;

    QSettings m_settings;
};

#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

/// What the editor keeps between runs: the recent-file list, the main window's geometry
/// and the state of its bars, the folder of the last file dialog and the play speed. It
/// lives in the user's configuration folder ($XDG_CONFIG_HOME/pavrix/pavrix.conf, by
/// default ~/.config/pavrix/pavrix.conf), never beside the program. The folder is taken
/// when the object is made, so a changed XDG_CONFIG_HOME counts from the next one.
///
/// Values that are missing or of the wrong kind read as empty (or -1), never as garbage:
/// the file is the user's and may have been edited by hand.
class AppSettings {
public:
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

    /// Seconds between autosaves of a modified document (autosave/intervalSeconds): 60
    /// when missing or not a number, 0 (autosave off) for 0 or less.
    int AutosaveIntervalSeconds() const;

    /// Writes what was set to the file now (it is written at destruction anyway).
    void Sync() { m_settings.sync(); }

private:
    QSettings m_settings;
};

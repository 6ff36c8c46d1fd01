#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QDateTime>
#include <QString>

class QLockFile;

namespace scene {
struct SceneDocument;
} // namespace scene

/// The editor's autosave: while the document has unsaved changes, it is written every
/// `intervalSeconds` (0: never) with the document's own writer to a file of this editor's
/// own in `folder` ($XDG_DATA_HOME/pavrix/autosave), never over the user's file, with a note
/// beside it naming the user's file and the time. A lock file held for the editor's life
/// tells the autosaves of running editors from those a crash or a kill left behind; only
/// the latter are offered for recovery, so two editors never take or remove each other's.
///
/// It is polled from the program's loop between edits: nothing is started while playback
/// runs or a mouse button is held (a drag). The loop does not wait for the write either: the
/// editor forks, and the child process, holding the scene exactly as it was at that moment
/// (the kernel copies its pages only when the editor changes them), formats, writes and
/// syncs the file and exits. The file replaces the previous autosave only once it is whole
/// on disk, so a crash of either process mid-write leaves the previous one intact.
class Autosave {
public:
    /// An autosave a previous editor left: the file, the user's file it stands for (empty
    /// for a document never saved) and when it was written.
    struct Orphan {
        QString file;
        QString originalPath;
        QDateTime time;
    };

    /// `owner` names this editor's file (the process id; tests play other editors).
    Autosave(QString folder, int intervalSeconds, qint64 owner);
    ~Autosave();
    Autosave(const Autosave&) = delete;
    Autosave& operator=(const Autosave&) = delete;

    /// $XDG_DATA_HOME/pavrix/autosave (by default ~/.local/share/pavrix/autosave).
    static QString DefaultFolder();

    int IntervalSeconds() const { return m_interval; }
    /// This editor's autosave file.
    QString FileName() const { return m_file; }

    /// What one pass of the loop sees: whether the document has unsaved changes (and
    /// something to write), and whether playback runs or a mouse button is held.
    struct Moment {
        bool modified = false;
        bool busy = false;
    };
    /// One pass of the loop at `now` (seconds, any steady origin): a write that finished is
    /// collected; a document no longer modified has its autosave removed; one that is, has
    /// its write started (`document()`, the user's file `originalPath`) when Due, not busy
    /// and no write is under way. True when it started one (Finish waits for it).
    bool Poll(double now, const Moment& moment,
              const std::function<scene::SceneDocument()>& document, const QString& originalPath);

    /// True when an autosave is due at `now` (seconds, any steady origin): autosave on,
    /// the document modified, and the interval passed since the last write (or since the
    /// document was first seen modified).
    bool Due(double now, bool modified);
    /// Writes `doc` (the user's file `originalPath`) as this editor's autosave and waits
    /// for it; true on success. The interval starts again from `now` either way.
    bool Write(const scene::SceneDocument& doc, const QString& originalPath, double now);
    /// Starts writing `doc` in the background (see the class comment; where no process can
    /// be started, it is written here and now). False when the folder cannot be locked or a
    /// write is under way already. The interval starts again from `now` either way.
    bool Start(const scene::SceneDocument& doc, const QString& originalPath, double now);
    /// Whether a write started by Start has not been collected yet.
    bool Writing() const { return m_writer > 0; }
    /// Waits for the write under way, if any; true when the last write succeeded.
    bool Finish();
    /// Removes this editor's autosave and its note (a save or a normal close); a write
    /// under way is stopped first.
    void Discard();

    /// Autosaves of editors no longer running, newest first.
    std::vector<Orphan> FindOrphans() const;
    /// Makes `orphan` this editor's own autosave (it is moved); true on success.
    bool Adopt(const Orphan& orphan);
    /// Removes `orphan` with its note and lock.
    static void Remove(const Orphan& orphan);

private:
    bool Lock();
    /// Whether Collect waits for the write under way.
    enum class Wait { IfEnded, UntilEnded };
    /// Collects the write under way when it has ended (Wait::IfEnded), or once it has
    /// (Wait::UntilEnded).
    void Collect(Wait wait);

    QString m_folder;
    int m_interval;
    QString m_file;
    std::unique_ptr<QLockFile> m_lock;
    double m_since = -1;
    bool m_written = false;
    /// The process writing the autosave (0: none) and whether the last write succeeded.
    qint64 m_writer = 0;
    bool m_lastWriteOk = false;
};

#include "app/Autosave.h"

#include <algorithm>
#include <cerrno>
#include <string>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "scene/SceneDocument.h"
#include "xfile/DocumentSave.h"

namespace {

constexpr char kPrefix[] = "autosave-";

QString NoteOf(const QString& file) {
    return file.left(file.size() - 2) + QStringLiteral(".note");
}

QString LockOf(const QString& file) {
    return file.left(file.size() - 2) + QStringLiteral(".lock");
}

/// Writes `bytes` as the whole of `path`: a temporary file beside it, synced, then renamed
/// over it, so `path` is either as it was or complete. Plain system calls: the writing
/// process of the background autosave uses nothing of the editor's libraries.
bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            break;
        }
        done += std::size_t(written);
    }
    bool ok = done == bytes.size() && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

/// One autosave: the document's file (with the document's safe writer), then the note.
bool WriteAutosave(const std::string& file, const scene::SceneDocument& doc,
                   const std::string& note, const std::string& noteText) {
    std::string error;
    return xfile::SaveDocument(file.c_str(), doc, &error) && WriteWholeFile(note, noteText);
}

} // namespace

Autosave::Autosave(QString folder, int intervalSeconds, qint64 owner)
    : m_folder(std::move(folder)), m_interval(std::max(0, intervalSeconds)) {
    m_file = QDir(m_folder).filePath(QString::fromLatin1(kPrefix) + QString::number(owner) +
                                     QStringLiteral(".x"));
}

Autosave::~Autosave() {
    // A write under way is let finish: it is the editor's last word.
    Collect(Wait::UntilEnded);
}

QString Autosave::DefaultFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("pavrix/autosave"));
}

bool Autosave::Lock() {
    if (m_lock != nullptr) {
        return true;
    }
    if (!QDir().mkpath(m_folder)) {
        return false;
    }
    auto lock = std::make_unique<QLockFile>(LockOf(m_file));
    // Held for the editor's life: a lock whose editor is gone is stale however young.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        return false;
    }
    m_lock = std::move(lock);
    return true;
}

bool Autosave::Due(double now, bool modified) {
    if (m_interval <= 0 || !modified) {
        m_since = -1;
        return false;
    }
    if (m_since < 0) {
        m_since = now;
    }
    return now - m_since >= m_interval;
}

bool Autosave::Poll(double now, const Moment& moment,
                    const std::function<scene::SceneDocument()>& document,
                    const QString& originalPath) {
    Collect(Wait::IfEnded);
    if (!moment.modified) {
        Discard();
        return false;
    }
    if (!Due(now, true) || moment.busy || Writing()) {
        return false;
    }
    return Start(document(), originalPath, now);
}

bool Autosave::Write(const scene::SceneDocument& doc, const QString& originalPath, double now) {
    Collect(Wait::UntilEnded);
    return Start(doc, originalPath, now) && Finish();
}

bool Autosave::Start(const scene::SceneDocument& doc, const QString& originalPath, double now) {
    m_since = now;
    Collect(Wait::IfEnded);
    if (Writing() || !Lock()) {
        return false;
    }
    const std::string file = QFile::encodeName(m_file).toStdString();
    const std::string note = QFile::encodeName(NoteOf(m_file)).toStdString();
    const std::string noteText =
        (originalPath + QLatin1Char('\n') + QDateTime::currentDateTime().toString(Qt::ISODate) +
         QLatin1Char('\n'))
            .toStdString();
    const pid_t child = ::fork();
    if (child == 0) {
        // The writing process: the scene as it was at the fork, the file and the note, and
        // out without running anything of the editor's (no exit handlers, no destructors).
        // It yields the processor to the editor's frames.
        ::setpriority(PRIO_PROCESS, 0, 10);
        ::_exit(WriteAutosave(file, doc, note, noteText) ? 0 : 1);
    }
    if (child < 0) {
        m_lastWriteOk = WriteAutosave(file, doc, note, noteText);
        m_written = m_written || m_lastWriteOk;
        return m_lastWriteOk;
    }
    m_writer = child;
    return true;
}

void Autosave::Collect(Wait wait) {
    if (m_writer <= 0) {
        return;
    }
    int status = 0;
    pid_t ended = 0;
    do {
        ended = ::waitpid(pid_t(m_writer), &status, wait == Wait::UntilEnded ? 0 : WNOHANG);
    } while (ended < 0 && errno == EINTR);
    if (ended == 0) {
        return; // still writing
    }
    m_writer = 0;
    m_lastWriteOk = ended > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    // Whatever became of it, the file may be there now.
    m_written = true;
}

bool Autosave::Finish() {
    Collect(Wait::UntilEnded);
    return m_lastWriteOk;
}

void Autosave::Discard() {
    m_since = -1;
    if (Writing()) {
        ::kill(pid_t(m_writer), SIGKILL);
        Collect(Wait::UntilEnded);
        // What the stopped process left half written: its temporary files.
        const QFileInfo file(m_file);
        const QDir folder(m_folder);
        for (const QString& name :
             folder.entryList({QLatin1Char('.') + file.fileName() + QStringLiteral(".*.tmp"),
                               QFileInfo(NoteOf(m_file)).fileName() + QStringLiteral(".tmp")},
                              QDir::Files | QDir::Hidden)) {
            QFile::remove(folder.filePath(name));
        }
    }
    if (m_written) {
        QFile::remove(m_file);
        QFile::remove(NoteOf(m_file));
        m_written = false;
    }
}

std::vector<Autosave::Orphan> Autosave::FindOrphans() const {
    std::vector<Orphan> orphans;
    const QDir dir(m_folder);
    for (const QFileInfo& info :
         dir.entryInfoList({QString::fromLatin1(kPrefix) + QStringLiteral("*.x")}, QDir::Files)) {
        const QString file = info.absoluteFilePath();
        if (file == QFileInfo(m_file).absoluteFilePath()) {
            continue;
        }
        // A running editor holds its lock; a dead one's lock is stale and taken here.
        QLockFile lock(LockOf(file));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0)) {
            continue;
        }
        lock.unlock();
        Orphan orphan{file, QString(), info.lastModified()};
        QFile note(NoteOf(file));
        if (note.open(QIODevice::ReadOnly)) {
            const QStringList lines = QString::fromUtf8(note.readAll()).split(QLatin1Char('\n'));
            orphan.originalPath = lines.value(0);
            const QDateTime time = QDateTime::fromString(lines.value(1), Qt::ISODate);
            if (time.isValid()) {
                orphan.time = time;
            }
        }
        orphans.push_back(orphan);
    }
    std::sort(orphans.begin(), orphans.end(),
              [](const Orphan& a, const Orphan& b) { return a.time > b.time; });
    return orphans;
}

bool Autosave::Adopt(const Orphan& orphan) {
    if (!Lock()) {
        return false;
    }
    QFile::remove(m_file);
    QFile::remove(NoteOf(m_file));
    const bool moved = QFile::rename(orphan.file, m_file);
    QFile::rename(NoteOf(orphan.file), NoteOf(m_file));
    QFile::remove(LockOf(orphan.file));
    m_written = moved;
    return moved;
}

void Autosave::Remove(const Orphan& orphan) {
    QFile::remove(orphan.file);
    QFile::remove(NoteOf(orphan.file));
    QFile::remove(LockOf(orphan.file));
}

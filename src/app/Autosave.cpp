#include "app/Autosave.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

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

} // namespace

Autosave::Autosave(QString folder, int intervalSeconds, qint64 owner)
    : m_folder(std::move(folder)), m_interval(std::max(0, intervalSeconds)) {
    m_file = QDir(m_folder).filePath(QString::fromLatin1(kPrefix) + QString::number(owner) +
                                     QStringLiteral(".x"));
}

Autosave::~Autosave() = default;

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
    if (!moment.modified) {
        Discard();
        return false;
    }
    if (!Due(now, true) || moment.busy) {
        return false;
    }
    return Write(document(), originalPath, now);
}

bool Autosave::Write(const scene::SceneDocument& doc, const QString& originalPath, double now) {
    m_since = now;
    if (!Lock()) {
        return false;
    }
    std::string error;
    if (!xfile::SaveDocument(QFile::encodeName(m_file).constData(), doc, &error)) {
        return false;
    }
    QSaveFile note(NoteOf(m_file));
    if (!note.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QString text = originalPath + QLatin1Char('\n') +
                         QDateTime::currentDateTime().toString(Qt::ISODate) + QLatin1Char('\n');
    note.write(text.toUtf8());
    m_written = note.commit();
    return m_written;
}

void Autosave::Discard() {
    m_since = -1;
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

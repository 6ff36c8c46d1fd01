#pragma once

#include <QString>
#include <QStringList>

namespace framework {
class FrameWindow;
} // namespace framework

/// The File menu's recent-file list: up to four paths, newest first. Its entries take the
/// framework's recent-file command ids (57616 for the first) and read "&1 /path/file.x",
/// "&2 …", so the digit chooses the file while the menu is open.
class RecentFileList {
public:
    static constexpr int kMaxEntries = 4;
    /// Shown, greyed, in place of the first entry while the list is empty.
    static constexpr char kPlaceholderText[] = QT_TRANSLATE_NOOP("Pavrix", "最新のﾌｧｲﾙ");

    /// Puts `path` first, as an absolute clean path; a path already listed moves up, and
    /// the oldest entry falls off past four. An empty path changes nothing.
    void Add(const QString& path);
    /// Takes entry `index` (0 the newest) off; an index outside the list changes nothing.
    void Remove(int index);
    /// Replaces the list (as read from the settings): empty and repeated paths are
    /// dropped and at most four are kept.
    void SetPaths(const QStringList& paths);
    const QStringList& Paths() const { return m_paths; }
    int Count() const { return static_cast<int>(m_paths.size()); }

    /// The menu text of entry `index`: "&<index + 1> <path>", with every '&' of the path
    /// doubled so it shows as itself.
    QString MenuText(int index) const;
    /// Brings the File menu of `frame` up to date: the item of command 57616 shows the
    /// first entry, or the greyed placeholder while the list is empty, and the further
    /// entries follow it as items of their own (57617 …), which route their commands as
    /// the menu's other items do. Nothing when the menu has no item 57616.
    void UpdateMenu(framework::FrameWindow& frame) const;

private:
    QStringList m_paths;
};

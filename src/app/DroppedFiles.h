#pragma once

#include <QStringList>

class QDropEvent;
class QMimeData;

/// Files dragged onto the window from the desktop.
namespace dropped_files {

/// The local files of a drag, in the order the desktop lists them.
QStringList LocalFiles(const QMimeData* data);
/// Accepts a drag (entering, moving or dropped) that carries local files; false otherwise.
bool AcceptLocalFiles(QDropEvent* event);

} // namespace dropped_files

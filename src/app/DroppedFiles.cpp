#include "app/DroppedFiles.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace dropped_files {

QStringList LocalFiles(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr || !data->hasUrls()) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(url.toLocalFile());
        }
    }
    return paths;
}

bool AcceptLocalFiles(QDropEvent* event) {
    if (LocalFiles(event->mimeData()).isEmpty()) {
        return false;
    }
    event->acceptProposedAction();
    return true;
}

} // namespace dropped_files

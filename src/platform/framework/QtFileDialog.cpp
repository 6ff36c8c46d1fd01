#include "platform/framework/QtFileDialog.h"

#include <QFileDialog>
#include <QStringList>

#include "platform/framework/MessageBoxCodes.h"

namespace framework {

QStringList QtFileDialog::ToNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts[i].trimmed();
        if (name.isEmpty()) {
            break;
        }
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
        }
        const QString suffix = QStringLiteral("(%1)").arg(patterns.join(QLatin1Char(' ')));
        // Qt reads the patterns from the last parentheses of the name, so a name that
        // already shows them is kept as written.
        if (name.endsWith(suffix)) {
            result.push_back(name);
        } else {
            result.push_back(name + QLatin1Char(' ') + suffix);
        }
    }
    return result;
}

int QtFileDialog::Run(const FileDialogRequest& request, QString* path) {
    QFileDialog dialog(request.owner);
    if (!request.title.isEmpty()) {
        dialog.setWindowTitle(request.title);
    }
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    if (request.open) {
        dialog.setFileMode((request.flags & OfnFileMustExist) != 0 ? QFileDialog::ExistingFile
                                                                   : QFileDialog::AnyFile);
    } else {
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (request.open || (request.flags & OfnOverwritePrompt) == 0) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    }
    const QStringList filters = ToNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
    }
    if (!request.defaultExt.isEmpty()) {
        dialog.setDefaultSuffix(request.defaultExt);
    }
    if (!request.directory.isEmpty()) {
        dialog.setDirectory(request.directory);
    }
    if (!request.fileName.isEmpty()) {
        dialog.selectFile(request.fileName);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return IdCancel;
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) {
        return IdCancel;
    }
    if (path != nullptr) {
        *path = chosen.front();
    }
    return IdOk;
}

} // namespace framework

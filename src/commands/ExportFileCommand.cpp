#include "commands/ExportFileCommand.h"

#include <string>
#include <vector>

#include <QFile>

#include "commands/IBatchCommandHost.h"
#include "gltf/DocumentExport.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"

ExportFileCommand::ExportFileCommand(IBatchCommandHost& host, const scene::SceneDocument& doc,
                                     double ticksPerSecond)
    : m_host(host), m_doc(doc), m_ticksPerSecond(ticksPerSecond) {}

QString ExportFileCommand::WithExtension(const QString& path) {
    if (path.endsWith(QStringLiteral(".glb"), Qt::CaseInsensitive) ||
        path.endsWith(QStringLiteral(".gltf"), Qt::CaseInsensitive)) {
        return path;
    }
    return path + QStringLiteral(".glb");
}

void ExportFileCommand::Execute() {
    const QString caption = framework::Tr(kCaption);
    if (!m_doc.currentModel) {
        m_host.ShowMessage(framework::Tr(kNoModelMessage), caption,
                           framework::MbOk | framework::MbIconInformation);
        return;
    }
    framework::FileDialog dialog(false, QStringLiteral("glb"), QString(),
                                 framework::OfnHideReadOnly | framework::OfnOverwritePrompt,
                                 framework::Tr(kFileFilter));
    if (dialog.DoModal() != framework::IdOk) {
        return;
    }
    const QString path = WithExtension(dialog.GetPathName());
    gltf::ExportOptions options;
    if (m_ticksPerSecond > 0) {
        options.ticksPerSecond = m_ticksPerSecond;
    }
    std::string error;
    std::vector<std::string> warnings;
    if (!gltf::ExportDocument(QFile::encodeName(path).constData(), m_doc, options, &error,
                              &warnings)) {
        m_host.ShowMessage(framework::Tr(kFailedMessage) + QLatin1Char('\n') +
                               QString::fromStdString(error),
                           caption, framework::MbOk | framework::MbIconExclamation);
        return;
    }
    if (!warnings.empty()) {
        QString text = framework::Tr(kWarningsMessage);
        for (const std::string& warning : warnings) {
            text += QLatin1Char('\n') + QString::fromStdString(warning);
        }
        m_host.ShowMessage(text, caption, framework::MbOk | framework::MbIconInformation);
    }
}

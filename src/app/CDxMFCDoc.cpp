#include "app/CDxMFCDoc.h"

#include <QFile>
#include <string>

#include "app/CMainFrame.h"
#include "app/ProgramState.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/UiServices.h"
#include "resources/CommandIds.h"
#include "scene/DocumentOpen.h"
#include "xfile/DocumentSave.h"

CDxMFCDoc::CDxMFCDoc() {
    namespace ids = resources::ids;
    MapCommand(ids::InsertCharacter, [this] { OnFileCommand(scene::kOpenInsertCharacter); });
    MapCommand(ids::ChangeAnimation, [this] { OnFileCommand(scene::kOpenChangeAnimation); });
    MapCommand(ids::ChangeModel, [this] { OnFileCommand(scene::kOpenChangeModel); });
}

CMainFrame* CDxMFCDoc::GetMainFrame() const {
    return dynamic_cast<CMainFrame*>(GetFrame());
}

void CDxMFCDoc::OnFileCommand(int mode) {
    framework::FileDialog dialog(true, QStringLiteral("x"), QString(),
                                 framework::OfnHideReadOnly | framework::OfnOverwritePrompt,
                                 QString::fromUtf8(kFileFilter), nullptr);
    if (dialog.DoModal() != framework::IdOk)
        return;
    // Called directly, not through the template: no question about unsaved changes, and
    // the path name is the one the open gives.
    m_openMode = mode;
    OnOpenDocument(dialog.GetPathName());
    m_openMode = scene::kOpenNewScene;
}

int CDxMFCDoc::OnNewDocument() {
    if (!Document::OnNewDocument())
        return 0;
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr || frame->GetParentD3R().D3DRM() == nullptr || g_sceneFrame == nullptr)
        return 0;
    frame->StopPlayback();
    frame->ClearScene(g_selectedPart != nullptr ? 0 : 1);
    return 1;
}

int CDxMFCDoc::OnOpenDocument(const QString& path) {
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr || frame->GetParentD3R().D3DRM() == nullptr || g_sceneFrame == nullptr)
        return 0;
    frame->StopPlayback();
    frame->ClearSelection();

    scene::SceneDocument doc = frame->MakeSceneDocument();
    doc.onMessage = [](const scene::DocumentMessage& message) {
        QString text = QString::fromStdString(message.text);
        if (!message.detail.empty())
            text += QLatin1Char('\n') + QString::fromLocal8Bit(message.detail.c_str());
        framework::UiServices::AppMessageBox(text, message.style);
    };
    const QByteArray fileName = QFile::encodeName(path);
    const scene::DocumentOpenResult result =
        scene::OpenDocument(doc, fileName.constData(), m_openMode);
    CMainFrame::TakeCurrentPointers(doc);
    if (!result.ok)
        return 0;

    frame->CenterOnFrame(result.centerFrame);
    frame->RefreshKeyRange(1);
    frame->RefreshTimeDisplay();
    g_redrawRequest = 1;
    SetPathName(QFile::decodeName(QByteArray::fromStdString(result.pathName)));
    return 1;
}

int CDxMFCDoc::OnSaveDocument(const QString& path) {
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr || frame->GetParentD3R().D3DRM() == nullptr ||
        g_currentAnimation == nullptr || g_currentModel == nullptr)
        return 0;
    frame->StopPlayback();
    // The selection box hangs on a part's frame and must not be written with the model.
    frame->ClearSelection();
    std::string error;
    const QByteArray fileName = QFile::encodeName(path);
    const int saved =
        xfile::SaveCharacter(fileName.constData(), g_currentModel, g_currentAnimation, &error);
    if (!saved) {
        // The edits are still only in memory: the document stays modified, so quitting
        // asks again.
        framework::UiServices::AppMessageBox(QString::fromUtf8(kSaveFailedMessage) +
                                                 QLatin1Char('\n') +
                                                 QString::fromLocal8Bit(error.c_str()),
                                             framework::MbOk);
        return 0;
    }
    SetModifiedFlag(0);
    return 1;
}

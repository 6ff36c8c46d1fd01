#include "app/CDxMFCDoc.h"

#include <string>

#include <QFile>

#include "app/FailureCause.h"
#include "app/IDocumentFrame.h"
#include "platform/framework/Application.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/FrameWindow.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/OpenTiming.h"
#include "platform/framework/SingleDocTemplate.h"
#include "platform/framework/Translate.h"
#include "platform/framework/UiServices.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/XFileOpenScope.h"
#include "render/ParentD3R.h"
#include "resources/CommandIds.h"
#include "scene/CAnimationData.h"
#include "scene/DocumentOpen.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"
#include "xfile/DocumentSave.h"

CDxMFCDoc::CDxMFCDoc() {
    namespace ids = resources::ids;
    MapCommand(ids::InsertCharacter, [this] { OnFileCommand(scene::OpenMode::InsertCharacter); });
    MapCommand(ids::ChangeAnimation, [this] { OnFileCommand(scene::OpenMode::ChangeAnimation); });
    MapCommand(ids::ChangeModel, [this] { OnFileCommand(scene::OpenMode::ChangeModel); });
}

IDocumentFrame* CDxMFCDoc::GetMainFrame() const {
    return dynamic_cast<IDocumentFrame*>(GetFrame());
}

void CDxMFCDoc::OnFileCommand(scene::OpenMode mode) {
    framework::FileDialog dialog(true, QStringLiteral("x"), QString(),
                                 framework::OfnHideReadOnly | framework::OfnOverwritePrompt,
                                 framework::Tr(kFileFilter), nullptr);
    if (dialog.DoModal() != framework::IdOk) {
        return;
    }
    // Called directly, not through the template: no question about unsaved changes, and
    // the path name is the one the open gives.
    m_openMode = mode;
    OnOpenDocument(dialog.GetPathName());
    m_openMode = scene::OpenMode::NewScene;
}

int CDxMFCDoc::OnNewDocument() {
    if (!Document::OnNewDocument()) {
        return 0;
    }
    IDocumentFrame* frame = GetMainFrame();
    if (frame == nullptr || frame->GetParentD3R().D3DRM() == nullptr ||
        frame->Context().sceneFrame == nullptr) {
        return 0;
    }
    frame->StopPlayback();
    // What the history's steps name is being cleared away.
    frame->ClearHistory(DocumentState::Saved);
    frame->ClearScene(frame->Context().selection.Part() != nullptr
                          ? scene::ClearExtent::CurrentCharacter
                          : scene::ClearExtent::Everything);
    m_saveNeedsNewName = false;
    return 1;
}

int CDxMFCDoc::OnOpenDocument(const QString& path) {
    IDocumentFrame* frame = GetMainFrame();
    if (frame == nullptr || frame->GetParentD3R().D3DRM() == nullptr ||
        frame->Context().sceneFrame == nullptr) {
        return 0;
    }
    m_failedOpenChangedNothing = false;
    framework::OpenTiming::OpenStarted();
    const auto showMessage = [](const scene::DocumentMessage& message) {
        QString text = framework::Tr(message.text.c_str());
        if (!message.detail.empty()) {
            text += QLatin1Char('\n') + FailureCause::DetailLines(message.detail);
        }
        framework::UiServices::AppMessageBox(text, message.style);
    };
    const QByteArray fileName = QFile::encodeName(path);
    // One read of the file serves the check and the open.
    const rm::XFileOpenScope readOnce;
    {
        // The file is read before anything goes: one that cannot be opened leaves the
        // scene, the history, the title and Save as they were.
        scene::SceneDocument current = frame->MakeSceneDocument();
        current.onMessage = showMessage;
        if (!scene::CheckOpenable(current, fileName.constData(), m_openMode).ok) {
            m_failedOpenChangedNothing = true;
            return 0;
        }
    }
    frame->StopPlayback();
    frame->ClearSelection();
    // Every load ends the history; an insert or a change keeps the document's unsaved state
    // (the open through the template has cleared the flag already).
    frame->ClearHistory(IsModified() ? DocumentState::Modified : DocumentState::Saved);

    scene::SceneDocument doc = frame->MakeSceneDocument();
    doc.onMessage = showMessage;
    const scene::DocumentOpenResult result =
        scene::OpenDocument(doc, fileName.constData(), m_openMode);
    frame->Context().TakeCurrentPointers(doc);
    m_failedOpenClearedScene = !result.ok && m_openMode == scene::OpenMode::NewScene;
    if (!result.ok) {
        return 0;
    }
    m_saveNeedsNewName = m_openMode == scene::OpenMode::ChangeAnimation ||
                         m_openMode == scene::OpenMode::ChangeModel;

    frame->OfferTickRate(frame->Context().currentAnimation->Set() != nullptr
                             ? frame->Context().currentAnimation->Set()->TicksPerSecond()
                             : 0);
    frame->CenterOnFrame(result.centerFrame);
    // The open sequence has just built the key-time list: building it again would show
    // the over-limit message a second time.
    frame->RefreshKeyRange(session::KeyTimeList::Keep);
    frame->RefreshTimeDisplay();
    // The view shows the pose at the time the bar shows, not the model at rest: the first
    // drag starts from what is on screen.
    PoseAnimation(frame->Context().currentAnimation, frame->Context().currentTime);
    frame->Context().redrawRequest = true;
    SetPathName(QFile::decodeName(QByteArray::fromStdString(result.pathName)));
    // Opening and inserting bring the file to the recent-file list; changing the model or
    // the animation takes only part of it.
    if (m_openMode == scene::OpenMode::NewScene || m_openMode == scene::OpenMode::InsertCharacter) {
        if (framework::Application* application = framework::Application::Instance()) {
            application->AddToRecentFileList(path);
        }
    }
    framework::OpenTiming::DocumentOpened();
    return 1;
}

int CDxMFCDoc::CanSave() {
    IDocumentFrame* frame = GetMainFrame();
    if (frame != nullptr && frame->Context().currentAnimation != nullptr &&
        frame->Context().currentModel != nullptr) {
        return 1;
    }
    framework::UiServices::AppMessageBox(framework::Tr(kNothingToSaveMessage),
                                         framework::MbIconInformation);
    return 0;
}

int CDxMFCDoc::SaveNeedsNewName() const {
    return m_saveNeedsNewName ? 1 : 0;
}

void CDxMFCDoc::OnOpenDocumentFailed(int wasModified) {
    if (m_failedOpenChangedNothing) {
        m_failedOpenChangedNothing = false;
        Document::OnOpenDocumentFailed(wasModified);
        return;
    }
    if (!m_failedOpenClearedScene) {
        Document::OnOpenDocumentFailed(wasModified);
        // The open cleared the history as if the document were unmodified.
        if (IDocumentFrame* frame = GetMainFrame(); frame != nullptr && wasModified) {
            frame->ClearHistory(DocumentState::Modified);
        }
        return;
    }
    m_failedOpenClearedScene = false;
    m_saveNeedsNewName = false;
    SetPathName(QString());
    if (GetDocTemplate() != nullptr) {
        SetTitle(GetDocTemplate()->GetDefaultTitle());
    }
    SetModifiedFlag(0);
}

int CDxMFCDoc::OnSaveDocument(const QString& path) {
    IDocumentFrame* frame = GetMainFrame();
    if (frame == nullptr || frame->GetParentD3R().D3DRM() == nullptr ||
        frame->Context().currentAnimation == nullptr || frame->Context().currentModel == nullptr) {
        return 0;
    }
    frame->StopPlayback();
    std::string error;
    const QByteArray fileName = QFile::encodeName(path);
    const int saved = xfile::SaveDocument(fileName.constData(), frame->MakeSceneDocument(), &error);
    if (!saved) {
        // The edits are still only in memory: the document stays modified, so quitting
        // asks again.
        framework::UiServices::AppMessageBox(framework::Tr(kSaveFailedMessage) + QLatin1Char('\n') +
                                                 FailureCause::DetailLines(error),
                                             framework::MbOk);
        return 0;
    }
    SetModifiedFlag(0);
    frame->OnDocumentSaved();
    m_saveNeedsNewName = false;
    if (framework::Application* application = framework::Application::Instance()) {
        application->AddToRecentFileList(path);
    }
    return 1;
}

int CDxMFCDoc::OpenDroppedFiles(const QStringList& paths) {
    // A drop starts a new scene: unsaved changes would be gone without a word.
    if (!SaveModified()) {
        return 0;
    }
    OnNewDocument();
    for (const QString& path : paths) {
        SetOpenMode(scene::OpenMode::InsertCharacter);
        OnOpenDocument(path);
        SetOpenMode(scene::OpenMode::NewScene);
    }
    return 1;
}

#include "platform/framework/Document.h"

#include <algorithm>

#include <QFileInfo>
#include <QRegularExpression>

#include "platform/framework/FileDialog.h"
#include "platform/framework/FrameWindow.h"
#include "platform/framework/FrameworkStrings.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/SingleDocTemplate.h"
#include "platform/framework/StandardIds.h"
#include "platform/framework/UiServices.h"
#include "platform/framework/View.h"

namespace framework {

namespace {

QString FileNameOf(const QString& path) {
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(slash + 1);
}

} // namespace

Document::Document() {
    MapCommand(ids::FileSave, [this] { OnFileSave(); });
    MapCommand(ids::FileSaveAs, [this] { OnFileSaveAs(); });
}

Document::~Document() {
    for (View* view : m_views) {
        view->m_document = nullptr;
    }
}

int Document::OnNewDocument() {
    DeleteContents();
    m_pathName.clear();
    SetModifiedFlag(0);
    return 1;
}

int Document::OnOpenDocument(const QString&) {
    DeleteContents();
    SetModifiedFlag(0);
    return 1;
}

int Document::OnSaveDocument(const QString&) {
    SetModifiedFlag(0);
    return 1;
}

void Document::DeleteContents() {}

int Document::CanSave() {
    return 1;
}

int Document::SaveNeedsNewName() const {
    return 0;
}

void Document::OnOpenDocumentFailed(int wasModified) {
    SetModifiedFlag(wasModified);
}

int Document::SaveModified() {
    if (!IsModified()) {
        return 1;
    }
    QString name = m_pathName.isEmpty() ? m_title : FileNameOf(m_pathName);
    if (name.isEmpty()) {
        name = strings::Untitled();
    }
    switch (UiServices::AppMessageBox(strings::AskToSave().arg(name), MbYesNoCancel)) {
    case IdCancel:
        return 0;
    case IdYes:
        return DoFileSave();
    default:
        return 1;
    }
}

int Document::CanCloseFrame(FrameWindow*) {
    return SaveModified();
}

int Document::DoFileSave() {
    if (m_pathName.isEmpty() || SaveNeedsNewName()) {
        return DoSave(QString());
    }
    const QFileInfo file(m_pathName);
    if (file.exists() && !file.isWritable()) {
        return DoSave(QString());
    }
    return DoSave(m_pathName);
}

int Document::DoSave(const QString& path, int replace) {
    if (!CanSave()) {
        return 0;
    }
    QString target = path;
    if (target.isEmpty()) {
        QString proposed = m_pathName;
        QString filter;
        QString extension;
        if (m_template != nullptr) {
            filter = m_template->GetFilter();
            extension = m_template->GetDocString(SingleDocTemplate::FilterExt);
        }
        if (replace && proposed.isEmpty()) {
            proposed = m_title;
            // A title is no path: cut it at the first character a path would give
            // meaning to.
            const qsizetype bad = proposed.indexOf(QRegularExpression(QStringLiteral("[:/\\\\]")));
            if (bad >= 0) {
                proposed.truncate(bad);
            }
            proposed += extension;
        }
        FileDialog dialog(
            false, extension.startsWith(QLatin1Char('.')) ? extension.mid(1) : extension, proposed,
            OfnHideReadOnly | OfnOverwritePrompt | OfnPathMustExist, filter, GetFrame());
        dialog.Request().title = strings::SaveFileTitle();
        if (dialog.DoModal() != IdOk) {
            return 0;
        }
        target = dialog.GetPathName();
    }
    const bool wasModified = IsModified();
    if (!OnSaveDocument(target)) {
        SetModifiedFlag(wasModified ? 1 : 0);
        return 0;
    }
    if (replace) {
        SetPathName(target);
    }
    return 1;
}

void Document::OnFileSave() {
    DoFileSave();
}

void Document::OnFileSaveAs() {
    DoSave(QString());
}

void Document::SetPathName(const QString& path, int) {
    m_pathName = path;
    SetTitle(FileNameOf(path));
}

void Document::SetModifiedFlag(int modified) {
    m_modified = modified != 0;
    for (View* view : m_views) {
        if (FrameWindow* frame = view->GetParentFrame()) {
            frame->setWindowModified(m_modified);
        }
    }
}

void Document::SetTitle(const QString& title) {
    m_title = title;
    for (View* view : m_views) {
        if (FrameWindow* frame = view->GetParentFrame()) {
            frame->OnUpdateFrameTitle();
        }
    }
}

void Document::AddView(View* view) {
    if (view == nullptr || std::find(m_views.begin(), m_views.end(), view) != m_views.end()) {
        return;
    }
    if (view->m_document != nullptr && view->m_document != this) {
        view->m_document->RemoveView(view);
    }
    m_views.push_back(view);
    view->m_document = this;
}

void Document::RemoveView(View* view) {
    const auto found = std::find(m_views.begin(), m_views.end(), view);
    if (found == m_views.end()) {
        return;
    }
    m_views.erase(found);
    view->m_document = nullptr;
}

FrameWindow* Document::GetFrame() const {
    return m_views.empty() ? nullptr : m_views.front()->GetParentFrame();
}

} // namespace framework

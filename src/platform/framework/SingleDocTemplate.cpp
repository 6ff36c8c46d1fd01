#include "platform/framework/SingleDocTemplate.h"

#include "platform/framework/Application.h"
#include "platform/framework/CreateContext.h"
#include "platform/framework/Document.h"
#include "platform/framework/FrameWindow.h"
#include "platform/framework/FrameworkStrings.h"
#include "platform/framework/UiServices.h"
#include "platform/framework/View.h"

namespace framework {

SingleDocTemplate::SingleDocTemplate(FrameResources resources, DocumentFactory newDocument,
                                     FrameFactory newFrame, ViewFactory newView)
    : m_resources(std::move(resources)), m_newDocument(std::move(newDocument)),
      m_newFrame(std::move(newFrame)), m_newView(std::move(newView)) {}

SingleDocTemplate::~SingleDocTemplate() {
    CloseAllDocuments();
}

QString SingleDocTemplate::GetDocString(DocStringIndex index) const {
    return StringTable::Field(m_resources.documentString, index);
}

QString SingleDocTemplate::GetFilter() const {
    const QString name = GetDocString(FilterName);
    const QString extension = GetDocString(FilterExt);
    QString filter;
    if (!name.isEmpty() && !extension.isEmpty()) {
        filter = name + QStringLiteral("|*") + extension + QLatin1Char('|');
    }
    return filter + strings::AllFilesFilter() + QLatin1Char('|');
}

QString SingleDocTemplate::GetDefaultTitle() const {
    const QString name = GetDocString(DocName);
    return name.isEmpty() ? strings::Untitled() : name;
}

int SingleDocTemplate::SaveAllModified() {
    return m_document != nullptr ? m_document->SaveModified() : 1;
}

void SingleDocTemplate::CloseAllDocuments() {
    if (m_frame != nullptr) {
        Application* application = Application::Instance();
        if (application != nullptr && application->GetMainWnd() == m_frame) {
            application->SetMainWnd(nullptr);
        }
        m_frame->DestroyWindow();
        m_frame = nullptr;
    }
    m_document.reset();
}

int SingleDocTemplate::OpenDocumentFile(const QString& path, int makeVisible) {
    bool documentMade = false;
    if (m_document != nullptr) {
        if (!m_document->SaveModified()) {
            return 0;
        }
    } else {
        m_document = m_newDocument ? m_newDocument() : nullptr;
        if (m_document == nullptr) {
            UiServices::AppMessageBox(strings::FailedToCreateDoc());
            return 0;
        }
        m_document->SetDocTemplate(this);
        documentMade = true;
    }

    bool frameMade = false;
    if (m_frame == nullptr) {
        FrameWindow* frame = m_newFrame ? m_newFrame() : nullptr;
        if (frame != nullptr) {
            m_frame = frame;
            CreateContext context;
            context.document = m_document.get();
            context.docTemplate = this;
            if (m_newView) {
                context.newView = m_newView;
            }
            if (!frame->LoadFrame(m_resources, context)) {
                m_frame = nullptr;
                frame->DestroyWindow();
                frame = nullptr;
            }
        }
        if (frame == nullptr) {
            UiServices::AppMessageBox(strings::FailedToCreateDoc());
            if (documentMade) {
                m_document.reset();
            }
            return 0;
        }
        frameMade = true;
    }

    const auto undoCreation = [&] {
        if (!frameMade) {
            return;
        }
        if (m_frame != nullptr) {
            m_frame->DestroyWindow();
        }
        m_frame = nullptr;
        if (documentMade) {
            m_document.reset();
        }
    };

    if (path.isEmpty()) {
        m_document->SetTitle(GetDefaultTitle());
        if (!m_document->OnNewDocument()) {
            undoCreation();
            return 0;
        }
    } else {
        const int wasModified = m_document->IsModified();
        m_document->SetModifiedFlag(0);
        if (!m_document->OnOpenDocument(path)) {
            if (frameMade) {
                undoCreation();
            } else {
                m_document->OnOpenDocumentFailed(wasModified);
            }
            return 0;
        }
        m_document->SetPathName(path);
    }

    if (frameMade) {
        Application* application = Application::Instance();
        if (application != nullptr && application->GetMainWnd() == nullptr) {
            application->SetMainWnd(m_frame);
        }
    }
    const std::vector<View*> views = m_document->GetViews();
    for (View* view : views) {
        view->OnInitialUpdate();
    }
    if (frameMade && makeVisible && m_frame != nullptr) {
        m_frame->show();
    }
    return 1;
}

} // namespace framework

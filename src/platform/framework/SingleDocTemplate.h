#pragma once

#include <functional>
#include <memory>

#include <QPointer>
#include <QString>

#include "platform/NonCopyable.h"
#include "platform/framework/FrameResources.h"

namespace framework {

class Document;
class FrameWindow;
class View;

/// Joins one document class, one frame class and one view class under a resource
/// number, and runs New and Open for a single-document program: there is at most one
/// document and one frame, both reused from one New or Open to the next.
///
/// New / Open (`OpenDocumentFile`):
/// 1. With a document already there: `SaveModified` (the "%1 への変更を保存しますか?"
///    question); Cancel stops here. Otherwise the document is made.
/// 2. Without a frame: the frame is made and created (`LoadFrame`, which makes the view
///    and attaches it to the document). When that fails: the message
///    "空のﾄﾞｷｭﾒﾝﾄの作成に失敗しました。" and failure.
/// 3. New: the title becomes the default ("無題"), then `OnNewDocument`.
///    Open: the modified flag is cleared, then `OnOpenDocument(path)`; on success the
///    path name becomes `path`; on failure the path name stays and the modified flag is
///    put back as it was.
///    A failure on a frame made in step 2 destroys it (and the document made in step 1).
/// 4. On success every view gets `OnInitialUpdate`; a frame made in step 2 is recorded
///    as the application's main window (when it has none) and shown if `makeVisible`.
class SingleDocTemplate : private platform::NonCopyable {
public:
    /// Field numbers of the document string.
    enum DocStringIndex {
        WindowTitle = 0,
        DocName,
        FileNewName,
        FilterName,
        FilterExt,
        RegFileTypeId,
        RegFileTypeName
    };

    using DocumentFactory = std::function<std::unique_ptr<Document>()>;
    /// Makes a frame without parent; the template owns it until it is destroyed.
    using FrameFactory = std::function<FrameWindow*()>;
    /// Makes a view without parent; its frame takes it.
    using ViewFactory = std::function<View*()>;

    SingleDocTemplate(FrameResources resources, DocumentFactory newDocument, FrameFactory newFrame,
                      ViewFactory newView);
    /// Destroys the frame (views first) and the document, asking nothing.
    ~SingleDocTemplate();

    /// New (empty `path`) or Open (`path`) as described above. 1 on success.
    int OpenDocumentFile(const QString& path, int makeVisible = 1);
    /// Destroys frame and document without asking.
    void CloseAllDocuments();
    /// Asks the document's `SaveModified`; 1 (go on) without a document.
    int SaveAllModified();

    Document* GetDocument() const { return m_document.get(); }
    FrameWindow* GetFrame() const { return m_frame.data(); }
    int GetResourceId() const { return m_resources.id; }
    const FrameResources& GetResources() const { return m_resources; }

    /// Field `index` of the document string.
    QString GetDocString(DocStringIndex index) const;
    /// The filter of the file dialogs: "<filter name>|*<extension>|すべてのﾌｧｲﾙ (*.*)|*.*||",
    /// or only the all-files entry when the document string names no filter.
    QString GetFilter() const;
    /// The name given to a new document: the document name field, else "無題".
    QString GetDefaultTitle() const;

private:
    FrameResources m_resources;
    DocumentFactory m_newDocument;
    FrameFactory m_newFrame;
    ViewFactory m_newView;
    std::unique_ptr<Document> m_document;
    QPointer<FrameWindow> m_frame;
};

} // namespace framework

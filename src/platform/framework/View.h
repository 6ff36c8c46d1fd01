#pragma once

#include <QString>
#include <QWidget>

#include "platform/framework/CommandTarget.h"
#include "platform/framework/MessageBoxCodes.h"

namespace framework {

class Document;
class FrameWindow;

/// A view: the widget in a frame's client area that shows a document. It is the first
/// stop of the command routing while it is the frame's active view.
class View : public QWidget, public CommandTarget {
    Q_OBJECT

public:
    explicit View(QWidget* parent = nullptr);
    /// Leaves its document's list of views.
    ~View() override;

    /// The document shown; null before the view is attached to one. Borrowed.
    Document* GetDocument() const { return m_document; }
    /// The frame window the view sits in; null when it sits in none.
    FrameWindow* GetParentFrame() const;

    /// Called after every New and Open, once the document is ready, and before the frame
    /// is shown the first time. The default repaints the view.
    virtual void OnInitialUpdate();

    /// The view's own message box: `caption` empty means the application title.
    int MessageBox(const QString& text, const QString& caption = {}, unsigned style = MbOk);

private:
    friend class Document;
    Document* m_document = nullptr;
};

} // namespace framework

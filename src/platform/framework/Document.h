#pragma once

#include <vector>

#include <QString>

#include "platform/framework/CommandTarget.h"

namespace framework {

class FrameWindow;
class SingleDocTemplate;
class View;

/// A document: what the program works on, with a path name, a title and a modified
/// flag. It handles Save (57603) and Save As (57604) in its command map; New and Open
/// come through the application and the document template. Derived documents override
/// the hooks `OnNewDocument`, `OnOpenDocument` and `OnSaveDocument`.
///
/// While `OnNewDocument` or `OnOpenDocument` runs the frame and its view already exist,
/// so `GetFrame()` reaches the frame even at start-up, before the application records
/// it as its main window.
class Document : public CommandTarget {
public:
    Document();
    /// Detaches the views still attached (they are not destroyed).
    ~Document() override;

    /// New: the default empties the document (`DeleteContents`), clears the path name and
    /// the modified flag. Returns 1 on success.
    virtual int OnNewDocument();
    /// Open `path`: the default empties the document and clears the modified flag; a real
    /// document reads the file. Returns 1 on success. The template sets the path name
    /// afterwards.
    virtual int OnOpenDocument(const QString& path);
    /// Save to `path`: the default only clears the modified flag. Returns 1 on success.
    virtual int OnSaveDocument(const QString& path);
    /// Empties the document; the default does nothing.
    virtual void DeleteContents();
    /// Asked by Save and Save As before anything else: 0 stops the save (the document has
    /// said why). The default allows every save.
    virtual int CanSave();
    /// Whether Save must ask for a file name even though the document has a path name (its
    /// file holds something other than what a save would write); the default never asks.
    virtual int SaveNeedsNewName() const;
    /// After `OnOpenDocument` failed on an open through the template: the default puts the
    /// modified flag back as it was before the open (`wasModified`) and keeps the path name.
    virtual void OnOpenDocumentFailed(int wasModified);

    /// Before the document is replaced or closed: when it is modified, asks
    /// "%1 への変更を保存しますか?" (Yes/No/Cancel, %1 the file name or the title).
    /// Yes saves (as Save does) and goes on only if that succeeded; No goes on without
    /// saving; Cancel stops. Returns 1 to go on, 0 to stop.
    virtual int SaveModified();
    /// Whether `frame` may close; the default asks `SaveModified`.
    virtual int CanCloseFrame(FrameWindow* frame);

    /// Save: Save As when the document has no path name, its file cannot be written or
    /// `SaveNeedsNewName` says so, else `DoSave(GetPathName())`. Returns 1 on success.
    int DoFileSave();
    /// Saves to `path`, or, with `path` empty, to a path asked for with a save dialog
    /// proposing the path name (cancel returns 0); 0 at once when `CanSave` refuses. With `replace`
    /// the document takes the new path name. When `OnSaveDocument` fails the modified flag is put
    /// back as it was, so an unsaved document still asks before it is discarded. Returns 1 on
    /// success.
    int DoSave(const QString& path, int replace = 1);
    void OnFileSave();
    void OnFileSaveAs();

    /// Sets the path name and makes its file name (after the last '/' or '\\') the
    /// title, which the frames show. `addToRecentList` is accepted for the platform's
    /// signature; there is no recent-file list.
    void SetPathName(const QString& path, int addToRecentList = 1);
    const QString& GetPathName() const { return m_pathName; }
    void SetTitle(const QString& title);
    const QString& GetTitle() const { return m_title; }
    /// Sets the modified flag; the frames of the views show it as the desktop's
    /// unsaved-changes mark in their title.
    void SetModifiedFlag(int modified = 1);
    int IsModified() const { return m_modified ? 1 : 0; }

    void AddView(View* view);
    void RemoveView(View* view);
    const std::vector<View*>& GetViews() const { return m_views; }
    View* GetFirstView() const { return m_views.empty() ? nullptr : m_views.front(); }
    /// The frame of the first view; null without views.
    FrameWindow* GetFrame() const;

    SingleDocTemplate* GetDocTemplate() const { return m_template; }
    void SetDocTemplate(SingleDocTemplate* docTemplate) { m_template = docTemplate; }

private:
    QString m_pathName;
    QString m_title;
    bool m_modified = false;
    std::vector<View*> m_views;              // borrowed
    SingleDocTemplate* m_template = nullptr; // borrowed
};

} // namespace framework

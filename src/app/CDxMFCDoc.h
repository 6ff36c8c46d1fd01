#pragma once

#include <QString>

#include "platform/framework/Document.h"
#include "scene/DocumentOpen.h"

class IDocumentFrame;

/// The one document of the program. It owns nothing of the scene: characters, models and
/// animation sets live in the main frame's object store, and what is being edited is
/// named by the program-wide current pointers. New, Open and Save become operations on
/// them, after which the main frame refreshes its bars and the view redraws.
///
/// The framework's Open uses open mode 0 (a new scene). The file commands that insert a
/// character (32810) or change the animation (32813) or the model (32814) ask for a file
/// with an open dialog, set their mode around a direct call of `OnOpenDocument` (no
/// question about unsaved changes, the path name is the one the open sets), and put it
/// back to 0 afterwards; a cancelled dialog changes nothing.
class CDxMFCDoc : public framework::Document {
public:
    /// The filter of the file commands' open dialog.
    static constexpr char kFileFilter[] =
        QT_TRANSLATE_NOOP("Pavrix", "X ﾌｧｲﾙ (*.x)|*.x|すべてのﾌｧｲﾙ (*.*)|*.*||");
    /// Shown above the reason when a file could not be written.
    static constexpr char kSaveFailedMessage[] =
        QT_TRANSLATE_NOOP("Pavrix", "ファイルの保存に失敗しました。");
    /// Shown by Save and Save As when no character is loaded.
    static constexpr char kNothingToSaveMessage[] =
        QT_TRANSLATE_NOOP("Pavrix", "保存するデータがありません。");

    CDxMFCDoc();

    /// Stops playback and clears the scene: only the current character when a part is
    /// selected, else everything. 0 without the main frame's scene.
    int OnNewDocument() override;
    /// Opens `path` with the current open mode (scene::OpenDocument): stops playback,
    /// clears the selection, loads, then centres the camera on the model, refreshes the
    /// bars and requests a redraw. Messages go to the application's message box, a
    /// failure's technical line after a Japanese line naming its common cause
    /// (FailureCause). On success the path name is the animation library's name of the new
    /// animation set, and an open or insert puts `path` in the recent-file list.
    /// 0 on failure; what was done up to the failing step stays.
    int OnOpenDocument(const QString& path) override;
    /// Stops playback and writes the current character's model and animation set to
    /// `path` as a text .x file. The modified flag is cleared only when the file is
    /// complete on disk. 0 with nothing loaded (no message) or when the file could not be
    /// written: then kSaveFailedMessage and the reason are shown, the document stays
    /// modified and a file that was at `path` is left as it was. A complete save puts
    /// `path` in the recent-file list.
    int OnSaveDocument(const QString& path) override;

    /// Save and Save As go on only with a current model and animation set; otherwise
    /// kNothingToSaveMessage is shown and nothing is asked or written.
    int CanSave() override;
    /// After a change of animation or of model the document's file no longer holds what a
    /// save would write (the path name is the animation's file, or the model's no longer
    /// matches): the first Save asks for a name, proposing the path name, as Save As does.
    /// A successful save (or a new open) ends that.
    int SaveNeedsNewName() const override;
    /// A failed Open that had already cleared the scene leaves nothing of any file loaded:
    /// the document becomes untitled and unmodified rather than naming the file that was.
    /// Otherwise the framework's default.
    void OnOpenDocumentFailed(int wasModified) override;

    /// Files dropped on the window: asks to save changes first (Cancel opens nothing),
    /// starts a new document and inserts every file as one more character (a file that
    /// fails does not stop the others). 0 when the question was cancelled.
    int OpenDroppedFiles(const QStringList& paths);

    /// What the next open does with the scene (a new scene unless a command says otherwise).
    scene::OpenMode GetOpenMode() const { return m_openMode; }
    void SetOpenMode(scene::OpenMode mode) { m_openMode = mode; }

private:
    /// The main frame of this document's view; null before the frame exists.
    IDocumentFrame* GetMainFrame() const;
    /// Commands 32810, 32813 and 32814: a file from an open dialog, opened with `mode`.
    void OnFileCommand(scene::OpenMode mode);

    scene::OpenMode m_openMode = scene::OpenMode::NewScene;
    bool m_saveNeedsNewName = false;
    // Set by an open as a new scene that failed, for OnOpenDocumentFailed.
    bool m_failedOpenClearedScene = false;
    // Set by an open whose file could not be opened before anything was let go.
    bool m_failedOpenChangedNothing = false;
};

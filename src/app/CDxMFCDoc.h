#pragma once

#include <QString>

#include "platform/framework/Document.h"

class CMainFrame;

/// The one document of the program. It owns nothing of the scene: characters, models and
/// animation sets live in the main frame's object store, and what is being edited is
/// named by the program-wide current pointers. New, Open and Save become operations on
/// them, after which the main frame refreshes its bars and the view redraws.
///
/// The framework's Open uses open mode 0 (a new scene). The file commands that insert a
/// character or change the animation or the model set another mode around a direct call
/// of `OnOpenDocument`, and put it back to 0 afterwards.
class CDxMFCDoc : public framework::Document {
public:
    CDxMFCDoc() = default;

    /// Stops playback and clears the scene: only the current character when a part is
    /// selected, else everything. 0 without the main frame's scene.
    int OnNewDocument() override;
    /// Opens `path` with the current open mode (scene::OpenDocument): stops playback,
    /// clears the selection, loads, then centres the camera on the model, refreshes the
    /// bars and requests a redraw. Messages go to the application's message box. On
    /// success the path name is the animation library's name of the new animation set.
    /// 0 on failure; what was done up to the failing step stays.
    int OnOpenDocument(const QString& path) override;
    /// Writes the current character's model and animation set to `path` as a text .x
    /// file; the modified flag is cleared first. 0 with nothing loaded (no message) or
    /// when the file could not be written (the reason is shown; the old file stays).
    int OnSaveDocument(const QString& path) override;

    /// 0 new scene, 1 insert a character, 2 change the animation, 3 change the model.
    int GetOpenMode() const { return m_openMode; }
    void SetOpenMode(int mode) { m_openMode = mode; }

private:
    /// The main frame of this document's view; null before the frame exists.
    CMainFrame* GetMainFrame() const;

    int m_openMode = 0;
};

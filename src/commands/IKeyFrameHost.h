#pragma once

#include <QString>

#include "session/KeyTimeList.h"

class UndoHistory;

namespace rm {
class Frame;
} // namespace rm

/// What the key-frame commands need of the window they run in: message boxes, playback,
/// posing, the animation bar, the document's modified flag, the selection and the part
/// key dialog. The main frame implements it; tests give a scripted one, so every command
/// runs without a window. Everything else the commands touch is the edit context they are
/// given (EditContext.h) and the scene objects themselves.
class IKeyFrameHost {
public:
    virtual ~IKeyFrameHost() = default;

    /// A message box owned by the window (`style` and the answer as MessageBoxCodes.h).
    virtual int ShowMessage(const QString& text, const QString& caption, unsigned style) = 0;
    /// Stops playback: the play buttons come out and the current time drops its fraction.
    virtual void StopPlayback() = 0;
    /// Poses the current animation set at `time`.
    virtual void PoseCurrentAnimation(float time) = 0;
    /// Rebuilds the key-time list when `keyTimes` says so and shows the key range.
    virtual int RefreshKeyRange(session::KeyTimeList keyTimes) = 0;
    /// Shows the current time, key number and key length.
    virtual void RefreshTimeDisplay() = 0;
    /// Marks the document modified.
    virtual int MarkDocumentModified() = 0;
    /// The frame of the part picked in the view, or null. Borrowed.
    virtual rm::Frame* GetSelectedPart() const = 0;
    /// The text typed in the animation bar's Length edit.
    virtual QString GetKeyLengthText() const = 0;
    /// Shows `length` in the Length edit ("Last" for 0).
    virtual void ShowKeyLength(unsigned length) = 0;
    /// Runs the part animation key dialog modally; its result (1 for OK).
    virtual int RunPartKeyDialog() = 0;
    /// The edit history the commands' edits are recorded in; null records nothing.
    virtual UndoHistory* History() { return nullptr; }
};

#pragma once

#include <QString>

#include "commands/PositionKeyScaling.h"
#include "commands/ScaleFactors.h"
#include "session/KeyTimeList.h"

class UndoHistory;

/// What the model and animation batch commands need of the place they run in: message
/// boxes, the animation bar, the document's modified flag and the two scale dialogs. The
/// main frame implements it with its windows; the headless command line with a host that
/// answers every question with yes and takes the factors from its options; tests with a
/// scripted one. Everything else the commands touch is the edit context they are given
/// (EditContext.h) and the scene objects themselves.
class IBatchCommandHost {
public:
    virtual ~IBatchCommandHost() = default;

    /// A message box (`style` and the answer as MessageBoxCodes.h).
    virtual int ShowMessage(const QString& text, const QString& caption, unsigned style) = 0;
    /// Rebuilds the key-time list when `keyTimes` says so and shows the key range.
    virtual int RefreshKeyRange(session::KeyTimeList keyTimes) = 0;
    /// Shows the current time, key number and key length.
    virtual void RefreshTimeDisplay() = 0;
    /// Marks the document modified.
    virtual int MarkDocumentModified() = 0;

    /// The model scale dialog (141): on OK (1) `factors` holds the three factors typed and
    /// `positionKeys` the state of its check box. Any other result: cancelled.
    virtual int RunModelScaleDialog(ScaleFactors& factors, PositionKeyScaling& positionKeys) = 0;
    /// The position key scale dialog (142): on OK (1) `factors` holds the factors typed.
    virtual int RunPositionKeyScaleDialog(ScaleFactors& factors) = 0;
    /// The edit history the commands' edits are recorded in; null (the headless command
    /// line) records nothing.
    virtual UndoHistory* History() { return nullptr; }
};

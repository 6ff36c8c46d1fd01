#pragma once

#include <QString>

#include "commands/KeyFrameCommand.h"

namespace rm {
class Animation;
class Frame;
} // namespace rm

/// A key-frame command for the selected part alone (the per-part forms of the key-frame
/// commands). They share their checks: without a current animation set, without a selected
/// part, or for a part the current set does not animate, they say so under their caption
/// and change nothing. Each opens its own edit scope over the one animation it changes.
class PartKeyFrameCommand : public KeyFrameCommand {
public:
    using KeyFrameCommand::KeyFrameCommand;

    /// The name a message gives `part`: its base name, decoded as the part tree shows it.
    static QString PartName(const rm::Frame* part);

protected:
    /// The selected part, the animation of the current set that drives it, and its name.
    struct Target {
        rm::Frame* part = nullptr;
        rm::Animation* animation = nullptr;
        QString name;
    };

    /// The checks above, with `noPart` as the message for no selected part. False (after
    /// the message) when one fails.
    bool FindTarget(session::EditContext& context, const char* caption, const char* noPart,
                    Target* target);
    /// Scopes are opened by the commands themselves, over one part's animation.
    unsigned Touches() const override { return 0; }
    /// What every change ends with: the set posed at the current time, the key-time list
    /// rebuilt with the bar, the time shown, the document marked modified.
    void RefreshAfterChange(session::EditContext& context);
};

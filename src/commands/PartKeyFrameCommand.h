#pragma once

#include <QString>

#include "commands/KeyFrameCommand.h"

namespace rm {
class Animation;
class Frame;
} // namespace rm

struct CopiedPartKeys;

/// The key-frame commands for the selected part alone (the per-part forms of the key-frame
/// commands), one class for the family. They share their checks: without a current
/// animation set, without a selected part, or for a part the current set does not animate,
/// they say so under their caption and change nothing. Each opens its own edit scope over
/// the one animation it changes.
class PartKeyFrameCommand : public KeyFrameCommand {
public:
    enum class Kind {
        /// "Delete Parts Key Frame" (32830): after a warning, the selected part loses its
        /// keys at the current key time; the other parts keep theirs. A time where the part
        /// has no key is reported and nothing changes. Stops playback first.
        DeleteKeys,
        /// "Delete Position Key" (32817): the per-part form of "Delete All Position Key":
        /// after the same warning, naming the part, every position key of the selected part
        /// at times from 0 on goes; the other parts and the part's other keys stay.
        DeletePositionKeys,
        /// "Copy Parts Key Frame" (32831): remembers the selected part's keys at the current
        /// key time, their values, for "Paste Parts Key Frame". Like "Copy Key Frame" it
        /// shows nothing when it worked and goes on playing; a time where the part has no
        /// key is reported and the earlier copy stays. Changes no animation: 0.
        CopyKeys,
        /// "Paste Parts Key Frame" (32835): after a warning, the keys "Copy Parts Key Frame"
        /// took go onto the selected part (the copied one or another) at the current key
        /// time: each replaces the part's key of its channel there, or is added; the part's
        /// keys of channels that were not copied stay. The time goes to the current key time
        /// (PasteKeysCommand).
        PasteKeys,
    };

    /// `copied` is borrowed (the main frame's): what Copy fills and Paste reads.
    PartKeyFrameCommand(IKeyFrameHost& host, Kind kind, CopiedPartKeys& copied)
        : KeyFrameCommand(host), m_kind(kind), m_copied(copied) {}

    /// The name a message gives `part`: its base name, decoded as the part tree shows it.
    static QString PartName(const rm::Frame* part);

protected:
    int Run(session::EditContext& context) override;
    const char* StepName() const override;
    /// Scopes are opened by the commands themselves, over one part's animation.
    unsigned Touches() const override { return 0; }

private:
    /// The selected part, the animation of the current set that drives it, and its name.
    struct Target {
        rm::Frame* part = nullptr;
        rm::Animation* animation = nullptr;
        QString name;
    };

    int DeleteKeys(session::EditContext& context);
    int DeletePositionKeys(session::EditContext& context);
    int CopyKeys(session::EditContext& context);
    int PasteKeys(session::EditContext& context);

    /// The checks above, with `noPart` as the message for no selected part. False (after
    /// the message) when one fails.
    bool FindTarget(session::EditContext& context, const char* caption, const char* noPart,
                    Target* target);
    /// Says that `target` has no key at the current key time.
    void ReportNoKey(const session::EditContext& context, const Target& target,
                     const char* caption);
    /// What every change ends with: the set posed at the current time, the key-time list
    /// rebuilt with the bar, the time shown, the document marked modified.
    void RefreshAfterChange(session::EditContext& context);

    Kind m_kind;
    CopiedPartKeys& m_copied;
};

#pragma once

#include <vector>

#include "commands/KeyFrameCommand.h"

namespace rm {
class Animation;
class Frame;
} // namespace rm

/// A key edit of the timeline: a change to chosen keys of some parts' animations in the
/// current animation set. It asks nothing. Run stops playback, opens one edit scope over
/// exactly the animations the edit touches (so the step pictures those and no others), and
/// after a change poses the set at the current time, rebuilds the key-time list with the
/// bar, shows the time and marks the document modified: the refresh every edit ends with.
class KeyEditCommand : public KeyFrameCommand {
public:
    using KeyFrameCommand::KeyFrameCommand;

    /// The animation of `context`'s current animation set that drives `part`, or null.
    /// Borrowed.
    static rm::Animation* DrivingAnimation(const session::EditContext& context,
                                           const rm::Frame* part);

protected:
    int Run(session::EditContext& context) final;
    /// Opens its own scope over Targets().
    unsigned Touches() const final { return 0; }

    /// The animations the edit will change, each once; empty when there is nothing to do.
    virtual std::vector<rm::Animation*> Targets() const = 0;
    /// The edit itself, inside the scope. 1 when it changed a key.
    virtual int Edit() = 0;
    /// The context of the run under way (for Targets and Edit).
    const session::EditContext& EditedContext() const { return *m_context; }

private:
    const session::EditContext* m_context = nullptr;
};

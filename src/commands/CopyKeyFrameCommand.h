#pragma once

#include "commands/CopiedKey.h"
#include "commands/KeyFrameCommand.h"

/// "Copy Key Frame" (32803): remembers the current key time (and the current animation
/// set). No message, no check; playback goes on.
class CopyKeyFrameCommand : public KeyFrameCommand {
public:
    /// `copied` is borrowed (the main frame's).
    CopyKeyFrameCommand(IKeyFrameHost& host, CopiedKey& copied)
        : KeyFrameCommand(host), m_copied(copied) {}

    /// Changes no animation: 0.
    int Execute() override;

private:
    CopiedKey& m_copied;
};

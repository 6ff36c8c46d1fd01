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

protected:
    /// Changes no animation: 0.
    int Run(session::EditContext& context) override;
    const char* StepName() const override { return QT_TRANSLATE_NOOP("Pavrix", "キーのコピー"); }
    unsigned Touches() const override { return 0; }

private:
    CopiedKey& m_copied;
};

#pragma once

#include "commands/CopiedKey.h"
#include "commands/KeyFrameCommand.h"

/// "Paste Key Frame" (32804): after a warning, every part's keys at the current key time
/// are replaced by its keys at the copied time, and the time goes to the current key
/// time. Nothing copied, or a copied time outside the current set's first and last key
/// time, asks for a copy first. Playback is not stopped.
class PasteKeyFrameCommand : public KeyFrameCommand {
public:
    PasteKeyFrameCommand(IKeyFrameHost& host, const CopiedKey& copied)
        : KeyFrameCommand(host), m_copied(copied) {}

protected:
    int Run(session::EditContext& context) override;
    const char* StepName() const override { return QT_TRANSLATE_NOOP("Pavrix", "キーの貼り付け"); }

private:
    const CopiedKey& m_copied;
};

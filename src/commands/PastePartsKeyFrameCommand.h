#pragma once

#include "commands/CopiedPartKeys.h"
#include "commands/PartKeyFrameCommand.h"
#include "platform/framework/Translate.h"

/// "Paste Parts Key Frame" (32835): after a warning, the keys "Copy Parts Key Frame" took
/// go onto the selected part (the copied one or another) at the current key time: each
/// replaces the part's key of its channel there, or is added; the part's keys of channels
/// that were not copied stay. The time goes to the current key time (PasteKeysCommand).
class PastePartsKeyFrameCommand : public PartKeyFrameCommand {
public:
    PastePartsKeyFrameCommand(IKeyFrameHost& host, const CopiedPartKeys& copied)
        : PartKeyFrameCommand(host), m_copied(copied) {}

protected:
    int Run(session::EditContext& context) override;
    const char* StepName() const override {
        return QT_TRANSLATE_NOOP("Pavrix", "パーツのキーの貼り付け");
    }

private:
    const CopiedPartKeys& m_copied;
};

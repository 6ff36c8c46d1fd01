#pragma once

#include "commands/CopiedPartKeys.h"
#include "commands/PartKeyFrameCommand.h"
#include "platform/framework/Translate.h"

/// "Copy Parts Key Frame" (32831): remembers the selected part's keys at the current key
/// time, their values, for "Paste Parts Key Frame". Like "Copy Key Frame" it shows nothing
/// when it worked and goes on playing; a time where the part has no key is reported and
/// the earlier copy stays.
class CopyPartsKeyFrameCommand : public PartKeyFrameCommand {
public:
    /// `copied` is borrowed (the main frame's).
    CopyPartsKeyFrameCommand(IKeyFrameHost& host, CopiedPartKeys& copied)
        : PartKeyFrameCommand(host), m_copied(copied) {}

protected:
    /// Changes no animation: 0.
    int Run(session::EditContext& context) override;
    const char* StepName() const override {
        return QT_TRANSLATE_NOOP("Pavrix", "パーツのキーのコピー");
    }

private:
    CopiedPartKeys& m_copied;
};

#pragma once

#include "commands/PartKeyFrameCommand.h"
#include "platform/framework/Translate.h"

/// "Delete Parts Key Frame" (32830): after a warning, the selected part loses its keys at
/// the current key time; the other parts keep theirs. A time where the part has no key is
/// reported and nothing changes. Stops playback first.
class DeletePartsKeyFrameCommand : public PartKeyFrameCommand {
public:
    using PartKeyFrameCommand::PartKeyFrameCommand;

protected:
    int Run(session::EditContext& context) override;
    const char* StepName() const override {
        return QT_TRANSLATE_NOOP("Pavrix", "パーツのキーの削除");
    }
};

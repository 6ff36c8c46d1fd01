#pragma once

#include "commands/PartKeyFrameCommand.h"
#include "platform/framework/Translate.h"

/// "Delete Position Key" (32817): the per-part form of "Delete All Position Key": after
/// the same warning, naming the part, every position key of the selected part at times
/// from 0 on goes; the other parts and the part's other keys stay.
class DeletePositionKeyCommand : public PartKeyFrameCommand {
public:
    using PartKeyFrameCommand::PartKeyFrameCommand;

protected:
    int Run(session::EditContext& context) override;
    const char* StepName() const override {
        return QT_TRANSLATE_NOOP("Pavrix", "パーツのポジションキーの削除");
    }
};

#pragma once

#include "commands/BatchCommand.h"

/// "Delete All Position Key" (32818): after a warning, every position key of every part
/// at times from 0 on goes, so the animation no longer depends on the model's size. The
/// key-time list is not rebuilt: a time that held only position keys stays in the bar until
/// the next rebuild.
class DeleteAllPositionKeyCommand : public BatchCommand {
public:
    using BatchCommand::BatchCommand;

protected:
    const Recipe& GetRecipe() const override;
    Outcome Apply(session::EditContext& context) override;
};

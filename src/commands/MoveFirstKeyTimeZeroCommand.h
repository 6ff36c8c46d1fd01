#pragma once

#include "commands/BatchCommand.h"

/// "Move First Key Time Zero" (32838): after a warning every key of every part moves by
/// minus the first key time, so the animation starts at 0. The current time is not moved
/// with the keys.
class MoveFirstKeyTimeZeroCommand : public BatchCommand {
public:
    using BatchCommand::BatchCommand;

protected:
    const Recipe& GetRecipe() const override;
    Outcome Apply(session::EditContext& context) override;
};

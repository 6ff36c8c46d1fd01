#pragma once

#include "commands/BatchCommand.h"

/// "Change Animation Pace" (32823): after a warning the key times are stretched so that
/// the span from the first to the last key time doubles (the times themselves are doubled:
/// ScaleToLength); playback at the same speed then takes twice as long. A set with fewer
/// than two key times is left as it is, without a message.
class ChangeAnimationPaceCommand : public BatchCommand {
public:
    using BatchCommand::BatchCommand;

protected:
    const Recipe& GetRecipe() const override;
    Outcome Apply(session::EditContext& context) override;
};

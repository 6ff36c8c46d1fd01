#pragma once

#include "commands/BatchCommand.h"

/// "Reverse Rotate, Position, Scale" (32839): after a warning, the current animation set is
/// reversed in time (CAnimationData::ReverseKeyTimes): a key at t goes to first + last - t
/// on every part and channel, so the motion plays backwards over the same key times.
class ReverseRotatePositionScaleCommand : public BatchCommand {
public:
    using BatchCommand::BatchCommand;

protected:
    const Recipe& GetRecipe() const override;
    Outcome Apply(session::EditContext& context) override;
};

#pragma once

#include "commands/BatchCommand.h"

/// "Reset Orientation" (32836): every part below the current model's root turns back to
/// direction (0, 0, 1) and up (0, 1, 0) relative to its parent; positions and keys stay
/// (the next posing of an animated part overrides the reset). No question, no message
/// except the missing animation set's, which it shows under the skin command's caption.
class ResetOrientationCommand : public BatchCommand {
public:
    using BatchCommand::BatchCommand;

protected:
    const Recipe& GetRecipe() const override;
    Outcome Apply(session::EditContext& context) override;
};

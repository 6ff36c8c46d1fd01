#pragma once

#include "commands/BatchCommand.h"

/// "Change All Position Key Scale" (32819): the position key scale dialog gives three
/// factors, limited away from zero; on OK every position key of every part is multiplied
/// by them component by component and the document is marked modified.
class ChangeAllPositionKeyScaleCommand : public BatchCommand {
public:
    using BatchCommand::BatchCommand;

protected:
    const Recipe& GetRecipe() const override;
    Outcome Apply(session::EditContext& context) override;
};

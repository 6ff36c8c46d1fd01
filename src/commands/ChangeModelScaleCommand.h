#pragma once

#include "commands/BatchCommand.h"

/// "Change Model Scale" (32815): the model scale dialog gives three factors, limited away
/// from zero (LimitScaleFactors); on OK the current model is scaled from its root frame
/// (frame offsets and meshes) and, with the dialog's check box set, every position key of
/// the current animation set too. Then "スケールの変更完了。" and the document is
/// marked modified. Without a current model it only says so.
class ChangeModelScaleCommand : public BatchCommand {
public:
    using BatchCommand::BatchCommand;

protected:
    const Recipe& GetRecipe() const override;
    Outcome Apply(session::EditContext& context) override;
};

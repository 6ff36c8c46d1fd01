#include "commands/ChangeAllPositionKeyScaleCommand.h"

#include "commands/EditScope.h"
#include "commands/IBatchCommandHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CAnimationData.h"
#include "session/EditContext.h"

const BatchCommand::Recipe& ChangeAllPositionKeyScaleCommand::GetRecipe() const {
    static const Recipe recipe{
        QT_TRANSLATE_NOOP("Pavrix", "Change All Position Key Scale"),
        QT_TRANSLATE_NOOP("Pavrix", "ポジションキーの移動サイズの変更"),
        EditScope::AnimationSets,
        Ask::PositionKeyScaleDialog,
        nullptr,
        QT_TRANSLATE_NOOP("Pavrix", "すべてのポジションキーの移動サイズ変更完了。"),
        KeyTimes::Unchanged,
        Marking::Modified};
    return recipe;
}

BatchCommand::Outcome ChangeAllPositionKeyScaleCommand::Apply(session::EditContext& context) {
    const ScaleFactors factors = LimitScaleFactors(m_factors);
    context.currentAnimation->ScalePositionKeys(factors.x, factors.y, factors.z, -1.0f);
    context.redrawRequest = true;
    return Outcome::Changed;
}

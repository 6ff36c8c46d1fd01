#include "commands/ChangeModelScaleCommand.h"

#include "app/ProgramState.h"
#include "commands/EditScope.h"
#include "commands/IBatchCommandHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"

const BatchCommand::Recipe& ChangeModelScaleCommand::GetRecipe() const {
    static const Recipe recipe{
        .caption = "Change Model Scale",
        .stepName = "モデルの大きさの変更",
        .touches = EditScope::ModelFrames | EditScope::Meshes | EditScope::AnimationSets,
        .needsModel = true,
        .done = "スケールの変更完了。",
    };
    return recipe;
}

bool ChangeModelScaleCommand::Ask() {
    return m_host.RunModelScaleDialog(m_factors, m_scalePositionKeys) == framework::IdOk;
}

BatchCommand::Outcome ChangeModelScaleCommand::Apply() {
    // The dialog limits what it shows; the limit is applied here too, so that every way
    // of giving factors (the headless options among them) passes the same test.
    const ScaleFactors factors = LimitScaleFactors(m_factors);
    g_currentModel->Scale(g_currentModel->Root(), factors.x, factors.y, factors.z);
    if (m_scalePositionKeys && g_currentAnimation != nullptr) {
        g_currentAnimation->ScalePositionKeys(factors.x, factors.y, factors.z, -1.0f);
    }
    g_redrawRequest = 1;
    return Outcome::Changed;
}

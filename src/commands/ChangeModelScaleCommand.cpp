#include "commands/ChangeModelScaleCommand.h"

#include "app/ProgramState.h"
#include "commands/EditScope.h"
#include "commands/IBatchCommandHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"

namespace {

/// The frames and meshes it scales, and the position keys with the check box set.
constexpr unsigned kTouches = EditScope::ModelFrames | EditScope::Meshes | EditScope::AnimationSets;

} // namespace

const BatchCommand::Recipe& ChangeModelScaleCommand::GetRecipe() const {
    static const Recipe recipe{"Change Model Scale",
                               "モデルの大きさの変更",
                               kTouches,
                               Ask::ModelScaleDialog,
                               nullptr,
                               "スケールの変更完了。",
                               false,
                               true,
                               true};
    return recipe;
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

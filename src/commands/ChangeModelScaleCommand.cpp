#include "commands/ChangeModelScaleCommand.h"

#include <algorithm>
#include <vector>

#include "commands/EditScope.h"
#include "commands/IBatchCommandHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"

namespace {

/// The frames and meshes it scales, and the position keys with the check box set.
constexpr unsigned kTouches = EditScope::ModelFrames | EditScope::Meshes | EditScope::AnimationSets;

} // namespace

const BatchCommand::Recipe& ChangeModelScaleCommand::GetRecipe() const {
    static const Recipe recipe{QT_TRANSLATE_NOOP("Pavrix", "Change Model Scale"),
                               QT_TRANSLATE_NOOP("Pavrix", "モデルの大きさの変更"),
                               kTouches,
                               Ask::ModelScaleDialog,
                               nullptr,
                               QT_TRANSLATE_NOOP("Pavrix", "スケールの変更完了。"),
                               KeyTimes::Unchanged,
                               Marking::Modified,
                               Needs::Model};
    return recipe;
}

BatchCommand::Outcome ChangeModelScaleCommand::Apply(session::EditContext& context) {
    // The dialog limits what it shows; the limit is applied here too, so that every way
    // of giving factors (the headless options among them) passes the same test.
    const ScaleFactors factors = LimitScaleFactors(m_factors);
    context.currentModel->Scale(context.currentModel->Root(), factors.x, factors.y, factors.z);
    if (m_positionKeys == PositionKeyScaling::Scale) {
        // Every set of the character that moves this model is kept and saved with it, so
        // all of them follow the new size, not only the one shown.
        std::vector<CAnimationData*> sets;
        if (context.currentCharacter != nullptr) {
            const auto all = context.currentCharacter->Animations();
            sets.assign(all.begin(), all.end());
        }
        if (std::find(sets.begin(), sets.end(), context.currentAnimation) == sets.end()) {
            sets.push_back(context.currentAnimation);
        }
        for (CAnimationData* set : sets) {
            if (set != nullptr &&
                (set == context.currentAnimation || set->Model() == context.currentModel)) {
                set->ScalePositionKeys(factors.x, factors.y, factors.z, -1.0f);
            }
        }
    }
    context.redrawRequest = true;
    return Outcome::Changed;
}

#include "commands/ResetOrientationCommand.h"

#include "commands/EditScope.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"

const BatchCommand::Recipe& ResetOrientationCommand::GetRecipe() const {
    // No question and no message but the missing set's, under the skin command's caption.
    static const Recipe recipe{QT_TRANSLATE_NOOP("Pavrix", "Morphing Skin"),
                               QT_TRANSLATE_NOOP("Pavrix", "姿勢のリセット"),
                               EditScope::ModelFrames,
                               Ask::Nothing,
                               nullptr,
                               nullptr,
                               KeyTimes::Unchanged,
                               Marking::None};
    return recipe;
}

BatchCommand::Outcome ResetOrientationCommand::Apply(session::EditContext& context) {
    context.redrawRequest = true;
    if (context.currentModel == nullptr) {
        return Outcome::Failed;
    }
    context.currentModel->ResetOrientation(context.currentModel->Root());
    return Outcome::Changed;
}

#include "commands/ResetOrientationCommand.h"

#include "app/ProgramState.h"
#include "commands/EditScope.h"
#include "scene/CModelData.h"

const BatchCommand::Recipe& ResetOrientationCommand::GetRecipe() const {
    // No question and no message but the missing set's, under the skin command's caption.
    static const Recipe recipe{QT_TRANSLATE_NOOP("Pavrix", "Morphing Skin"),
                               QT_TRANSLATE_NOOP("Pavrix", "姿勢のリセット"),
                               EditScope::ModelFrames,
                               Ask::Nothing,
                               nullptr,
                               nullptr,
                               false,
                               false};
    return recipe;
}

BatchCommand::Outcome ResetOrientationCommand::Apply() {
    g_redrawRequest = 1;
    if (g_currentModel == nullptr) {
        return Outcome::Failed;
    }
    g_currentModel->ResetOrientation(g_currentModel->Root());
    return Outcome::Changed;
}

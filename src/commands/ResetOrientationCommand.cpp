#include "commands/ResetOrientationCommand.h"

#include "app/ProgramState.h"
#include "scene/CModelData.h"

namespace {

// The command shares the skin command's caption.
constexpr char kCaption[] = "Morphing Skin";

} // namespace

CommandResult ResetOrientationCommand::Execute() {
    if (ReportMissingAnimation(kCaption)) {
        return CommandResult::Refused;
    }
    g_redrawRequest = 1;
    if (g_currentModel == nullptr) {
        return CommandResult::Refused;
    }
    g_currentModel->ResetOrientation(g_currentModel->Root());
    return CommandResult::Changed;
}

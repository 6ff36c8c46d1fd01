#include "commands/ChangeModelScaleCommand.h"

#include "app/ProgramState.h"
#include "commands/IBatchCommandHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"

namespace {

constexpr char kCaption[] = "Change Model Scale";
constexpr char kNoModel[] = "モデルデータが存在しません。";
constexpr char kDone[] = "スケールの変更完了。";

} // namespace

CommandResult ChangeModelScaleCommand::Execute() {
    if (g_currentModel == nullptr) {
        Inform(kNoModel, kCaption);
        return CommandResult::Refused;
    }
    ScaleFactors factors;
    int scalePositionKeys = 0;
    if (m_host.RunModelScaleDialog(factors, scalePositionKeys) != framework::IdOk) {
        return CommandResult::Cancelled;
    }
    // The dialog limits what it shows; the limit is applied here too, so that every way
    // of giving factors (the headless options among them) passes the same test.
    factors = LimitScaleFactors(factors);
    g_currentModel->Scale(g_currentModel->Root(), factors.x, factors.y, factors.z);
    if (scalePositionKeys && g_currentAnimation != nullptr) {
        g_currentAnimation->ScalePositionKeys(factors.x, factors.y, factors.z, -1.0f);
    }
    g_redrawRequest = 1;
    Inform(kDone, kCaption);
    m_host.MarkDocumentModified();
    return CommandResult::Changed;
}

#include "commands/ChangeAllPositionKeyScaleCommand.h"

#include "app/ProgramState.h"
#include "commands/IBatchCommandHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CAnimationData.h"

namespace {

constexpr char kCaption[] = "Change All Position Key Scale";
constexpr char kDone[] = "すべてのポジションキーの移動サイズ変更完了。";

} // namespace

CommandResult ChangeAllPositionKeyScaleCommand::Execute() {
    if (ReportMissingAnimation(kCaption)) {
        return CommandResult::Refused;
    }
    ScaleFactors factors;
    if (m_host.RunPositionKeyScaleDialog(factors) != framework::IdOk) {
        return CommandResult::Cancelled;
    }
    factors = LimitScaleFactors(factors);
    g_currentAnimation->ScalePositionKeys(factors.x, factors.y, factors.z, -1.0f);
    g_redrawRequest = 1;
    Inform(kDone, kCaption);
    m_host.MarkDocumentModified();
    return CommandResult::Changed;
}

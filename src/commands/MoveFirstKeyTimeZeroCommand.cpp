#include "commands/MoveFirstKeyTimeZeroCommand.h"

#include "app/ProgramState.h"
#include "commands/IBatchCommandHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CAnimationData.h"

namespace {

constexpr char kCaption[] = "Move First Key Time Zero";
constexpr char kConfirm[] = "先頭キーが0から始まるよう、すべてのキーを移動します。\n";
constexpr char kDone[] = "変更完了。";

} // namespace

CommandResult MoveFirstKeyTimeZeroCommand::Execute() {
    if (ReportMissingAnimation(kCaption)) {
        return CommandResult::Refused;
    }
    if (!Confirm(kConfirm, kCaption, framework::MbOkCancel | framework::MbIconExclamation)) {
        return CommandResult::Cancelled;
    }
    const float first = g_currentAnimation->KeyTime(0);
    if (!g_currentAnimation->ShiftKeyTimes(-first)) {
        return CommandResult::Refused;
    }
    Inform(kDone, kCaption);
    m_host.RefreshKeyRange(1);
    m_host.RefreshTimeDisplay();
    m_host.MarkDocumentModified();
    return first != 0.0f ? CommandResult::Changed : CommandResult::Refused;
}

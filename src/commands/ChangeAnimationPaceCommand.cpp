#include "commands/ChangeAnimationPaceCommand.h"

#include "app/ProgramState.h"
#include "commands/IBatchCommandHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CAnimationData.h"

namespace {

constexpr char kCaption[] = "Change Animation Pace";
constexpr char kConfirm[] = "アニメーション全体の長さを変更することで、\n再生ペースを変えます。\n\n"
                            "現在の機能：アニメーションの長さ×２倍";
constexpr char kDone[] = "アニメーションの長さの変更完了。";

} // namespace

CommandResult ChangeAnimationPaceCommand::Execute() {
    if (ReportMissingAnimation(kCaption)) {
        return CommandResult::Refused;
    }
    if (!Confirm(kConfirm, kCaption, framework::MbOkCancel | framework::MbIconExclamation)) {
        return CommandResult::Cancelled;
    }
    const unsigned count = g_currentAnimation->KeyTimeCount();
    const float first = g_currentAnimation->KeyTime(0);
    const float last = count > 0 ? g_currentAnimation->KeyTime(static_cast<int>(count) - 1) : 0.0f;
    if (!g_currentAnimation->ScaleToLength(2.0f * (last - first))) {
        return CommandResult::Refused;
    }
    Inform(kDone, kCaption);
    m_host.RefreshKeyRange(1);
    m_host.RefreshTimeDisplay();
    m_host.MarkDocumentModified();
    return CommandResult::Changed;
}

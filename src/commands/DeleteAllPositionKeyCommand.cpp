#include "commands/DeleteAllPositionKeyCommand.h"

#include "app/ProgramState.h"
#include "commands/IBatchCommandHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CAnimationData.h"

namespace {

constexpr char kCaption[] = "Delete All Position Key";
constexpr char kConfirm[] = "すべてのポジション(位置)キーを削除し、\n"
                            "アニメーションをモデルのサイズに依存しないようにします。";
constexpr char kDone[] = "ポジションキーの削除完了。";

} // namespace

CommandResult DeleteAllPositionKeyCommand::Execute() {
    if (ReportMissingAnimation(kCaption)) {
        return CommandResult::Refused;
    }
    if (!Confirm(kConfirm, kCaption, framework::MbOkCancel | framework::MbIconExclamation)) {
        return CommandResult::Cancelled;
    }
    g_currentAnimation->DeletePositionKeys(-1.0f);
    Inform(kDone, kCaption);
    m_host.MarkDocumentModified();
    return CommandResult::Changed;
}

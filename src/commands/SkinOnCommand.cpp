#include "commands/SkinOnCommand.h"

#include "app/ProgramState.h"
#include "commands/IBatchCommandHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CModelData.h"

namespace {

constexpr char kCaption[] = "Morphing Skin";
constexpr char kConfirm[] =
    "モーフィングによるスキン処理を行いますか？\n一度実行したら元には戻せません。";
constexpr char kDone[] = "スキン処理機能が有効になりました。";

} // namespace

CommandResult SkinOnCommand::Execute() {
    if (ReportMissingAnimation(kCaption)) {
        return CommandResult::Refused;
    }
    if (!Confirm(kConfirm, kCaption, framework::MbYesNo | framework::MbIconQuestion)) {
        return CommandResult::Cancelled;
    }
    g_redrawRequest = 1;
    if (g_currentModel == nullptr || !g_currentModel->EnableSkin()) {
        return CommandResult::Refused;
    }
    Inform(kDone, kCaption);
    return CommandResult::Changed;
}

#include "commands/SkinOnCommand.h"

#include "app/ProgramState.h"
#include "commands/IBatchCommandHost.h"
#include "commands/UndoHistory.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CModelData.h"

namespace {

constexpr char kQuestion[] =
    "モーフィングによるスキン処理を行いますか？\n一度実行したら元には戻せません。";
constexpr char kDone[] = "スキン処理機能が有効になりました。\n"
                         "この操作は元に戻せません。それまでの操作も元に戻せなくなりました。";

} // namespace

const BatchCommand::Recipe& SkinOnCommand::GetRecipe() const {
    // No step: the skin cannot be taken back, and the history before it is forgotten (the
    // meshes it replaces are gone).
    static const Recipe recipe{"Morphing Skin", "スキン処理", 0,     Ask::YesNo,
                               kQuestion,       kDone,        false, false};
    return recipe;
}

BatchCommand::Outcome SkinOnCommand::Apply() {
    g_redrawRequest = 1;
    if (g_currentModel == nullptr || !g_currentModel->EnableSkin()) {
        return Outcome::Failed;
    }
    if (UndoHistory* history = m_host.History()) {
        history->ClearKeepingState();
    }
    return Outcome::Changed;
}

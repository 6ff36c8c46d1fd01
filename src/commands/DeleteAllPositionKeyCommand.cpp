#include "commands/DeleteAllPositionKeyCommand.h"

#include "app/ProgramState.h"
#include "commands/EditScope.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CAnimationData.h"

const BatchCommand::Recipe& DeleteAllPositionKeyCommand::GetRecipe() const {
    static const Recipe recipe{
        .caption = "Delete All Position Key",
        .stepName = "ポジションキーの全削除",
        .touches = EditScope::AnimationSets,
        .question = "すべてのポジション(位置)キーを削除し、\n"
                    "アニメーションをモデルのサイズに依存しないようにします。",
        .questionStyle = framework::MbOkCancel | framework::MbIconExclamation,
        .done = "ポジションキーの削除完了。",
    };
    return recipe;
}

BatchCommand::Outcome DeleteAllPositionKeyCommand::Apply() {
    g_currentAnimation->DeletePositionKeys(-1.0f);
    return Outcome::Changed;
}

#include "commands/ChangeAnimationPaceCommand.h"

#include "app/ProgramState.h"
#include "commands/EditScope.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CAnimationData.h"

const BatchCommand::Recipe& ChangeAnimationPaceCommand::GetRecipe() const {
    static const Recipe recipe{
        .caption = "Change Animation Pace",
        .stepName = "アニメーションのペースの変更",
        .touches = EditScope::AnimationSets,
        .question = "アニメーション全体の長さを変更することで、\n再生ペースを変えます。\n\n"
                    "現在の機能：アニメーションの長さ×２倍",
        .questionStyle = framework::MbOkCancel | framework::MbIconExclamation,
        .done = "アニメーションの長さの変更完了。",
        .refreshKeys = true,
    };
    return recipe;
}

BatchCommand::Outcome ChangeAnimationPaceCommand::Apply() {
    const unsigned count = g_currentAnimation->KeyTimeCount();
    const float first = g_currentAnimation->KeyTime(0);
    const float last = count > 0 ? g_currentAnimation->KeyTime(static_cast<int>(count) - 1) : 0.0f;
    return g_currentAnimation->ScaleToLength(2.0f * (last - first)) ? Outcome::Changed
                                                                     : Outcome::Failed;
}

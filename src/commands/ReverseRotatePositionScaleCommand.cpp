#include "commands/ReverseRotatePositionScaleCommand.h"

#include "app/ProgramState.h"
#include "commands/EditScope.h"
#include "scene/CAnimationData.h"

namespace {

constexpr char kQuestion[] = "すべてのキー(回転・位置・拡大縮小)の時間を反転し、\n"
                             "アニメーションを逆向きに再生するようにします。";

} // namespace

const BatchCommand::Recipe& ReverseRotatePositionScaleCommand::GetRecipe() const {
    static const Recipe recipe{"Reverse Rotate, Position, Scale",
                               "アニメーションの反転",
                               EditScope::AnimationSets,
                               Ask::Warning,
                               kQuestion,
                               "反転完了。",
                               true,
                               true};
    return recipe;
}

BatchCommand::Outcome ReverseRotatePositionScaleCommand::Apply() {
    return g_currentAnimation->ReverseKeyTimes() ? Outcome::Changed : Outcome::Unchanged;
}

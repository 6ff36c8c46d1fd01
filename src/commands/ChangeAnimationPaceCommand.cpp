#include "commands/ChangeAnimationPaceCommand.h"

#include "commands/EditScope.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CAnimationData.h"
#include "session/EditContext.h"

namespace {

constexpr char kQuestion[] = QT_TRANSLATE_NOOP(
    "Pavrix", "アニメーション全体の長さを変更することで、\n再生ペースを変えます。\n\n"
              "現在の機能：アニメーションの長さ×２倍");

} // namespace

const BatchCommand::Recipe& ChangeAnimationPaceCommand::GetRecipe() const {
    static const Recipe recipe{QT_TRANSLATE_NOOP("Pavrix", "Change Animation Pace"),
                               QT_TRANSLATE_NOOP("Pavrix", "アニメーションのペースの変更"),
                               EditScope::AnimationSets,
                               Ask::Warning,
                               kQuestion,
                               QT_TRANSLATE_NOOP("Pavrix", "アニメーションの長さの変更完了。"),
                               KeyTimes::Refresh,
                               Marking::Modified};
    return recipe;
}

BatchCommand::Outcome ChangeAnimationPaceCommand::Apply(session::EditContext& context) {
    const unsigned count = context.currentAnimation->KeyTimeCount();
    const float first = context.currentAnimation->KeyTime(0);
    const float last =
        count > 0 ? context.currentAnimation->KeyTime(static_cast<int>(count) - 1) : 0.0f;
    return context.currentAnimation->ScaleToLength(2.0f * (last - first)) ? Outcome::Changed
                                                                          : Outcome::Failed;
}

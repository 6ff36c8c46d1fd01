#include "commands/ReverseRotatePositionScaleCommand.h"

#include "commands/EditScope.h"
#include "platform/framework/Translate.h"
#include "scene/CAnimationData.h"
#include "session/EditContext.h"

namespace {

constexpr char kQuestion[] =
    QT_TRANSLATE_NOOP("Pavrix", "すべてのキー(回転・位置・拡大縮小)の時間を反転し、\n"
                                "アニメーションを逆向きに再生するようにします。");

} // namespace

const BatchCommand::Recipe& ReverseRotatePositionScaleCommand::GetRecipe() const {
    static const Recipe recipe{QT_TRANSLATE_NOOP("Pavrix", "Reverse Rotate, Position, Scale"),
                               QT_TRANSLATE_NOOP("Pavrix", "アニメーションの反転"),
                               EditScope::AnimationSets,
                               Ask::Warning,
                               kQuestion,
                               QT_TRANSLATE_NOOP("Pavrix", "反転完了。"),
                               KeyTimes::Refresh,
                               Marking::Modified};
    return recipe;
}

BatchCommand::Outcome ReverseRotatePositionScaleCommand::Apply(session::EditContext& context) {
    return context.currentAnimation->ReverseKeyTimes() ? Outcome::Changed : Outcome::Unchanged;
}

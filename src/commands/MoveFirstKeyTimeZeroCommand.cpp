#include "commands/MoveFirstKeyTimeZeroCommand.h"

#include "commands/EditScope.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CAnimationData.h"
#include "session/EditContext.h"

namespace {

constexpr char kQuestion[] =
    QT_TRANSLATE_NOOP("Pavrix", "先頭キーが0から始まるよう、すべてのキーを移動します。\n");

} // namespace

const BatchCommand::Recipe& MoveFirstKeyTimeZeroCommand::GetRecipe() const {
    static const Recipe recipe{QT_TRANSLATE_NOOP("Pavrix", "Move First Key Time Zero"),
                               QT_TRANSLATE_NOOP("Pavrix", "先頭キーを0へ移動"),
                               EditScope::AnimationSets,
                               Ask::Warning,
                               kQuestion,
                               QT_TRANSLATE_NOOP("Pavrix", "変更完了。"),
                               KeyTimes::Refresh,
                               Marking::Modified};
    return recipe;
}

BatchCommand::Outcome MoveFirstKeyTimeZeroCommand::Apply(session::EditContext& context) {
    const float first = context.currentAnimation->KeyTime(0);
    if (!context.currentAnimation->ShiftKeyTimes(-first)) {
        return Outcome::Failed;
    }
    // Keys starting at 0 stay where they are; the command still says it is done.
    return first != 0.0f ? Outcome::Changed : Outcome::Unchanged;
}

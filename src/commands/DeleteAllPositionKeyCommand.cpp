#include "commands/DeleteAllPositionKeyCommand.h"

#include "commands/EditScope.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CAnimationData.h"
#include "session/EditContext.h"

namespace {

constexpr char kQuestion[] =
    QT_TRANSLATE_NOOP("Pavrix", "すべてのポジション(位置)キーを削除し、\n"
                                "アニメーションをモデルのサイズに依存しないようにします。");

} // namespace

const BatchCommand::Recipe& DeleteAllPositionKeyCommand::GetRecipe() const {
    static const Recipe recipe{QT_TRANSLATE_NOOP("Pavrix", "Delete All Position Key"),
                               QT_TRANSLATE_NOOP("Pavrix", "ポジションキーの全削除"),
                               EditScope::AnimationSets,
                               Ask::Warning,
                               kQuestion,
                               QT_TRANSLATE_NOOP("Pavrix", "ポジションキーの削除完了。"),
                               KeyTimes::Refresh,
                               Marking::Modified};
    return recipe;
}

BatchCommand::Outcome DeleteAllPositionKeyCommand::Apply(session::EditContext& context) {
    context.currentAnimation->DeletePositionKeys(-1.0f);
    return Outcome::Changed;
}

#include "commands/DeletePositionKeyCommand.h"

#include <cfloat>

#include "commands/EditScope.h"
#include "commands/IKeyFrameHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"
#include "platform/rm/Animation.h"
#include "session/EditContext.h"

namespace {

constexpr char kCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Delete Position Key");
constexpr char kNoPart[] = QT_TRANSLATE_NOOP(
    "Pavrix", "ポジションキーを削除するパーツを選択後、\nボタンを押してください。");
constexpr char kQuestion[] =
    QT_TRANSLATE_NOOP("Pavrix", "パーツ \"%1\" のすべてのポジション(位置)キーを削除し、\n"
                                "アニメーションをモデルのサイズに依存しないようにします。");
constexpr char kDone[] = QT_TRANSLATE_NOOP("Pavrix", "ポジションキーの削除完了。");

} // namespace

int DeletePositionKeyCommand::Run(session::EditContext& context) {
    Target target;
    if (!FindTarget(context, kCaption, kNoPart, &target)) {
        return 0;
    }
    if (!Confirm(framework::Tr(kQuestion).arg(target.name), kCaption,
                 framework::MbOkCancel | framework::MbIconExclamation)) {
        return 0;
    }
    std::size_t deleted = 0;
    {
        EditScope scope(m_host.History(), context, framework::Tr(StepName()),
                        EditScope::PartAnimation, target.animation);
        deleted = target.animation->DeleteKeysOfType(rm::D3DRMANIMATION_POSITIONKEY, 0, FLT_MAX);
        if (deleted > 0) {
            RefreshAfterChange(context);
        }
    }
    Inform(kDone, kCaption);
    return deleted > 0 ? 1 : 0;
}

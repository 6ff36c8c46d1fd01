#include "commands/DeletePartsKeyFrameCommand.h"

#include <algorithm>

#include "commands/EditScope.h"
#include "commands/IKeyFrameHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"
#include "platform/rm/Animation.h"
#include "session/EditContext.h"

namespace {

constexpr char kCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Delete Parts Key Frame");
constexpr char kNoPart[] =
    QT_TRANSLATE_NOOP("Pavrix", "キーを削除するパーツを選択後、\nボタンを押してください。");
constexpr char kNoKey[] =
    QT_TRANSLATE_NOOP("Pavrix", "パーツ \"%1\" の Time \"%2\" にはキーが存在しません。");
constexpr char kConfirm[] =
    QT_TRANSLATE_NOOP("Pavrix", "パーツ \"%1\" の Time \"%2\" のキーを削除します。");
constexpr char kDeleted[] = QT_TRANSLATE_NOOP("Pavrix", "キーの削除完了。");

} // namespace

int DeletePartsKeyFrameCommand::Run(session::EditContext& context) {
    m_host.StopPlayback();
    Target target;
    if (!FindTarget(context, kCaption, kNoPart, &target)) {
        return 0;
    }
    const float time = static_cast<float>(context.keyTime);
    const auto& keys = target.animation->Keys();
    const bool found = std::any_of(keys.begin(), keys.end(),
                                   [&](const rm::AnimationKey& key) { return key.dvTime == time; });
    if (!found) {
        m_host.ShowMessage(framework::Tr(kNoKey).arg(target.name).arg(context.keyTime),
                           framework::Tr(kCaption), framework::MbIconInformation);
        return 0;
    }
    if (!Confirm(framework::Tr(kConfirm).arg(target.name).arg(context.keyTime), kCaption,
                 framework::MbOkCancel | framework::MbIconExclamation)) {
        return 0;
    }
    {
        EditScope scope(m_host.History(), context, framework::Tr(StepName()),
                        EditScope::PartAnimation, target.animation);
        target.animation->DeleteKey(time);
        RefreshAfterChange(context);
    }
    Inform(kDeleted, kCaption);
    return 1;
}

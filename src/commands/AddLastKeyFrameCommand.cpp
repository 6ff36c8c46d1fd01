#include "commands/AddLastKeyFrameCommand.h"

#include "commands/AddKeyFrameCommand.h"
#include "commands/IKeyFrameHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"
#include "platform/rm/AnimationSet.h"
#include "scene/CAnimationData.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"

namespace {

constexpr char kCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Add Last Key Frame");
constexpr char kConfirm[] =
    QT_TRANSLATE_NOOP("Pavrix", "アニメーションの最後(+1)にキーを追加しますか？");
constexpr char kNoAnimationYet[] = QT_TRANSLATE_NOOP(
    "Pavrix", "現在アニメーションが登録されていません。\nアニメーションを生成しますか？");
constexpr char kAdded[] = QT_TRANSLATE_NOOP("Pavrix", "キーの追加完了。");
constexpr unsigned kQuestion = framework::MbOkCancel | framework::MbIconQuestion;

} // namespace

int AddLastKeyFrameCommand::Run(session::EditContext& context) {
    m_host.StopPlayback();
    if (context.currentAnimation == nullptr || context.currentAnimation->Set() == nullptr) {
        Inform(kNoAnimationDataMessage, "Add Key Frame");
        return 0;
    }
    if (!Confirm(framework::Tr(kConfirm), kCaption, kQuestion)) {
        return 0;
    }
    if (context.currentAnimation->Set()->Animations().empty()) {
        if (!Confirm(framework::Tr(kNoAnimationYet), kCaption, kQuestion)) {
            return 0;
        }
        const unsigned keyTime = context.keyTime;
        context.keyTime = ToKeyTime(FirstKeyTime(context.currentAnimation));
        if (!AddKeyFrameCommand(m_host, Prompting::Silent).Execute(context)) {
            context.keyTime = keyTime;
            return 0;
        }
    }
    context.keyTime = ToKeyTime(LastKeyTime(context.currentAnimation)) + 1;
    context.currentTime = static_cast<float>(context.keyTime);
    context.currentAnimation->ExtendRotationKeys(context.currentTime);
    m_host.PoseCurrentAnimation(context.currentTime);
    m_host.RefreshKeyRange(session::KeyTimeList::Rebuild);
    m_host.RefreshTimeDisplay();
    // With no key time at all (no part has a rotation key) the index stays at 0 rather
    // than wrapping round.
    const unsigned count = context.currentAnimation->KeyTimeCount();
    context.keyIndex = count > 0 ? count - 1 : 0;
    Inform(kAdded, kCaption);
    m_host.MarkDocumentModified();
    return 1;
}

#include "commands/AddLastKeyFrameCommand.h"

#include "app/KeyTimeRules.h"
#include "app/ProgramState.h"
#include "commands/AddKeyFrameCommand.h"
#include "commands/IKeyFrameHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"
#include "platform/rm/AnimationSet.h"
#include "scene/CAnimationData.h"

namespace {

constexpr char kCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Add Last Key Frame");
constexpr char kConfirm[] =
    QT_TRANSLATE_NOOP("Pavrix", "アニメーションの最後(+1)にキーを追加しますか？");
constexpr char kNoAnimationYet[] = QT_TRANSLATE_NOOP(
    "Pavrix", "現在アニメーションが登録されていません。\nアニメーションを生成しますか？");
constexpr char kAdded[] = QT_TRANSLATE_NOOP("Pavrix", "キーの追加完了。");
constexpr unsigned kQuestion = framework::MbOkCancel | framework::MbIconQuestion;

} // namespace

int AddLastKeyFrameCommand::Run() {
    m_host.StopPlayback();
    if (g_currentAnimation == nullptr || g_currentAnimation->Set() == nullptr) {
        Inform(kNoAnimationDataMessage, "Add Key Frame");
        return 0;
    }
    if (!Confirm(framework::Tr(kConfirm), kCaption, kQuestion)) {
        return 0;
    }
    if (g_currentAnimation->Set()->Animations().empty()) {
        if (!Confirm(framework::Tr(kNoAnimationYet), kCaption, kQuestion)) {
            return 0;
        }
        const unsigned keyTime = g_keyTime;
        g_keyTime = ToKeyTime(FirstKeyTime(g_currentAnimation));
        if (!AddKeyFrameCommand(m_host, 1).Execute()) {
            g_keyTime = keyTime;
            return 0;
        }
    }
    g_keyTime = ToKeyTime(LastKeyTime(g_currentAnimation)) + 1;
    g_currentTime = static_cast<float>(g_keyTime);
    g_currentAnimation->ExtendRotationKeys(g_currentTime);
    m_host.PoseCurrentAnimation(g_currentTime);
    m_host.RefreshKeyRange(1);
    m_host.RefreshTimeDisplay();
    // With no key time at all (no part has a rotation key) the index stays at 0 rather
    // than wrapping round.
    const unsigned count = g_currentAnimation->KeyTimeCount();
    g_keyIndex = count > 0 ? count - 1 : 0;
    Inform(kAdded, kCaption);
    m_host.MarkDocumentModified();
    return 1;
}

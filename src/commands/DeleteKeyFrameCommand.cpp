#include "commands/DeleteKeyFrameCommand.h"

#include "app/KeyTimeRules.h"
#include "app/ProgramState.h"
#include "commands/IKeyFrameHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"
#include "scene/CAnimationData.h"

namespace {

constexpr char kCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Delete Key Frame");
constexpr char kNoKey[] = QT_TRANSLATE_NOOP("Pavrix", "Time \"%d\" にはキーが存在しません。");
constexpr char kConfirm[] = QT_TRANSLATE_NOOP("Pavrix", "Time \"%d\" のキーを削除します。");
constexpr char kDeleted[] = QT_TRANSLATE_NOOP("Pavrix", "キーの削除完了。");

} // namespace

int DeleteKeyFrameCommand::Run() {
    m_host.StopPlayback();
    if (g_currentAnimation == nullptr) {
        Inform(kNoAnimationDataMessage, kCaption);
        return 0;
    }
    const unsigned count = g_currentAnimation->KeyTimeCount();
    const float keyTime = static_cast<float>(g_keyTime);
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i) {
        found = g_currentAnimation->KeyTime(static_cast<int>(i)) == keyTime;
    }
    if (!found) {
        m_host.ShowMessage(framework::TrFormat(kNoKey, static_cast<int>(g_keyTime)),
                           framework::Tr(kCaption), framework::MbIconInformation);
        return 0;
    }
    const bool confirmed = Confirm(framework::TrFormat(kConfirm, static_cast<int>(g_keyTime)),
                                   kCaption, framework::MbOkCancel | framework::MbIconExclamation);
    if (confirmed) {
        g_currentAnimation->DeleteKeysAt(keyTime);
        Inform(kDeleted, kCaption);
    }
    if (g_keyIndex >= count) {
        g_keyIndex = 0;
    }
    const unsigned time = ToKeyTime(g_currentAnimation->KeyTime(static_cast<int>(g_keyIndex)));
    g_keyTime = time;
    g_currentTime = static_cast<float>(time);
    m_host.PoseCurrentAnimation(g_currentTime);
    m_host.RefreshKeyRange(1);
    m_host.RefreshTimeDisplay();
    m_host.MarkDocumentModified();
    return confirmed ? 1 : 0;
}

#include "commands/DeleteKeyFrameCommand.h"

#include "commands/IKeyFrameHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"
#include "scene/CAnimationData.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"

namespace {

constexpr char kCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Delete Key Frame");
constexpr char kNoKey[] = QT_TRANSLATE_NOOP("Pavrix", "Time \"%d\" にはキーが存在しません。");
constexpr char kConfirm[] = QT_TRANSLATE_NOOP("Pavrix", "Time \"%d\" のキーを削除します。");
constexpr char kDeleted[] = QT_TRANSLATE_NOOP("Pavrix", "キーの削除完了。");

} // namespace

int DeleteKeyFrameCommand::Run(session::EditContext& context) {
    m_host.StopPlayback();
    if (context.currentAnimation == nullptr) {
        Inform(kNoAnimationDataMessage, kCaption);
        return 0;
    }
    const unsigned count = context.currentAnimation->KeyTimeCount();
    const float keyTime = static_cast<float>(context.keyTime);
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i) {
        found = context.currentAnimation->KeyTime(static_cast<int>(i)) == keyTime;
    }
    if (!found) {
        m_host.ShowMessage(framework::TrFormat(kNoKey, static_cast<int>(context.keyTime)),
                           framework::Tr(kCaption), framework::MbIconInformation);
        return 0;
    }
    const bool confirmed = Confirm(framework::TrFormat(kConfirm, static_cast<int>(context.keyTime)),
                                   kCaption, framework::MbOkCancel | framework::MbIconExclamation);
    if (confirmed) {
        context.currentAnimation->DeleteKeysAt(keyTime);
        Inform(kDeleted, kCaption);
    }
    if (context.keyIndex >= count) {
        context.keyIndex = 0;
    }
    const unsigned time =
        ToKeyTime(context.currentAnimation->KeyTime(static_cast<int>(context.keyIndex)));
    context.keyTime = time;
    context.currentTime = static_cast<float>(time);
    m_host.PoseCurrentAnimation(context.currentTime);
    m_host.RefreshKeyRange(session::KeyTimeList::Rebuild);
    m_host.RefreshTimeDisplay();
    m_host.MarkDocumentModified();
    return confirmed ? 1 : 0;
}

#include "commands/PasteKeyFrameCommand.h"

#include "commands/IKeyFrameHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"
#include "scene/CAnimationData.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"

namespace {

constexpr char kCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Paste Key Frame");
constexpr char kCopyFirst[] = QT_TRANSLATE_NOOP(
    "Pavrix", "ペーストを行う前に、コピーしたいキーを\nコピーボタンで選択してください。");
constexpr char kConfirm[] = QT_TRANSLATE_NOOP(
    "Pavrix", "コピーした Time \"%d\" のキーを、\nTime \"%d\" にペーストします。");

} // namespace

int PasteKeyFrameCommand::Run(session::EditContext& context) {
    if (context.currentAnimation == nullptr) {
        Inform(kNoAnimationDataMessage, kCaption);
        return 0;
    }
    const float source = m_copied.copiedKeyTime;
    if (!m_copied.hasCopiedKey || source < FirstKeyTime(context.currentAnimation) ||
        source > LastKeyTime(context.currentAnimation)) {
        Inform(kCopyFirst, kCaption);
        return 0;
    }
    const QString question = framework::TrFormat(kConfirm, static_cast<int>(ToKeyTime(source)),
                                                 static_cast<int>(context.keyTime));
    if (!Confirm(question, kCaption, framework::MbOkCancel | framework::MbIconExclamation)) {
        return 0;
    }
    context.currentAnimation->CopyKeys(static_cast<float>(context.keyTime), source);
    context.currentTime = static_cast<float>(context.keyTime);
    m_host.PoseCurrentAnimation(context.currentTime);
    m_host.RefreshKeyRange(session::KeyTimeList::Rebuild);
    m_host.RefreshTimeDisplay();
    m_host.MarkDocumentModified();
    return 1;
}

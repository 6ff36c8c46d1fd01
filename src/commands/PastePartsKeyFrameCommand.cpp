#include "commands/PastePartsKeyFrameCommand.h"

#include "commands/IKeyFrameHost.h"
#include "commands/PasteKeysCommand.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"
#include "session/EditContext.h"

namespace {

constexpr char kCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Paste Parts Key Frame");
constexpr char kNoPart[] =
    QT_TRANSLATE_NOOP("Pavrix", "キーをペーストするパーツを選択後、\nボタンを押してください。");
constexpr char kCopyFirst[] = QT_TRANSLATE_NOOP(
    "Pavrix", "ペーストを行う前に、コピーしたいパーツのキーを\nコピーボタンで選択してください。");
constexpr char kConfirm[] = QT_TRANSLATE_NOOP(
    "Pavrix",
    "パーツ \"%1\" の Time \"%2\" のキーを、\nパーツ \"%3\" の Time \"%4\" にペーストします。");

} // namespace

int PastePartsKeyFrameCommand::Run(session::EditContext& context) {
    if (context.currentAnimation != nullptr && m_copied.keys.Empty()) {
        Inform(kCopyFirst, kCaption);
        return 0;
    }
    Target target;
    if (!FindTarget(context, kCaption, kNoPart, &target)) {
        return 0;
    }
    const QString question = framework::Tr(kConfirm)
                                 .arg(m_copied.partName)
                                 .arg(m_copied.time)
                                 .arg(target.name)
                                 .arg(context.keyTime);
    if (!Confirm(question, kCaption, framework::MbOkCancel | framework::MbIconExclamation)) {
        return 0;
    }
    context.currentTime = static_cast<float>(context.keyTime);
    return PasteKeysCommand(m_host, m_copied.keys, static_cast<float>(context.keyTime), StepName())
        .Execute(context);
}

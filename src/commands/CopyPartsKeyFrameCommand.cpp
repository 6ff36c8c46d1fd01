#include "commands/CopyPartsKeyFrameCommand.h"

#include "commands/IKeyFrameHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"
#include "platform/rm/Animation.h"
#include "session/EditContext.h"

namespace {

constexpr char kCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Copy Parts Key Frame");
constexpr char kNoPart[] =
    QT_TRANSLATE_NOOP("Pavrix", "キーをコピーするパーツを選択後、\nボタンを押してください。");
constexpr char kNoKey[] =
    QT_TRANSLATE_NOOP("Pavrix", "パーツ \"%1\" の Time \"%2\" にはキーが存在しません。");

} // namespace

int CopyPartsKeyFrameCommand::Run(session::EditContext& context) {
    Target target;
    if (!FindTarget(context, kCaption, kNoPart, &target)) {
        return 0;
    }
    const float time = static_cast<float>(context.keyTime);
    CopiedKeys keys;
    for (const rm::AnimationKey& key : target.animation->Keys()) {
        if (key.dvTime == time) {
            rm::AnimationKey copy = key;
            copy.dvTime = 0;
            keys.entries.push_back({rm::Ref<rm::Frame>(target.part), copy});
        }
    }
    if (keys.Empty()) {
        m_host.ShowMessage(framework::Tr(kNoKey).arg(target.name).arg(context.keyTime),
                           framework::Tr(kCaption), framework::MbIconInformation);
        return 0;
    }
    m_copied.keys = std::move(keys);
    m_copied.time = static_cast<int>(context.keyTime);
    m_copied.partName = target.name;
    return 0;
}

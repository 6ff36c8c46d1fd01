#include "commands/CopyPartsKeyFrameCommand.h"

#include "app/ProgramState.h"
#include "commands/IKeyFrameHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/rm/Animation.h"

namespace {

constexpr char kCaption[] = "Copy Parts Key Frame";
constexpr char kNoPart[] = "キーをコピーするパーツを選択後、\nボタンを押してください。";
constexpr char kNoKey[] = "パーツ \"%1\" の Time \"%2\" にはキーが存在しません。";

} // namespace

int CopyPartsKeyFrameCommand::Run() {
    Target target;
    if (!FindTarget(kCaption, kNoPart, &target)) {
        return 0;
    }
    const float time = static_cast<float>(g_keyTime);
    CopiedKeys keys;
    for (const rm::AnimationKey& key : target.animation->Keys()) {
        if (key.dvTime == time) {
            rm::AnimationKey copy = key;
            copy.dvTime = 0;
            keys.entries.push_back({rm::Ref<rm::Frame>(target.part), copy});
        }
    }
    if (keys.Empty()) {
        m_host.ShowMessage(QString::fromUtf8(kNoKey).arg(target.name).arg(g_keyTime),
                           QString::fromUtf8(kCaption), framework::MbIconInformation);
        return 0;
    }
    m_copied.keys = std::move(keys);
    m_copied.time = static_cast<int>(g_keyTime);
    m_copied.partName = target.name;
    return 0;
}

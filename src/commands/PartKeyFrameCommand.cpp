#include "commands/PartKeyFrameCommand.h"

#include <algorithm>
#include <cfloat>

#include "commands/CopiedPartKeys.h"
#include "commands/EditScope.h"
#include "commands/IKeyFrameHost.h"
#include "commands/KeyEditCommand.h"
#include "commands/PasteKeysCommand.h"
#include "platform/framework/DecodeName.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"
#include "platform/rm/Animation.h"
#include "scene/CPartRecord.h"
#include "session/EditContext.h"

namespace {

constexpr char kNoAnimation[] =
    QT_TRANSLATE_NOOP("Pavrix", "このパーツにはアニメーションがありません。");
constexpr char kNoKey[] =
    QT_TRANSLATE_NOOP("Pavrix", "パーツ \"%1\" の Time \"%2\" にはキーが存在しません。");
constexpr unsigned kWarning = framework::MbOkCancel | framework::MbIconExclamation;

} // namespace

QString PartKeyFrameCommand::PartName(const rm::Frame* part) {
    const CPartRecord* record = part != nullptr ? CPartRecord::Of(part) : nullptr;
    if (record != nullptr && record->baseName) {
        return framework::DecodeName(*record->baseName);
    }
    return part != nullptr ? framework::DecodeName(part->Name()) : QString();
}

const char* PartKeyFrameCommand::StepName() const {
    switch (m_kind) {
    case Kind::DeleteKeys:
        return QT_TRANSLATE_NOOP("Pavrix", "パーツのキーの削除");
    case Kind::DeletePositionKeys:
        return QT_TRANSLATE_NOOP("Pavrix", "パーツのポジションキーの削除");
    case Kind::CopyKeys:
        return QT_TRANSLATE_NOOP("Pavrix", "パーツのキーのコピー");
    case Kind::PasteKeys:
        break;
    }
    return QT_TRANSLATE_NOOP("Pavrix", "パーツのキーの貼り付け");
}

int PartKeyFrameCommand::Run(session::EditContext& context) {
    switch (m_kind) {
    case Kind::DeleteKeys:
        return DeleteKeys(context);
    case Kind::DeletePositionKeys:
        return DeletePositionKeys(context);
    case Kind::CopyKeys:
        return CopyKeys(context);
    case Kind::PasteKeys:
        break;
    }
    return PasteKeys(context);
}

int PartKeyFrameCommand::DeleteKeys(session::EditContext& context) {
    static constexpr char kCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Delete Parts Key Frame");
    static constexpr char kNoPart[] =
        QT_TRANSLATE_NOOP("Pavrix", "キーを削除するパーツを選択後、\nボタンを押してください。");
    static constexpr char kConfirm[] =
        QT_TRANSLATE_NOOP("Pavrix", "パーツ \"%1\" の Time \"%2\" のキーを削除します。");
    m_host.StopPlayback();
    Target target;
    if (!FindTarget(context, kCaption, kNoPart, &target)) {
        return 0;
    }
    const float time = static_cast<float>(context.keyTime);
    const auto& keys = target.animation->Keys();
    if (std::none_of(keys.begin(), keys.end(),
                     [&](const rm::AnimationKey& key) { return key.dvTime == time; })) {
        ReportNoKey(context, target, kCaption);
        return 0;
    }
    if (!Confirm(framework::Tr(kConfirm).arg(target.name).arg(context.keyTime), kCaption,
                 kWarning)) {
        return 0;
    }
    {
        EditScope scope(m_host.History(), context, framework::Tr(StepName()),
                        EditScope::PartAnimation, target.animation);
        target.animation->DeleteKey(time);
        RefreshAfterChange(context);
    }
    Inform(QT_TRANSLATE_NOOP("Pavrix", "キーの削除完了。"), kCaption);
    return 1;
}

int PartKeyFrameCommand::DeletePositionKeys(session::EditContext& context) {
    static constexpr char kCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Delete Position Key");
    static constexpr char kNoPart[] = QT_TRANSLATE_NOOP(
        "Pavrix", "ポジションキーを削除するパーツを選択後、\nボタンを押してください。");
    static constexpr char kQuestion[] =
        QT_TRANSLATE_NOOP("Pavrix", "パーツ \"%1\" のすべてのポジション(位置)キーを削除し、\n"
                                    "アニメーションをモデルのサイズに依存しないようにします。");
    Target target;
    if (!FindTarget(context, kCaption, kNoPart, &target)) {
        return 0;
    }
    if (!Confirm(framework::Tr(kQuestion).arg(target.name), kCaption, kWarning)) {
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
    Inform(QT_TRANSLATE_NOOP("Pavrix", "ポジションキーの削除完了。"), kCaption);
    return deleted > 0 ? 1 : 0;
}

int PartKeyFrameCommand::CopyKeys(session::EditContext& context) {
    static constexpr char kCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Copy Parts Key Frame");
    static constexpr char kNoPart[] =
        QT_TRANSLATE_NOOP("Pavrix", "キーをコピーするパーツを選択後、\nボタンを押してください。");
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
        ReportNoKey(context, target, kCaption);
        return 0;
    }
    m_copied.keys = std::move(keys);
    m_copied.time = static_cast<int>(context.keyTime);
    m_copied.partName = target.name;
    return 0;
}

int PartKeyFrameCommand::PasteKeys(session::EditContext& context) {
    static constexpr char kCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Paste Parts Key Frame");
    static constexpr char kNoPart[] =
        QT_TRANSLATE_NOOP("Pavrix", "キーをペーストするパーツを選択後、\nボタンを押してください。");
    static constexpr char kCopyFirst[] = QT_TRANSLATE_NOOP(
        "Pavrix",
        "ペーストを行う前に、コピーしたいパーツのキーを\nコピーボタンで選択してください。");
    static constexpr char kConfirm[] = QT_TRANSLATE_NOOP(
        "Pavrix",
        "パーツ \"%1\" の Time \"%2\" のキーを、\nパーツ \"%3\" の Time \"%4\" にペーストします。");
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
    if (!Confirm(question, kCaption, kWarning)) {
        return 0;
    }
    context.currentTime = static_cast<float>(context.keyTime);
    return PasteKeysCommand(m_host, m_copied.keys, static_cast<float>(context.keyTime), StepName())
        .Execute(context);
}

bool PartKeyFrameCommand::FindTarget(session::EditContext& context, const char* caption,
                                     const char* noPart, Target* target) {
    if (context.currentAnimation == nullptr) {
        Inform(kNoAnimationDataMessage, caption);
        return false;
    }
    target->part = m_host.GetSelectedPart();
    if (target->part == nullptr) {
        Inform(noPart, caption);
        return false;
    }
    target->animation = KeyEditCommand::DrivingAnimation(context, target->part);
    if (target->animation == nullptr) {
        Inform(kNoAnimation, caption);
        return false;
    }
    target->name = PartName(target->part);
    return true;
}

void PartKeyFrameCommand::ReportNoKey(const session::EditContext& context, const Target& target,
                                      const char* caption) {
    m_host.ShowMessage(framework::Tr(kNoKey).arg(target.name).arg(context.keyTime),
                       framework::Tr(caption), framework::MbIconInformation);
}

void PartKeyFrameCommand::RefreshAfterChange(session::EditContext& context) {
    m_host.PoseCurrentAnimation(context.currentTime);
    m_host.RefreshKeyRange(session::KeyTimeList::Rebuild);
    m_host.RefreshTimeDisplay();
    m_host.MarkDocumentModified();
}

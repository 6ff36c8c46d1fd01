#include "commands/AddKeyFrameCommand.h"

#include "commands/IKeyFrameHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Context.h"
#include "platform/rm/Frame.h"
#include "render/OrientationToQuaternion.h"
#include "scene/CAnimationData.h"
#include "scene/CPartRecord.h"
#include "scene/PartNaming.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"

namespace {

constexpr char kCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Add Key Frame");
constexpr char kSelectPartFirst[] = QT_TRANSLATE_NOOP(
    "Pavrix", "アニメーションを追加するパーツを選択後、\nボタンを押してください。");
constexpr char kKeyExists[] = QT_TRANSLATE_NOOP("Pavrix", "Time \"%d\" にはすでにキーが存在します");
constexpr char kCreateAnimation[] = QT_TRANSLATE_NOOP(
    "Pavrix", "このパーツにはアニメーションがありません。\nアニメーションを生成しますか？");
constexpr char kConfirmAdd[] =
    QT_TRANSLATE_NOOP("Pavrix", "アニメーションキーを Time \"%d\" へ追加しますか？");
constexpr char kAdded[] = QT_TRANSLATE_NOOP("Pavrix", "キーの追加完了。");
constexpr unsigned kQuestion = framework::MbOkCancel | framework::MbIconQuestion;
/// Closed, linear position, scale and rotation, position.
constexpr std::uint32_t kNewAnimationOptions = 0x36;

bool IsKeyTime(const CAnimationData* animation, float time) {
    for (unsigned i = 0; i < animation->KeyTimeCount(); ++i) {
        if (animation->KeyTime(static_cast<int>(i)) == time) {
            return true;
        }
    }
    return false;
}

/// A new animation driving `part`, in the current set, named after the part so that a
/// later binding by part names finds it again.
rm::Animation* CreatePartAnimation(CAnimationData* set, rm::Frame* part) {
    rm::Ref<rm::Animation> animation;
    if (g_d3drm == nullptr || rm::Failed(g_d3drm->CreateAnimation(&animation))) {
        return nullptr;
    }
    animation->SetOptions(kNewAnimationOptions);
    animation->SetFrame(part);
    if (part->HasName()) {
        scene::NameAnimation(animation.Get(), nullptr);
    }
    set->Set()->AddAnimation(animation.Get());
    return animation.Get(); // the set holds it
}

} // namespace

int AddKeyFrameCommand::Run(session::EditContext& context) {
    m_host.StopPlayback();
    const auto inform = [this](const char* text) {
        if (m_prompting == Prompting::Interactive) {
            Inform(text, kCaption);
        }
    };
    if (context.currentAnimation == nullptr || context.currentAnimation->Set() == nullptr) {
        inform(kNoAnimationDataMessage);
        return 0;
    }
    rm::Frame* part = m_host.GetSelectedPart();
    if (part == nullptr) {
        inform(kSelectPartFirst);
        return 0;
    }
    if (IsKeyTime(context.currentAnimation, static_cast<float>(ToKeyTime(context.currentTime)))) {
        if (m_prompting == Prompting::Interactive) {
            m_host.ShowMessage(framework::TrFormat(kKeyExists, static_cast<int>(context.keyTime)),
                               framework::Tr(kCaption), framework::MbIconInformation);
        }
        return 0;
    }
    CPartRecord* record = CPartRecord::Of(part);
    if (record == nullptr) {
        return 0;
    }
    // Both questions come before anything is made: a Cancel at the second leaves no empty
    // animation behind.
    const bool needsAnimation = record->animation == nullptr;
    if (m_prompting == Prompting::Interactive) {
        if (needsAnimation && !Confirm(framework::Tr(kCreateAnimation), kCaption, kQuestion)) {
            return 0;
        }
        if (!Confirm(framework::TrFormat(kConfirmAdd, static_cast<int>(context.keyTime)), kCaption,
                     kQuestion)) {
            return 0;
        }
    }
    if (needsAnimation) {
        record->animation = CreatePartAnimation(context.currentAnimation, part);
        if (record->animation == nullptr) {
            return 0;
        }
    }

    context.keyTime = ToKeyTime(context.currentTime);
    rm::Vector direction, up;
    part->GetOrientation(part->GetParent(), &direction, &up);
    const float time = static_cast<float>(context.keyTime);
    record->animation->AddRotateKey(time, render::OrientationToQuaternion(direction, up));
    context.currentAnimation->ExtendRotationKeys(time);
    m_host.RefreshKeyRange(session::KeyTimeList::Rebuild);
    m_host.RefreshTimeDisplay();
    inform(kAdded);
    m_host.MarkDocumentModified();
    return 1;
}

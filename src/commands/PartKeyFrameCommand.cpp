#include "commands/PartKeyFrameCommand.h"

#include "commands/IKeyFrameHost.h"
#include "commands/KeyEditCommand.h"
#include "platform/framework/DecodeName.h"
#include "platform/framework/Translate.h"
#include "scene/CPartRecord.h"
#include "session/EditContext.h"

namespace {

constexpr char kNoAnimation[] =
    QT_TRANSLATE_NOOP("Pavrix", "このパーツにはアニメーションがありません。");

} // namespace

QString PartKeyFrameCommand::PartName(const rm::Frame* part) {
    const CPartRecord* record = part != nullptr ? CPartRecord::Of(part) : nullptr;
    if (record != nullptr && record->baseName) {
        return framework::DecodeName(*record->baseName);
    }
    return part != nullptr ? framework::DecodeName(part->Name()) : QString();
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

void PartKeyFrameCommand::RefreshAfterChange(session::EditContext& context) {
    m_host.PoseCurrentAnimation(context.currentTime);
    m_host.RefreshKeyRange(session::KeyTimeList::Rebuild);
    m_host.RefreshTimeDisplay();
    m_host.MarkDocumentModified();
}

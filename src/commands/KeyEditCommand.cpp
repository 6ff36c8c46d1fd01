#include "commands/KeyEditCommand.h"

#include <algorithm>

#include "commands/EditScope.h"
#include "commands/IKeyFrameHost.h"
#include "platform/framework/Translate.h"
#include "platform/rm/AnimationSet.h"
#include "scene/CAnimationData.h"
#include "scene/CPartRecord.h"
#include "session/EditContext.h"

rm::Animation* KeyEditCommand::DrivingAnimation(const session::EditContext& context,
                                                const rm::Frame* part) {
    if (part == nullptr || context.currentAnimation == nullptr ||
        context.currentAnimation->Set() == nullptr) {
        return nullptr;
    }
    const CPartRecord* record = CPartRecord::Of(part);
    if (record == nullptr || record->animation == nullptr) {
        return nullptr;
    }
    // The record names the animation of the set bound last; only the current set's counts.
    const auto& animations = context.currentAnimation->Set()->Animations();
    const bool held = std::any_of(animations.begin(), animations.end(), [&](const auto& each) {
        return each.Get() == record->animation;
    });
    return held ? record->animation : nullptr;
}

int KeyEditCommand::Run(session::EditContext& context) {
    if (context.currentAnimation == nullptr) {
        return 0;
    }
    m_context = &context;
    const std::vector<rm::Animation*> targets = Targets();
    if (targets.empty()) {
        return 0;
    }
    m_host.StopPlayback();
    const QString name = framework::Tr(StepName());
    EditScope scope(m_host.History(), context, name, EditScope::PartAnimation, targets.front());
    // Scopes opened inside an open one add what they touch to it and push nothing.
    for (std::size_t i = 1; i < targets.size(); ++i) {
        EditScope(m_host.History(), context, name, EditScope::PartAnimation, targets[i]);
    }
    if (!Edit()) {
        return 0;
    }
    m_host.PoseCurrentAnimation(context.currentTime);
    m_host.RefreshKeyRange(session::KeyTimeList::Rebuild);
    m_host.RefreshTimeDisplay();
    m_host.MarkDocumentModified();
    return 1;
}

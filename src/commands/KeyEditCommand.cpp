#include "commands/KeyEditCommand.h"

#include <algorithm>

#include "app/ProgramState.h"
#include "commands/EditScope.h"
#include "commands/IKeyFrameHost.h"
#include "platform/framework/Translate.h"
#include "platform/rm/AnimationSet.h"
#include "scene/CAnimationData.h"
#include "scene/CPartRecord.h"

rm::Animation* KeyEditCommand::DrivingAnimation(const rm::Frame* part) {
    if (part == nullptr || g_currentAnimation == nullptr || g_currentAnimation->Set() == nullptr) {
        return nullptr;
    }
    const CPartRecord* record = CPartRecord::Of(part);
    if (record == nullptr || record->animation == nullptr) {
        return nullptr;
    }
    // The record names the animation of the set bound last; only the current set's counts.
    const auto& animations = g_currentAnimation->Set()->Animations();
    const bool held = std::any_of(animations.begin(), animations.end(), [&](const auto& each) {
        return each.Get() == record->animation;
    });
    return held ? record->animation : nullptr;
}

int KeyEditCommand::Run() {
    if (g_currentAnimation == nullptr) {
        return 0;
    }
    const std::vector<rm::Animation*> targets = Targets();
    if (targets.empty()) {
        return 0;
    }
    m_host.StopPlayback();
    const QString name = framework::Tr(StepName());
    EditScope scope(m_host.History(), name, EditScope::PartAnimation, targets.front());
    // Scopes opened inside an open one add what they touch to it and push nothing.
    for (std::size_t i = 1; i < targets.size(); ++i) {
        EditScope(m_host.History(), name, EditScope::PartAnimation, targets[i]);
    }
    if (!Edit()) {
        return 0;
    }
    m_host.PoseCurrentAnimation(g_currentTime);
    m_host.RefreshKeyRange(1);
    m_host.RefreshTimeDisplay();
    m_host.MarkDocumentModified();
    return 1;
}

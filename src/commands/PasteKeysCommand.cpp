#include "commands/PasteKeysCommand.h"

#include <algorithm>

#include "commands/IKeyFrameHost.h"
#include "platform/rm/Animation.h"

rm::Animation* PasteKeysCommand::TargetOf(std::size_t index) const {
    if (m_copied.OnePart()) {
        if (rm::Frame* selected = m_host.GetSelectedPart()) {
            return DrivingAnimation(EditedContext(), selected);
        }
    }
    return DrivingAnimation(EditedContext(), m_copied.entries[index].part.Get());
}

std::vector<rm::Animation*> PasteKeysCommand::Targets() const {
    std::vector<rm::Animation*> targets;
    if (m_time < 0) {
        return targets;
    }
    for (std::size_t i = 0; i < m_copied.entries.size(); ++i) {
        rm::Animation* animation = TargetOf(i);
        if (animation != nullptr &&
            std::find(targets.begin(), targets.end(), animation) == targets.end()) {
            targets.push_back(animation);
        }
    }
    return targets;
}

int PasteKeysCommand::Edit() {
    m_pasted.clear();
    for (std::size_t i = 0; i < m_copied.entries.size(); ++i) {
        rm::Animation* animation = TargetOf(i);
        if (animation == nullptr) {
            continue;
        }
        rm::AnimationKey key = m_copied.entries[i].key;
        key.dvTime += m_time;
        const auto& keys = animation->Keys();
        const auto twin = std::find_if(keys.begin(), keys.end(), [&](const rm::AnimationKey& k) {
            return k.dvTime == key.dvTime && k.dwKeyType == key.dwKeyType;
        });
        if (twin != keys.end()) {
            key.dwID = twin->dwID;
            animation->ModifyKey(&key);
        } else if (rm::Failed(animation->AddKey(&key))) {
            continue;
        }
        m_pasted.push_back({animation, key.dwID});
    }
    return m_pasted.empty() ? 0 : 1;
}

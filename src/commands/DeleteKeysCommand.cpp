#include "commands/DeleteKeysCommand.h"

#include <algorithm>
#include <cstdint>

#include "platform/rm/Animation.h"

std::vector<rm::Animation*> DeleteKeysCommand::Targets() const {
    std::vector<rm::Animation*> targets;
    for (const KeyRef& key : m_keys) {
        if (key.animation != nullptr &&
            std::find(targets.begin(), targets.end(), key.animation) == targets.end()) {
            targets.push_back(key.animation);
        }
    }
    return targets;
}

int DeleteKeysCommand::Edit() {
    std::vector<std::uint32_t> ids;
    bool deleted = false;
    for (rm::Animation* animation : Targets()) {
        ids.clear();
        for (const KeyRef& key : m_keys) {
            if (key.animation == animation) {
                ids.push_back(key.id);
            }
        }
        const std::size_t before = animation->Keys().size();
        animation->ModifyKeys({}, ids);
        deleted = deleted || animation->Keys().size() != before;
    }
    return deleted ? 1 : 0;
}

#include "commands/MoveKeysCommand.h"

#include <algorithm>
#include <cstdint>

#include "platform/rm/Animation.h"

std::vector<MoveKeysCommand::Moving> MoveKeysCommand::Find(std::span<const KeyRef> keys) {
    std::vector<KeyRef> sorted(keys.begin(), keys.end());
    std::sort(sorted.begin(), sorted.end(), [](const KeyRef& a, const KeyRef& b) {
        return a.animation != b.animation ? a.animation < b.animation : a.id < b.id;
    });
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    std::vector<Moving> moving;
    std::vector<std::uint32_t> ids;
    for (std::size_t i = 0; i < sorted.size();) {
        rm::Animation* animation = sorted[i].animation;
        ids.clear();
        for (; i < sorted.size() && sorted[i].animation == animation; ++i) {
            ids.push_back(sorted[i].id);
        }
        if (animation == nullptr) {
            continue;
        }
        Moving entry{animation, {}};
        // Most keys lie outside the range of the chosen identifiers: one comparison each.
        const std::uint32_t lowest = ids.front();
        const std::uint32_t highest = ids.back();
        for (const rm::AnimationKey& key : animation->Keys()) {
            if (key.dwID >= lowest && key.dwID <= highest &&
                std::binary_search(ids.begin(), ids.end(), key.dwID)) {
                entry.keys.push_back(key);
            }
        }
        if (!entry.keys.empty()) {
            moving.push_back(std::move(entry));
        }
    }
    return moving;
}

int MoveKeysCommand::AllowedDelta(const std::vector<Moving>& moving, int delta) {
    // Whether every moving key, moved by `by`, stays at or after 0 and off the keys of its
    // channel that stay where they are.
    const auto clear = [&moving](float by) {
        for (const Moving& entry : moving) {
            const auto& keys = entry.animation->Keys();
            for (const rm::AnimationKey& key : entry.keys) {
                const float target = key.dvTime + by;
                if (target < 0) {
                    return false;
                }
                auto at = std::lower_bound(
                    keys.begin(), keys.end(), target,
                    [](const rm::AnimationKey& k, float time) { return k.dvTime < time; });
                for (; at != keys.end() && at->dvTime == target; ++at) {
                    const bool moves = std::any_of(
                        entry.keys.begin(), entry.keys.end(),
                        [&](const rm::AnimationKey& other) { return other.dwID == at->dwID; });
                    if (at->dwKeyType == key.dwKeyType && !moves) {
                        return false;
                    }
                }
            }
        }
        return true;
    };
    const int step = delta > 0 ? -1 : 1;
    for (int candidate = delta; candidate != 0; candidate += step) {
        if (clear(static_cast<float>(candidate))) {
            return candidate;
        }
    }
    return 0;
}

int MoveKeysCommand::AllowedDelta(std::span<const KeyRef> keys, int delta) {
    if (delta == 0 || keys.empty()) {
        return 0;
    }
    return AllowedDelta(Find(keys), delta);
}

std::vector<rm::Animation*> MoveKeysCommand::Targets() const {
    std::vector<rm::Animation*> targets;
    m_moving = m_delta != 0 ? Find(m_keys) : std::vector<Moving>();
    m_allowed = AllowedDelta(m_moving, m_delta);
    if (m_allowed == 0) {
        return targets;
    }
    for (const Moving& entry : m_moving) {
        targets.push_back(entry.animation);
    }
    return targets;
}

int MoveKeysCommand::Edit() {
    if (m_allowed == 0) {
        return 0;
    }
    for (Moving& entry : m_moving) {
        for (rm::AnimationKey& key : entry.keys) {
            key.dvTime += static_cast<float>(m_allowed);
        }
        entry.animation->ModifyKeys(entry.keys);
    }
    m_moved = m_allowed;
    return 1;
}

#include "commands/MoveKeysCommand.h"

#include <algorithm>
#include <cstdint>

#include "platform/rm/Animation.h"

namespace {

/// The keys of `keys` grouped by animation: one range of KeyRefs per animation.
std::vector<KeyRef> SortedByAnimation(std::span<const KeyRef> keys) {
    std::vector<KeyRef> sorted(keys.begin(), keys.end());
    std::sort(sorted.begin(), sorted.end(), [](const KeyRef& a, const KeyRef& b) {
        return a.animation != b.animation ? a.animation < b.animation : a.id < b.id;
    });
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    return sorted;
}

/// Calls visit(animation, ids) once per animation of `sorted` with its sorted identifiers.
template <typename Visit>
void ForEachAnimation(const std::vector<KeyRef>& sorted, Visit&& visit) {
    std::vector<std::uint32_t> ids;
    for (std::size_t i = 0; i < sorted.size();) {
        rm::Animation* animation = sorted[i].animation;
        ids.clear();
        for (; i < sorted.size() && sorted[i].animation == animation; ++i) {
            ids.push_back(sorted[i].id);
        }
        if (animation != nullptr) {
            visit(animation, ids);
        }
    }
}

bool Contains(const std::vector<std::uint32_t>& sortedIds, std::uint32_t id) {
    return std::binary_search(sortedIds.begin(), sortedIds.end(), id);
}

/// One channel of one animation: the times of its keys that move and of those that stay,
/// both increasing.
struct Channel {
    std::vector<float> moving;
    std::vector<float> staying;
};

/// Whether moving every key of `channel` by `delta` keeps it at or after 0 and off the
/// keys that stay.
bool Clear(const Channel& channel, float delta) {
    for (const float time : channel.moving) {
        const float target = time + delta;
        if (target < 0 ||
            std::binary_search(channel.staying.begin(), channel.staying.end(), target)) {
            return false;
        }
    }
    return true;
}

} // namespace

int MoveKeysCommand::AllowedDelta(std::span<const KeyRef> keys, int delta) {
    if (delta == 0 || keys.empty()) {
        return 0;
    }
    std::vector<Channel> channels;
    ForEachAnimation(SortedByAnimation(keys), [&](rm::Animation* animation,
                                                  const std::vector<std::uint32_t>& ids) {
        Channel byType[3];
        for (const rm::AnimationKey& key : animation->Keys()) {
            if (key.dwKeyType < 1 || key.dwKeyType > 3) {
                continue;
            }
            Channel& channel = byType[key.dwKeyType - 1];
            (Contains(ids, key.dwID) ? channel.moving : channel.staying).push_back(key.dvTime);
        }
        for (Channel& channel : byType) {
            if (!channel.moving.empty()) {
                channels.push_back(std::move(channel));
            }
        }
    });
    const int step = delta > 0 ? -1 : 1;
    for (int candidate = delta; candidate != 0; candidate += step) {
        const bool clear = std::all_of(channels.begin(), channels.end(), [&](const Channel& c) {
            return Clear(c, static_cast<float>(candidate));
        });
        if (clear) {
            return candidate;
        }
    }
    return 0;
}

std::vector<rm::Animation*> MoveKeysCommand::Targets() const {
    std::vector<rm::Animation*> targets;
    m_allowed = AllowedDelta(m_keys, m_delta);
    if (m_allowed == 0) {
        return targets;
    }
    for (const KeyRef& key : m_keys) {
        if (key.animation != nullptr &&
            std::find(targets.begin(), targets.end(), key.animation) == targets.end()) {
            targets.push_back(key.animation);
        }
    }
    return targets;
}

int MoveKeysCommand::Edit() {
    const int delta = m_allowed;
    if (delta == 0) {
        return 0;
    }
    std::vector<rm::AnimationKey> moved;
    ForEachAnimation(SortedByAnimation(m_keys), [&](rm::Animation* animation,
                                                    const std::vector<std::uint32_t>& ids) {
        moved.clear();
        for (const rm::AnimationKey& key : animation->Keys()) {
            if (Contains(ids, key.dwID)) {
                moved.push_back(key);
                moved.back().dvTime += static_cast<float>(delta);
            }
        }
        animation->ModifyKeys(moved);
    });
    m_moved = delta;
    return 1;
}

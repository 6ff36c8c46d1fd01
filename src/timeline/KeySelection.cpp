#include "timeline/KeySelection.h"

#include <algorithm>

namespace timeline {

std::size_t KeySelection::Count() const {
    std::size_t count = 0;
    for (const auto& [animation, entry] : m_byAnimation) {
        count += entry.ids.size();
    }
    return count;
}

bool KeySelection::Contains(const rm::Animation* animation, std::uint32_t id) const {
    const std::vector<std::uint32_t>* ids = IdsOf(animation);
    return ids != nullptr && std::binary_search(ids->begin(), ids->end(), id);
}

const std::vector<std::uint32_t>* KeySelection::IdsOf(const rm::Animation* animation) const {
    const auto found = m_byAnimation.find(animation);
    return found != m_byAnimation.end() ? &found->second.ids : nullptr;
}

void KeySelection::Add(rm::Animation* animation, std::uint32_t id) {
    if (animation == nullptr) {
        return;
    }
    Entry& entry = m_byAnimation[animation];
    if (entry.animation.Get() == nullptr) {
        entry.animation = animation;
    }
    const auto at = std::lower_bound(entry.ids.begin(), entry.ids.end(), id);
    if (at == entry.ids.end() || *at != id) {
        entry.ids.insert(at, id);
    }
}

void KeySelection::Add(std::span<const KeyRef> keys) {
    for (const KeyRef& key : keys) {
        if (key.animation == nullptr) {
            continue;
        }
        Entry& entry = m_byAnimation[key.animation];
        if (entry.animation.Get() == nullptr) {
            entry.animation = key.animation;
        }
        entry.ids.push_back(key.id);
    }
    for (auto& [animation, entry] : m_byAnimation) {
        std::sort(entry.ids.begin(), entry.ids.end());
        entry.ids.erase(std::unique(entry.ids.begin(), entry.ids.end()), entry.ids.end());
    }
}

void KeySelection::Remove(const rm::Animation* animation, std::uint32_t id) {
    const auto found = m_byAnimation.find(animation);
    if (found == m_byAnimation.end()) {
        return;
    }
    std::vector<std::uint32_t>& ids = found->second.ids;
    const auto at = std::lower_bound(ids.begin(), ids.end(), id);
    if (at != ids.end() && *at == id) {
        ids.erase(at);
    }
    if (ids.empty()) {
        m_byAnimation.erase(found);
    }
}

void KeySelection::Toggle(std::span<const KeyRef> keys) {
    const bool all = std::all_of(keys.begin(), keys.end(), [this](const KeyRef& key) {
        return Contains(key.animation, key.id);
    });
    for (const KeyRef& key : keys) {
        if (all) {
            Remove(key.animation, key.id);
        } else {
            Add(key.animation, key.id);
        }
    }
}

std::vector<KeyRef> KeySelection::Keys() const {
    std::vector<KeyRef> keys;
    for (const auto& [pointer, entry] : m_byAnimation) {
        for (const rm::AnimationKey& key : entry.animation->Keys()) {
            if (std::binary_search(entry.ids.begin(), entry.ids.end(), key.dwID)) {
                keys.push_back({entry.animation.Get(), key.dwID});
            }
        }
    }
    return keys;
}

} // namespace timeline

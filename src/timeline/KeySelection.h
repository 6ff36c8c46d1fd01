#pragma once

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "commands/KeyRef.h"
#include "platform/rm/Animation.h"
#include "platform/rm/Ref.h"

namespace timeline {

/// The keys chosen on the key sheet: per animation, the identifiers of its chosen keys. It
/// holds a reference to each animation it names, so no entry ever points at a freed one;
/// keys that have gone from their animation (after an undo) are simply not found.
class KeySelection {
public:
    bool Empty() const { return m_byAnimation.empty(); }
    /// Number of chosen keys.
    std::size_t Count() const;
    void Clear() { m_byAnimation.clear(); }

    bool Contains(const rm::Animation* animation, std::uint32_t id) const;
    /// The sorted identifiers chosen in `animation`; null when none.
    const std::vector<std::uint32_t>* IdsOf(const rm::Animation* animation) const;
    void Add(rm::Animation* animation, std::uint32_t id);
    /// Adds many keys at once (n log n, where one by one is quadratic).
    void Add(std::span<const KeyRef> keys);
    void Remove(const rm::Animation* animation, std::uint32_t id);
    /// Adds `keys` (all chosen ones stay), or takes them out when every one is chosen.
    void Toggle(std::span<const KeyRef> keys);
    /// Keeps only the animations `keep` says yes to.
    template <typename Keep>
    void RemoveAnimationsUnless(Keep&& keep) {
        std::erase_if(m_byAnimation, [&](const auto& entry) { return !keep(entry.first); });
    }

    /// Every chosen key that its animation still holds, animation by animation.
    std::vector<KeyRef> Keys() const;

private:
    struct Entry {
        rm::Ref<rm::Animation> animation;
        std::vector<std::uint32_t> ids; // increasing
    };
    std::unordered_map<const rm::Animation*, Entry> m_byAnimation;
};

} // namespace timeline

#pragma once

#include <cstdint>
#include <unordered_map>

#include "platform/NonCopyable.h"
#include "platform/rm/Ref.h"
#include "platform/rm/Texture.h"

namespace rm {

/// GL textures for the rm::Texture objects a device draws with, uploaded once and again
/// only when the texture's image changes, plus the two samplers (nearest and linear)
/// the device's texture quality chooses between. Textures repeat outside 0..1.
///
/// Every call that touches GL expects the owning device's context to be current.
class GlDrawTextures : private platform::NonCopyable {
public:
    GlDrawTextures() = default;

    /// Creates the samplers.
    void Create();
    /// The GL texture of texture, uploading it when needed; 0 when it has no image.
    unsigned Get(Texture* texture);
    /// The sampler for linear (true) or nearest (false) filtering.
    unsigned Sampler(bool linear) const { return m_samplers[linear ? 1 : 0]; }
    /// Drops the textures nobody but this cache holds any more.
    void Sweep();
    /// Deletes every texture and the samplers.
    void Clear();
    std::size_t Size() const { return m_entries.size(); }

private:
    struct Entry {
        Ref<Texture> texture;
        std::uint64_t generation = 0;
        unsigned name = 0;
    };
    std::unordered_map<const Texture*, Entry> m_entries;
    unsigned m_samplers[2] = {0, 0};
};

} // namespace rm

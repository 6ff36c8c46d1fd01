#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/surface/SurfaceResult.h"
#include "platform/surface/Window.h"

namespace surface {

/// A 256-entry colour palette for 8-bit displays. Pictures shown through a primary
/// surface that has a palette are reduced to its colours.
class Palette {
public:
    /// The platform's 8-bit palette capability flag.
    static constexpr std::uint32_t kCaps8Bit = 0x4;

    /// A palette from 256 entries. DDERR_INVALIDPARAMS without entries or without the
    /// 8-bit flag (the only kind this layer makes).
    static HRESULT Create(std::uint32_t caps, const PaletteEntry* entries,
                          std::shared_ptr<Palette>* palette);

    const std::array<PaletteEntry, 256>& Entries() const { return m_entries; }
    /// Index of the entry nearest to the colour (squared distance in RGB; the lowest
    /// index wins a tie).
    std::uint8_t Nearest(std::uint8_t r, std::uint8_t g, std::uint8_t b) const;
    /// Replaces each pixel of rgba (count pixels, 4 bytes each) by its nearest entry.
    void Reduce(std::uint8_t* rgba, std::size_t count) const;

private:
    Palette() = default;
    std::array<PaletteEntry, 256> m_entries{};
    /// Nearest entry for each 15-bit colour, filled when first needed.
    mutable std::vector<std::uint8_t> m_lookup;
};

} // namespace surface

#include "platform/surface/Palette.h"

namespace surface {

HRESULT Palette::Create(std::uint32_t caps, const PaletteEntry* entries,
                        std::shared_ptr<Palette>* palette) {
    if (!palette) {
        return DDERR_INVALIDPARAMS;
    }
    palette->reset();
    if (!entries || !(caps & kCaps8Bit)) {
        return DDERR_INVALIDPARAMS;
    }
    std::shared_ptr<Palette> created(new Palette);
    for (int i = 0; i < 256; ++i) {
        created->m_entries[std::size_t(i)] = entries[i];
    }
    *palette = std::move(created);
    return DD_OK;
}

std::uint8_t Palette::Nearest(std::uint8_t r, std::uint8_t g, std::uint8_t b) const {
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& e = m_entries[std::size_t(i)];
        const int dr = int(e.red) - r, dg = int(e.green) - g, db = int(e.blue) - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return std::uint8_t(best);
}

void Palette::Reduce(std::uint8_t* rgba, std::size_t count) const {
    if (m_lookup.empty()) {
        // 32768 searches once per palette instead of one search per pixel per frame.
        m_lookup.resize(32768);
        for (int c = 0; c < 32768; ++c) {
            const auto r = std::uint8_t(((c >> 10) & 31) * 255 / 31);
            const auto g = std::uint8_t(((c >> 5) & 31) * 255 / 31);
            const auto b = std::uint8_t((c & 31) * 255 / 31);
            m_lookup[std::size_t(c)] = Nearest(r, g, b);
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* p = rgba + 4 * i;
        const int key = ((p[0] >> 3) << 10) | ((p[1] >> 3) << 5) | (p[2] >> 3);
        const PaletteEntry& e = m_entries[m_lookup[std::size_t(key)]];
        p[0] = e.red;
        p[1] = e.green;
        p[2] = e.blue;
    }
}

} // namespace surface

#include "platform/rm/Texture.h"

#include "platform/Assert.h"

namespace rm {

void Texture::SetImage(int width, int height, std::vector<std::uint8_t> pixels) {
    PAVRIX_ASSERT(width >= 0 && height >= 0 &&
                      pixels.size() == std::size_t(width) * std::size_t(height) * 4,
                  "Texture::SetImage: pixel count does not match the size");
    m_width = width;
    m_height = height;
    m_pixels = std::move(pixels);
    ++m_generation;
}

} // namespace rm

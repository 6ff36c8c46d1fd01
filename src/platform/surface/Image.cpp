#include "platform/surface/Image.h"

#include <algorithm>

namespace surface {

Image::Image(int width, int height) {
    Resize(width, height);
    for (std::size_t i = 3; i < m_pixels.size(); i += 4) {
        m_pixels[i] = 0xFF;
    }
}

void Image::Resize(int width, int height) {
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_pixels.resize(std::size_t(m_width) * std::size_t(m_height) * 4);
}

std::uint32_t Image::PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return 0;
    }
    const std::uint8_t* p = Row(y) + std::size_t(x) * 4;
    return (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) |
           std::uint32_t(p[2]);
}

void Image::SetPixel(int x, int y, std::uint32_t argb) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    std::uint8_t* p = Row(y) + std::size_t(x) * 4;
    p[0] = std::uint8_t(argb >> 16);
    p[1] = std::uint8_t(argb >> 8);
    p[2] = std::uint8_t(argb);
    p[3] = std::uint8_t(argb >> 24);
}

} // namespace surface

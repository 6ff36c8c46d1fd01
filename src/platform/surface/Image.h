#pragma once

#include <cstdint>
#include <vector>

namespace surface {

/// An RGBA8 picture, rows from the top, 4 bytes per pixel (red, green, blue, alpha).
/// A default-constructed image is empty (0 x 0).
class Image {
public:
    Image() = default;
    /// A width x height image filled with opaque black; negative sizes count as 0.
    Image(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsEmpty() const { return m_width == 0 || m_height == 0; }
    /// Resizes to width x height (contents unspecified afterwards); keeps the storage when
    /// the size does not change, so a caller can read into the same image every frame.
    void Resize(int width, int height);

    /// Bytes of row y (0 = top); width * 4 bytes.
    std::uint8_t* Row(int y) { return m_pixels.data() + std::size_t(y) * RowBytes(); }
    const std::uint8_t* Row(int y) const { return m_pixels.data() + std::size_t(y) * RowBytes(); }
    std::size_t RowBytes() const { return std::size_t(m_width) * 4; }
    std::vector<std::uint8_t>& Pixels() { return m_pixels; }
    const std::vector<std::uint8_t>& Pixels() const { return m_pixels; }

    /// The pixel at (x, y) as 0xAARRGGBB; 0 outside the image.
    std::uint32_t PixelAt(int x, int y) const;
    /// Sets the pixel at (x, y) from 0xAARRGGBB; ignored outside the image.
    void SetPixel(int x, int y, std::uint32_t argb);

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_pixels;
};

} // namespace surface

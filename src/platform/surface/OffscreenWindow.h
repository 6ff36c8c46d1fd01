#pragma once

#include "platform/surface/Image.h"
#include "platform/surface/Window.h"

namespace surface {

/// A window that exists only in memory: a fixed client rectangle and a copy of the last
/// picture presented. Used by the command line, tests and benchmarks.
class OffscreenWindow : public Window {
public:
    OffscreenWindow(int width, int height, int bitsPerPixel = 32)
        : m_rect{0, 0, width, height}, m_bits(bitsPerPixel) {}

    Rect ClientRectOnScreen() const override { return m_rect; }
    int BitsPerPixel() const override { return m_bits; }
    void Presented(const Image& picture) override {
        m_last = picture;
        ++m_presentCount;
    }

    void SetClientRect(const Rect& rect) { m_rect = rect; }
    /// The last picture presented (empty before the first).
    const Image& LastPicture() const { return m_last; }
    int PresentCount() const { return m_presentCount; }

private:
    Rect m_rect;
    int m_bits;
    Image m_last;
    int m_presentCount = 0;
};

} // namespace surface

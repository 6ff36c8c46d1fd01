#pragma once

#include <cstdint>

namespace surface {

class Image;

/// A rectangle in pixels: left and top inclusive, right and bottom exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

/// One palette entry: red, green, blue and the platform's flags byte.
struct PaletteEntry {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t flags = 0;
};

/// What the device layer needs of the window its picture is shown in. The GUI's view
/// implements it; OffscreenWindow stands in where there is no window at all.
class Window {
public:
    virtual ~Window() = default;
    /// The client area in screen coordinates.
    virtual Rect ClientRectOnScreen() const = 0;
    /// Bits per pixel of the display the window is on.
    virtual int BitsPerPixel() const { return 32; }
    /// The display's 256 palette entries (8-bit displays); by default a 3-3-2 colour cube.
    virtual void GetSystemPaletteEntries(PaletteEntry* entries) const;
    /// Whether part of the window waits to be painted.
    virtual bool HasUpdateRegion() const { return false; }
    virtual void BeginPaint() {}
    virtual void EndPaint() {}
    /// Called after a new picture was put on the window's primary surface.
    virtual void Presented(const Image& picture) { (void)picture; }
};

} // namespace surface

#include "platform/surface/Window.h"

namespace surface {

void Window::GetSystemPaletteEntries(PaletteEntry* entries) const {
    for (int i = 0; i < 256; ++i) {
        entries[i].red = std::uint8_t(((i >> 5) & 7) * 255 / 7);
        entries[i].green = std::uint8_t(((i >> 2) & 7) * 255 / 7);
        entries[i].blue = std::uint8_t((i & 3) * 255 / 3);
        entries[i].flags = 0;
    }
}

} // namespace surface

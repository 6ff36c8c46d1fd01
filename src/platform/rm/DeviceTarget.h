#pragma once

#include <functional>

namespace rm {

/// Where a device draws: a GL framebuffer of a given size in some GL context. The scene
/// library knows nothing of how the context was made; makeCurrent (when given) makes it
/// current and binds the framebuffer, and returns false when that is no longer possible.
struct DeviceTarget {
    /// The GL framebuffer name (0: the context's default framebuffer).
    unsigned framebuffer = 0;
    /// Size in pixels, at least 1 each.
    int width = 0;
    int height = 0;
    /// Empty: the right context is taken to be current already.
    std::function<bool()> makeCurrent;
};

} // namespace rm

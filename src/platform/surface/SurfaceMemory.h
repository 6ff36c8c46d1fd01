#pragma once

namespace surface {

/// Where a surface lives: with the hardware device ("video memory") or with the software
/// rasteriser ("system memory"). A rasteriser draws only into surfaces of its own device,
/// and a depth buffer attaches only to a surface in the same memory.
enum class SurfaceMemory {
    Video,
    System,
};

} // namespace surface

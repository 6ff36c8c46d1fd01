#pragma once

// The result type every platform module returns: negative is a failure. The codes are
// listed where they belong: the scene services' in platform/rm/Types.h, the drawing
// surface's in platform/surface/SurfaceResult.h; both use the numbering of the published
// headers, MAKE_DDHRESULT(n) = 0x88760000 | n.

#include <cstdint>

namespace platform {

using HRESULT = std::int32_t;

constexpr HRESULT MakeDDHResult(int code) {
    return static_cast<HRESULT>(0x88760000u | static_cast<std::uint32_t>(code));
}

constexpr bool Succeeded(HRESULT hr) {
    return hr >= 0;
}
constexpr bool Failed(HRESULT hr) {
    return hr < 0;
}

} // namespace platform

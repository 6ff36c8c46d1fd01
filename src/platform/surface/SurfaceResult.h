#pragma once

// Result codes of the drawing-surface layer. They carry the numeric values of the
// published DirectDraw header (MAKE_DDHRESULT(n) is 0x88760000 | n; a few names share
// the general system codes), so the device layer above can report them by name.

#include <cstdint>

namespace surface {

using HRESULT = std::int32_t;

constexpr HRESULT MakeDDHResult(int code) {
    return static_cast<HRESULT>(0x88760000u | static_cast<std::uint32_t>(code));
}

inline constexpr HRESULT DD_OK = 0;
inline constexpr HRESULT DDERR_GENERIC = static_cast<HRESULT>(0x80004005u);       // E_FAIL
inline constexpr HRESULT DDERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);   // E_NOTIMPL
inline constexpr HRESULT DDERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);   // E_OUTOFMEMORY
inline constexpr HRESULT DDERR_INVALIDPARAMS = static_cast<HRESULT>(0x80070057u); // E_INVALIDARG
inline constexpr HRESULT DDERR_CANNOTATTACHSURFACE = MakeDDHResult(10);
inline constexpr HRESULT DDERR_INVALIDOBJECT = MakeDDHResult(130);
inline constexpr HRESULT DDERR_INVALIDPIXELFORMAT = MakeDDHResult(145);
inline constexpr HRESULT DDERR_NO3D = MakeDDHResult(170);
inline constexpr HRESULT DDERR_NOTFOUND = MakeDDHResult(255);
inline constexpr HRESULT DDERR_NOZBUFFERHW = MakeDDHResult(340);
inline constexpr HRESULT DDERR_OUTOFVIDEOMEMORY = MakeDDHResult(380);
inline constexpr HRESULT DDERR_SURFACEALREADYATTACHED = MakeDDHResult(410);
inline constexpr HRESULT DDERR_SURFACELOST = MakeDDHResult(450);
inline constexpr HRESULT DDERR_TOOBIGSIZE = MakeDDHResult(480);
inline constexpr HRESULT DDERR_NODIRECTDRAWHW = MakeDDHResult(563);
inline constexpr HRESULT DDERR_NOHWND = MakeDDHResult(569);
inline constexpr HRESULT DDERR_HWNDALREADYSET = MakeDDHResult(571);

constexpr bool Succeeded(HRESULT hr) {
    return hr >= 0;
}
constexpr bool Failed(HRESULT hr) {
    return hr < 0;
}

} // namespace surface

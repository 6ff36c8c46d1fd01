#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/surface/RenderTarget.h"
#include "platform/surface/SurfaceResult.h"

namespace surface {

/// The rasterisers a 3D device can be created with.
enum class Rasterizer {
    /// The hardware device named by its identifier.
    Hardware,
    /// The software rasterisers, in the order the device layer tries them.
    Mmx,
    Rgb,
    Ramp,
};

/// The 3D device (the "Direct3D device"): a rasteriser bound to one render target. It
/// draws only into a target of its own device: a hardware rasteriser into video memory of
/// that hardware device, a software one into system memory of the software device.
class RasterDevice {
public:
    /// Creates the device on target. For Hardware, guid names the device.
    /// DDERR_INVALIDPARAMS for a null target; DDERR_INVALIDOBJECT when the target lives on
    /// another device; DDERR_UNSUPPORTED when the software device lacks that rasteriser.
    static HRESULT Create(std::shared_ptr<RenderTarget> target, Rasterizer rasterizer,
                          const std::array<std::uint8_t, 16>& guid,
                          std::shared_ptr<RasterDevice>* device);

    Rasterizer Kind() const { return m_kind; }
    const std::shared_ptr<RenderTarget>& Target() const { return m_target; }
    /// Makes the context current and binds the target for drawing; false when it cannot.
    bool MakeCurrent() const { return m_target->Bind(); }

private:
    RasterDevice(std::shared_ptr<RenderTarget> target, Rasterizer kind)
        : m_target(std::move(target)), m_kind(kind) {}

    std::shared_ptr<RenderTarget> m_target;
    Rasterizer m_kind;
};

} // namespace surface

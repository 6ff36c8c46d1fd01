#include "platform/surface/RasterDevice.h"

namespace surface {

HRESULT RasterDevice::Create(std::shared_ptr<RenderTarget> target, Rasterizer rasterizer,
                             const std::array<std::uint8_t, 16>& guid,
                             std::shared_ptr<RasterDevice>* device) {
    if (!device) {
        return DDERR_INVALIDPARAMS;
    }
    device->reset();
    if (!target) {
        return DDERR_INVALIDPARAMS;
    }
    const DeviceInfo& owner = target->Context()->Device();
    if (rasterizer == Rasterizer::Hardware) {
        if (owner.software || owner.guid != guid || target->Memory() != SurfaceMemory::Video) {
            return DDERR_INVALIDOBJECT;
        }
    } else {
        if (!owner.software || target->Memory() != SurfaceMemory::System) {
            return DDERR_INVALIDOBJECT;
        }
        const std::uint32_t bit = rasterizer == Rasterizer::Mmx   ? kRasterizerMmx
                                  : rasterizer == Rasterizer::Rgb ? kRasterizerRgb
                                                                  : kRasterizerRamp;
        if (!(owner.rasterizers & bit)) {
            return DDERR_UNSUPPORTED;
        }
    }
    device->reset(new RasterDevice(std::move(target), rasterizer));
    return DD_OK;
}

} // namespace surface

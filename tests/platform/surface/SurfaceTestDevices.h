#pragma once

// Device lists for the surface tests: the machine's own, and the same software
// rasteriser dressed up as a hardware device so the hardware paths run without a GPU.

#include <vector>

#include "platform/surface/Driver.h"

namespace testing_surface {

inline const surface::DeviceInfo* SystemSoftwareDevice() {
    static const std::vector<surface::DeviceInfo> devices =
        surface::Driver::EnumerateSystemDevices();
    for (const auto& d : devices) {
        if (d.software) {
            return &d;
        }
    }
    return nullptr;
}

/// The software rasteriser presented as a hardware device with its own identifier.
inline surface::DeviceInfo PretendHardware(const surface::DeviceInfo& software) {
    surface::DeviceInfo hardware = software;
    hardware.software = false;
    hardware.name = "Pretend HAL";
    hardware.guid[0] ^= 0xA5;
    return hardware;
}

/// A hardware device that is listed but cannot be opened.
inline surface::DeviceInfo BrokenHardware() {
    surface::DeviceInfo broken;
    broken.name = "Broken HAL";
    broken.software = false;
    broken.guid[0] = 0x42;
    broken.platform = surface::DevicePlatform::Device;
    broken.eglDevice = nullptr;
    return broken;
}

} // namespace testing_surface

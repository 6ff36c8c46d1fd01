#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace surface {

/// Colour models a device can draw with (bit flags, the platform's numbers).
inline constexpr std::uint32_t kColorModelMono = 1; // the ramp model
inline constexpr std::uint32_t kColorModelRgb = 2;

/// Software rasterisers a software device offers (bit flags).
inline constexpr std::uint32_t kRasterizerMmx = 1;
inline constexpr std::uint32_t kRasterizerRgb = 2;
inline constexpr std::uint32_t kRasterizerRamp = 4;

/// How a context is opened on a device.
enum class DevicePlatform {
    /// eglGetPlatformDisplayEXT(EGL_PLATFORM_DEVICE_EXT, eglDevice).
    Device,
    /// eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY), for
    /// EGL libraries that cannot list devices.
    Surfaceless,
};

/// One drawing device as the enumeration reports it: the software rasteriser (an EGL
/// device whose extension string names EGL_MESA_device_software) or a hardware one (any
/// other). Plain data, so tests can hand the driver a list of their own.
struct DeviceInfo {
    /// For the log: the device's DRM node, or "Software Rasterizer".
    std::string name;
    /// The EGL device extension string, as reported.
    std::string extensions;
    bool software = false;
    /// Identifier of the device, stable for the run; the first 4 bytes are what the log
    /// prints as "%x".
    std::array<std::uint8_t, 16> guid{};
    /// kColorModel* bits the device draws with.
    std::uint32_t colorModels = kColorModelRgb;
    /// Depth-buffer widths in bits the device can attach, in increasing order.
    std::vector<int> depthBits{16, 24, 32};
    /// kRasterizer* bits; meaningful for a software device only.
    std::uint32_t rasterizers = kRasterizerMmx | kRasterizerRgb | kRasterizerRamp;
    DevicePlatform platform = DevicePlatform::Device;
    /// The EGLDeviceEXT (borrowed from the EGL library, valid for the run); null for the
    /// surfaceless platform. A null device on the Device platform never opens.
    void* eglDevice = nullptr;

    /// The first 32 bits of the identifier, little-endian, as the log prints them.
    std::uint32_t GuidFirst32() const {
        return std::uint32_t(guid[0]) | (std::uint32_t(guid[1]) << 8) |
               (std::uint32_t(guid[2]) << 16) | (std::uint32_t(guid[3]) << 24);
    }
    /// Whether the device can attach a depth buffer of `bits` bits.
    bool SupportsDepth(int bits) const {
        for (int b : depthBits) {
            if (b == bits) {
                return true;
            }
        }
        return false;
    }
};

} // namespace surface

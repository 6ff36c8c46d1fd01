#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/surface/DeviceInfo.h"
#include "platform/surface/SurfaceResult.h"

namespace surface {

/// The connection to the system's drawing devices (the "DirectDraw object"): the list of
/// devices found when it was created and what they can do. Shared by the objects made
/// from it (the device layer holds it twice, as its DirectDraw and its Direct3D object).
class Driver {
public:
    /// Lists the EGL devices of this machine (EGL_EXT_device_enumeration); where the EGL
    /// library cannot list devices but offers EGL_MESA_platform_surfaceless, one device on
    /// that platform. Needs no display. An empty list when EGL offers neither.
    static std::vector<DeviceInfo> EnumerateSystemDevices();

    /// A driver over the system's devices. DDERR_NODIRECTDRAWHW when there is none.
    static HRESULT Create(std::shared_ptr<Driver>* driver);
    /// A driver over a given list (the seam tests use to stand in a hardware device).
    /// DDERR_NODIRECTDRAWHW when the list is empty.
    static HRESULT CreateWithDevices(std::vector<DeviceInfo> devices,
                                     std::shared_ptr<Driver>* driver);

    const std::vector<DeviceInfo>& Devices() const { return m_devices; }
    /// Whether a hardware device exists (the driver capabilities "3D" and "texture").
    bool HasHardware3D() const;
    /// The first hardware device, or null.
    const DeviceInfo* FirstHardwareDevice() const;
    /// The first software device, or null.
    const DeviceInfo* FirstSoftwareDevice() const;
    /// The device with this identifier, or null.
    const DeviceInfo* FindDevice(const std::array<std::uint8_t, 16>& guid) const;

    /// Calls report for each device in list order, like the platform's device
    /// enumeration; stops early when report returns false.
    void EnumDevices(const std::function<bool(const DeviceInfo&)>& report) const;

private:
    explicit Driver(std::vector<DeviceInfo> devices) : m_devices(std::move(devices)) {}

    std::vector<DeviceInfo> m_devices;
};

} // namespace surface

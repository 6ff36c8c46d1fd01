#include "platform/surface/Driver.h"

#include <cstring>
#include <string>

#include <epoxy/egl.h>

#ifndef EGL_DRM_RENDER_NODE_FILE_EXT
#define EGL_DRM_RENDER_NODE_FILE_EXT 0x3377
#endif

namespace surface {

namespace {

bool HasWord(const char* list, const char* word) {
    if (!list) {
        return false;
    }
    const std::size_t n = std::strlen(word);
    for (const char* p = list; (p = std::strstr(p, word)) != nullptr; p += n) {
        const bool startOk = p == list || p[-1] == ' ';
        const bool endOk = p[n] == '\0' || p[n] == ' ';
        if (startOk && endOk) {
            return true;
        }
    }
    return false;
}

std::uint64_t Fnv1a(const std::string& text, std::uint64_t seed) {
    std::uint64_t h = seed;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

// Identifiers only need to tell the devices of one run apart and stay the same while it
// lasts, so a hash of what EGL reports about the device and its position will do.
std::array<std::uint8_t, 16> MakeGuid(const std::string& key) {
    const std::uint64_t a = Fnv1a(key, 14695981039346656037ull);
    const std::uint64_t b = Fnv1a(key, a ^ 0x9E3779B97F4A7C15ull);
    std::array<std::uint8_t, 16> guid{};
    for (int i = 0; i < 8; ++i) {
        guid[std::size_t(i)] = std::uint8_t(a >> (8 * i));
        guid[std::size_t(i) + 8] = std::uint8_t(b >> (8 * i));
    }
    return guid;
}

} // namespace

std::vector<DeviceInfo> Driver::EnumerateSystemDevices() {
    std::vector<DeviceInfo> devices;
    const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!client) {
        return devices;
    }
    if (HasWord(client, "EGL_EXT_device_enumeration") &&
        HasWord(client, "EGL_EXT_platform_device")) {
        EGLint count = 0;
        if (eglQueryDevicesEXT(0, nullptr, &count) && count > 0) {
            std::vector<EGLDeviceEXT> handles(std::size_t(count), EGL_NO_DEVICE_EXT);
            if (eglQueryDevicesEXT(count, handles.data(), &count)) {
                for (EGLint i = 0; i < count; ++i) {
                    DeviceInfo info;
                    const char* ext =
                        eglQueryDeviceStringEXT(handles[std::size_t(i)], EGL_EXTENSIONS);
                    info.extensions = ext ? ext : "";
                    info.software = HasWord(ext, "EGL_MESA_device_software");
                    const char* node = nullptr;
                    if (HasWord(ext, "EGL_EXT_device_drm_render_node")) {
                        node = eglQueryDeviceStringEXT(handles[std::size_t(i)],
                                                       EGL_DRM_RENDER_NODE_FILE_EXT);
                    }
                    if (!node && HasWord(ext, "EGL_EXT_device_drm")) {
                        node = eglQueryDeviceStringEXT(handles[std::size_t(i)],
                                                       EGL_DRM_DEVICE_FILE_EXT);
                    }
                    info.name = node ? node
                                     : (info.software ? "Software Rasterizer"
                                                      : "EGL device " + std::to_string(i));
                    info.guid =
                        MakeGuid(info.name + '|' + info.extensions + '|' + std::to_string(i));
                    info.platform = DevicePlatform::Device;
                    info.eglDevice = handles[std::size_t(i)];
                    devices.push_back(std::move(info));
                }
            }
        }
    }
    if (devices.empty() && HasWord(client, "EGL_MESA_platform_surfaceless")) {
        // Without a device list nothing says which rasteriser sits behind the default
        // display; it is taken for a hardware one, so the software fallback stays in play.
        DeviceInfo info;
        info.name = "Surfaceless";
        info.guid = MakeGuid("surfaceless");
        info.platform = DevicePlatform::Surfaceless;
        devices.push_back(std::move(info));
    }
    return devices;
}

HRESULT Driver::Create(std::shared_ptr<Driver>* driver) {
    return CreateWithDevices(EnumerateSystemDevices(), driver);
}

HRESULT Driver::CreateWithDevices(std::vector<DeviceInfo> devices,
                                  std::shared_ptr<Driver>* driver) {
    if (!driver) {
        return DDERR_INVALIDPARAMS;
    }
    driver->reset();
    if (devices.empty()) {
        return DDERR_NODIRECTDRAWHW;
    }
    driver->reset(new Driver(std::move(devices)));
    return DD_OK;
}

bool Driver::HasHardware3D() const {
    return FirstHardwareDevice() != nullptr;
}

const DeviceInfo* Driver::FirstHardwareDevice() const {
    for (const auto& d : m_devices) {
        if (!d.software) {
            return &d;
        }
    }
    return nullptr;
}

const DeviceInfo* Driver::FirstSoftwareDevice() const {
    for (const auto& d : m_devices) {
        if (d.software) {
            return &d;
        }
    }
    return nullptr;
}

const DeviceInfo* Driver::FindDevice(const std::array<std::uint8_t, 16>& guid) const {
    for (const auto& d : m_devices) {
        if (d.guid == guid) {
            return &d;
        }
    }
    return nullptr;
}

void Driver::EnumDevices(const std::function<bool(const DeviceInfo&)>& report) const {
    for (const auto& d : m_devices) {
        if (!report(d)) {
            return;
        }
    }
}

} // namespace surface

#include "platform/surface/EglDisplay.h"

#include <map>
#include <utility>

#include <epoxy/egl.h>

namespace surface {

namespace {
using Key = std::pair<int, void*>;

std::map<Key, std::weak_ptr<EglDisplay>>& OpenDisplays() {
    static std::map<Key, std::weak_ptr<EglDisplay>> displays;
    return displays;
}
} // namespace

HRESULT EglDisplay::Open(const DeviceInfo& device, std::shared_ptr<EglDisplay>* display) {
    if (!display) {
        return DDERR_INVALIDPARAMS;
    }
    display->reset();
    const Key key{int(device.platform), device.eglDevice};
    auto& open = OpenDisplays();
    if (auto it = open.find(key); it != open.end()) {
        if (auto shared = it->second.lock()) {
            *display = std::move(shared);
            return DD_OK;
        }
        open.erase(it);
    }
    EGLDisplay handle = EGL_NO_DISPLAY;
    if (device.platform == DevicePlatform::Device) {
        if (!device.eglDevice) {
            return DDERR_NODIRECTDRAWHW;
        }
        handle = eglGetPlatformDisplayEXT(EGL_PLATFORM_DEVICE_EXT, device.eglDevice, nullptr);
    } else {
        handle =
            eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    }
    if (handle == EGL_NO_DISPLAY) {
        return DDERR_NODIRECTDRAWHW;
    }
    EGLint major = 0, minor = 0;
    if (!eglInitialize(handle, &major, &minor)) {
        return DDERR_NODIRECTDRAWHW;
    }
    std::shared_ptr<EglDisplay> shared(new EglDisplay(handle));
    open[key] = shared;
    *display = std::move(shared);
    return DD_OK;
}

EglDisplay::~EglDisplay() {
    eglTerminate(m_display);
}

bool EglDisplay::HasExtension(const char* name) const {
    return epoxy_has_egl_extension(m_display, name);
}

} // namespace surface

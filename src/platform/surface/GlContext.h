#pragma once

#include <memory>

#include "platform/NonCopyable.h"
#include "platform/surface/DeviceInfo.h"
#include "platform/surface/EglDisplay.h"
#include "platform/surface/SurfaceResult.h"

namespace surface {

/// An OpenGL 3.3 core-profile context on one device, without any window surface
/// (EGL_KHR_surfaceless_context): everything is drawn into framebuffer objects. Shared by
/// the objects whose GL names live in it; destroyed with the last of them.
class GlContext : private platform::NonCopyable {
public:
    /// Opens the device's display and creates a context there; on success the new context
    /// is current on the calling thread. DDERR_NODIRECTDRAWHW when the device cannot be
    /// opened, DDERR_UNSUPPORTED when it offers no surfaceless OpenGL 3.3 core context.
    static HRESULT Create(const DeviceInfo& device, std::shared_ptr<GlContext>* context);

    ~GlContext();

    /// Makes this context current on the calling thread (no-op when it is already);
    /// false when EGL refuses.
    bool MakeCurrent() const;
    bool IsCurrent() const;
    const DeviceInfo& Device() const { return m_device; }
    /// GL_RENDERER of the context, for logs.
    const char* Renderer() const { return m_renderer.c_str(); }

private:
    GlContext(DeviceInfo device, std::shared_ptr<EglDisplay> display, void* context)
        : m_device(std::move(device)), m_display(std::move(display)), m_context(context) {}

    DeviceInfo m_device;
    std::shared_ptr<EglDisplay> m_display;
    void* m_context;
    std::string m_renderer;
};

} // namespace surface

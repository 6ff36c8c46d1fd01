#include "platform/surface/GlContext.h"

#include <epoxy/egl.h>
#include <epoxy/gl.h>

namespace surface {

HRESULT GlContext::Create(const DeviceInfo& device, std::shared_ptr<GlContext>* context) {
    if (!context) {
        return DDERR_INVALIDPARAMS;
    }
    context->reset();
    std::shared_ptr<EglDisplay> display;
    if (HRESULT hr = EglDisplay::Open(device, &display); Failed(hr)) {
        return hr;
    }
    if (!display->HasExtension("EGL_KHR_surfaceless_context") || !eglBindAPI(EGL_OPENGL_API)) {
        return DDERR_UNSUPPORTED;
    }
    EGLDisplay dpy = display->Handle();
    EGLConfig config = EGL_NO_CONFIG_KHR;
    if (!display->HasExtension("EGL_KHR_no_config_context") &&
        !display->HasExtension("EGL_MESA_configless_context")) {
        const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
        EGLint found = 0;
        if (!eglChooseConfig(dpy, wanted, &config, 1, &found) || found < 1) {
            return DDERR_UNSUPPORTED;
        }
    }
    const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                 3,
                                 EGL_CONTEXT_MINOR_VERSION,
                                 3,
                                 EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                 EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                 EGL_NONE};
    EGLContext handle = eglCreateContext(dpy, config, EGL_NO_CONTEXT, attributes);
    if (handle == EGL_NO_CONTEXT) {
        return DDERR_UNSUPPORTED;
    }
    std::shared_ptr<GlContext> created(new GlContext(device, display, handle));
    if (!created->MakeCurrent() || epoxy_gl_version() < 33) {
        return DDERR_UNSUPPORTED;
    }
    const GLubyte* renderer = glGetString(GL_RENDERER);
    created->m_renderer = renderer ? reinterpret_cast<const char*>(renderer) : "";
    *context = std::move(created);
    return DD_OK;
}

GlContext::~GlContext() {
    EGLDisplay dpy = m_display->Handle();
    if (IsCurrent()) {
        eglMakeCurrent(dpy, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    eglDestroyContext(dpy, m_context);
}

bool GlContext::IsCurrent() const {
    return eglGetCurrentContext() == m_context;
}

bool GlContext::MakeCurrent() const {
    if (IsCurrent()) {
        return true;
    }
    return eglMakeCurrent(m_display->Handle(), EGL_NO_SURFACE, EGL_NO_SURFACE, m_context) ==
           EGL_TRUE;
}

} // namespace surface

#pragma once

// A headless OpenGL 3.3 core context on the software rasteriser with an offscreen colour
// and depth target, for the drawing tests of the scene library (which must not depend on
// the surface layer above it).

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include "platform/rm/DeviceTarget.h"

namespace testing_rm {

class DeviceTestContext {
public:
    DeviceTestContext(int width, int height) : m_width(width), m_height(height) {
        m_display = OpenSoftwareDisplay();
        if (m_display == EGL_NO_DISPLAY || !eglInitialize(m_display, nullptr, nullptr) ||
            !eglBindAPI(EGL_OPENGL_API)) {
            return;
        }
        const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                     3,
                                     EGL_CONTEXT_MINOR_VERSION,
                                     3,
                                     EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                     EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                     EGL_NONE};
        m_context = eglCreateContext(m_display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
        if (m_context == EGL_NO_CONTEXT || !MakeCurrent()) {
            return;
        }
        glGenFramebuffers(1, &m_framebuffer);
        glGenRenderbuffers(2, m_renderbuffers);
        glBindRenderbuffer(GL_RENDERBUFFER, m_renderbuffers[0]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        glBindRenderbuffer(GL_RENDERBUFFER, m_renderbuffers[1]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  m_renderbuffers[0]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                  m_renderbuffers[1]);
        m_ok = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }

    ~DeviceTestContext() {
        if (m_context != EGL_NO_CONTEXT) {
            if (MakeCurrent()) {
                glDeleteFramebuffers(1, &m_framebuffer);
                glDeleteRenderbuffers(2, m_renderbuffers);
            }
            eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
            eglDestroyContext(m_display, m_context);
        }
    }

    bool Ok() const { return m_ok; }
    bool MakeCurrent() const {
        return eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_context) == EGL_TRUE;
    }

    rm::DeviceTarget Target() const {
        rm::DeviceTarget target;
        target.framebuffer = m_framebuffer;
        target.width = m_width;
        target.height = m_height;
        target.makeCurrent = [this] { return MakeCurrent(); };
        return target;
    }

    /// Reads the target back; Pixel() then answers from this copy.
    void Read() {
        MakeCurrent();
        glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
        glFinish();
        m_pixels.assign(std::size_t(m_width) * std::size_t(m_height) * 4, 0);
        glReadPixels(0, 0, m_width, m_height, GL_RGBA, GL_UNSIGNED_BYTE, m_pixels.data());
    }
    /// The pixel at (x, y), y down from the top, as 0xAARRGGBB.
    std::uint32_t Pixel(int x, int y) const {
        const std::uint8_t* p =
            m_pixels.data() + (std::size_t(m_height - 1 - y) * std::size_t(m_width) + x) * 4;
        return (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[0]) << 16) |
               (std::uint32_t(p[1]) << 8) | p[2];
    }
    /// Pixels that differ from `background` (alpha ignored).
    int CountNot(std::uint32_t background) const {
        int n = 0;
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                n += (Pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF);
            }
        }
        return n;
    }
    /// The centre of the pixels of exactly `colour` (alpha ignored), in pixels from the
    /// top left; false when there are none. *count (when not null) gets how many.
    bool CentreOf(std::uint32_t colour, float* x, float* y, int* count = nullptr) const {
        double sx = 0, sy = 0;
        int n = 0;
        for (int j = 0; j < m_height; ++j) {
            for (int i = 0; i < m_width; ++i) {
                if ((Pixel(i, j) & 0xFFFFFF) == (colour & 0xFFFFFF)) {
                    sx += i + 0.5;
                    sy += j + 0.5;
                    ++n;
                }
            }
        }
        if (count) {
            *count = n;
        }
        if (!n) {
            return false;
        }
        *x = float(sx / n);
        *y = float(sy / n);
        return true;
    }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    static EGLDisplay OpenSoftwareDisplay() {
        EGLDeviceEXT devices[16];
        EGLint count = 0;
        if (eglQueryDevicesEXT(16, devices, &count)) {
            for (EGLint i = 0; i < count; ++i) {
                const char* ext = eglQueryDeviceStringEXT(devices[i], EGL_EXTENSIONS);
                if (ext && std::strstr(ext, "EGL_MESA_device_software")) {
                    return eglGetPlatformDisplayEXT(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr);
                }
            }
        }
        return eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY,
                                        nullptr);
    }

    int m_width, m_height;
    EGLDisplay m_display = EGL_NO_DISPLAY;
    EGLContext m_context = EGL_NO_CONTEXT;
    GLuint m_framebuffer = 0;
    GLuint m_renderbuffers[2] = {0, 0};
    bool m_ok = false;
    std::vector<std::uint8_t> m_pixels;
};

/// Colour channels of 0xAARRGGBB.
inline int Red(std::uint32_t c) {
    return int((c >> 16) & 0xFF);
}
inline int Green(std::uint32_t c) {
    return int((c >> 8) & 0xFF);
}
inline int Blue(std::uint32_t c) {
    return int(c & 0xFF);
}

} // namespace testing_rm

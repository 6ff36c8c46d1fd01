#include "platform/surface/RenderTarget.h"

#include <cstring>

#include <epoxy/gl.h>

#include "platform/surface/DepthBuffer.h"
#include "platform/surface/Driver.h"

namespace surface {

namespace {
// Drops errors left by earlier calls so the next check sees only its own.
void ClearGlErrors() {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
}
} // namespace

HRESULT RenderTarget::Create(const Driver& driver, int width, int height, SurfaceMemory memory,
                             std::shared_ptr<RenderTarget>* target) {
    if (!target) {
        return DDERR_INVALIDPARAMS;
    }
    target->reset();
    if (width < 1 || height < 1) {
        return DDERR_INVALIDPARAMS;
    }
    const HRESULT noRoom =
        memory == SurfaceMemory::Video ? DDERR_OUTOFVIDEOMEMORY : DDERR_OUTOFMEMORY;
    const DeviceInfo* device = memory == SurfaceMemory::Video ? driver.FirstHardwareDevice()
                                                              : driver.FirstSoftwareDevice();
    if (!device) {
        return noRoom;
    }
    std::shared_ptr<GlContext> context;
    if (Failed(GlContext::Create(*device, &context))) {
        return noRoom;
    }
    return CreateOnContext(std::move(context), width, height, memory, target);
}

HRESULT RenderTarget::CreateOnContext(std::shared_ptr<GlContext> context, int width, int height,
                                      SurfaceMemory memory, std::shared_ptr<RenderTarget>* target) {
    if (!target || !context) {
        return DDERR_INVALIDPARAMS;
    }
    target->reset();
    if (width < 1 || height < 1) {
        return DDERR_INVALIDPARAMS;
    }
    if (!context->MakeCurrent()) {
        return DDERR_SURFACELOST;
    }
    std::shared_ptr<RenderTarget> created(new RenderTarget(std::move(context), memory));
    glGenFramebuffers(1, &created->m_framebuffer);
    glGenRenderbuffers(1, &created->m_colour);
    if (HRESULT hr = created->Allocate(width, height); Failed(hr)) {
        return hr;
    }
    *target = std::move(created);
    return DD_OK;
}

HRESULT RenderTarget::Allocate(int width, int height) {
    if (width < 1 || height < 1) {
        return DDERR_INVALIDPARAMS;
    }
    GLint largest = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    if (width > largest || height > largest) {
        return DDERR_TOOBIGSIZE;
    }
    ClearGlErrors();
    glBindRenderbuffer(GL_RENDERBUFFER, m_colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    if (glGetError() != GL_NO_ERROR) {
        return m_memory == SurfaceMemory::Video ? DDERR_OUTOFVIDEOMEMORY : DDERR_OUTOFMEMORY;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_colour);
    m_width = width;
    m_height = height;
    // A fresh target shows black, like a newly created surface.
    glDisable(GL_SCISSOR_TEST);
    glViewport(0, 0, width, height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    return DD_OK;
}

RenderTarget::~RenderTarget() {
    if (m_depth) {
        m_depth->m_target = nullptr;
    }
    if (m_context->MakeCurrent()) {
        glDeleteFramebuffers(1, &m_framebuffer);
        glDeleteRenderbuffers(1, &m_colour);
    }
}

HRESULT RenderTarget::Resize(int width, int height) {
    if (!m_context->MakeCurrent()) {
        return DDERR_SURFACELOST;
    }
    if (HRESULT hr = Allocate(width, height); Failed(hr)) {
        return hr;
    }
    if (m_depth) {
        if (HRESULT hr = m_depth->Allocate(width, height); Failed(hr)) {
            DetachDepth();
            return hr;
        }
    }
    return DD_OK;
}

HRESULT RenderTarget::AttachDepth(DepthBuffer* depth) {
    if (!depth) {
        return DDERR_INVALIDPARAMS;
    }
    if (m_depth || depth->m_target) {
        return DDERR_SURFACEALREADYATTACHED;
    }
    if (depth->Memory() != m_memory || depth->Width() != m_width || depth->Height() != m_height ||
        depth->Context() != m_context) {
        return DDERR_CANNOTATTACHSURFACE;
    }
    if (!m_context->MakeCurrent()) {
        return DDERR_SURFACELOST;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                              depth->Renderbuffer());
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, 0);
        return DDERR_CANNOTATTACHSURFACE;
    }
    m_depth = depth;
    depth->m_target = this;
    return DD_OK;
}

void RenderTarget::DetachDepth() {
    if (!m_depth) {
        return;
    }
    if (m_context->MakeCurrent()) {
        glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, 0);
    }
    m_depth->m_target = nullptr;
    m_depth = nullptr;
}

bool RenderTarget::Bind() const {
    if (!m_context->MakeCurrent()) {
        return false;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    return true;
}

HRESULT RenderTarget::ReadPixels(Image* image) const {
    if (!image) {
        return DDERR_INVALIDPARAMS;
    }
    if (!Bind()) {
        return DDERR_SURFACELOST;
    }
    image->Resize(m_width, m_height);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glReadPixels(0, 0, m_width, m_height, GL_RGBA, GL_UNSIGNED_BYTE, image->Pixels().data());
    // GL rows run from the bottom; the image's from the top.
    const std::size_t rowBytes = image->RowBytes();
    std::uint8_t* pixels = image->Pixels().data();
    for (int top = 0, bottom = m_height - 1; top < bottom; ++top, --bottom) {
        std::uint8_t* a = pixels + std::size_t(top) * rowBytes;
        std::uint8_t* b = pixels + std::size_t(bottom) * rowBytes;
        for (std::size_t i = 0; i < rowBytes; ++i) {
            std::swap(a[i], b[i]);
        }
    }
    return DD_OK;
}

} // namespace surface

#include "platform/surface/DepthBuffer.h"

#include <epoxy/gl.h>

#include "platform/surface/RenderTarget.h"

namespace surface {

HRESULT DepthBuffer::Create(const RenderTarget& target, int bits, SurfaceMemory memory,
                            std::unique_ptr<DepthBuffer>* depth) {
    if (!depth) {
        return DDERR_INVALIDPARAMS;
    }
    depth->reset();
    if ((bits != 16 && bits != 24 && bits != 32) ||
        !target.Context()->Device().SupportsDepth(bits)) {
        return DDERR_INVALIDPIXELFORMAT;
    }
    if (!target.Context()->MakeCurrent()) {
        return DDERR_SURFACELOST;
    }
    std::unique_ptr<DepthBuffer> created(new DepthBuffer(target.Context(), bits, memory));
    glGenRenderbuffers(1, &created->m_renderbuffer);
    if (HRESULT hr = created->Allocate(target.Width(), target.Height()); Failed(hr)) {
        return hr;
    }
    *depth = std::move(created);
    return DD_OK;
}

HRESULT DepthBuffer::Allocate(int width, int height) {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
    // GL 3.3 guarantees these three depth formats as render targets; a 32-bit integer
    // depth format is not guaranteed, so 32 bits are floating point.
    const GLenum format = m_bits == 16   ? GL_DEPTH_COMPONENT16
                          : m_bits == 24 ? GL_DEPTH_COMPONENT24
                                         : GL_DEPTH_COMPONENT32F;
    glBindRenderbuffer(GL_RENDERBUFFER, m_renderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, format, width, height);
    if (glGetError() != GL_NO_ERROR) {
        return DDERR_OUTOFMEMORY;
    }
    m_width = width;
    m_height = height;
    return DD_OK;
}

DepthBuffer::~DepthBuffer() {
    if (m_target) {
        m_target->DetachDepth();
    }
    if (m_context->MakeCurrent()) {
        glDeleteRenderbuffers(1, &m_renderbuffer);
    }
}

HRESULT DepthBuffer::Restore() {
    if (!m_context->MakeCurrent()) {
        return DDERR_SURFACELOST;
    }
    m_lost = false;
    return DD_OK;
}

} // namespace surface

#pragma once

#include <memory>

#include "platform/NonCopyable.h"
#include "platform/surface/GlContext.h"
#include "platform/surface/SurfaceMemory.h"
#include "platform/surface/SurfaceResult.h"

namespace surface {

class RenderTarget;

/// The z-buffer: a depth renderbuffer of 16, 24 or 32 bits, made for one render target
/// (same context and size) and attached to it with RenderTarget::AttachDepth.
class DepthBuffer : private platform::NonCopyable {
public:
    /// A depth buffer of `bits` bits in `memory`, sized like `target`.
    /// DDERR_INVALIDPIXELFORMAT for a width other than 16, 24 or 32 or one the target's
    /// device does not offer; DDERR_OUTOFMEMORY when GL cannot allocate it.
    static HRESULT Create(const RenderTarget& target, int bits, SurfaceMemory memory,
                          std::unique_ptr<DepthBuffer>* depth);

    /// Detaches itself from its target and frees the renderbuffer.
    ~DepthBuffer();

    int Bits() const { return m_bits; }
    SurfaceMemory Memory() const { return m_memory; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const std::shared_ptr<GlContext>& Context() const { return m_context; }
    unsigned Renderbuffer() const { return m_renderbuffer; }
    RenderTarget* AttachedTo() const { return m_target; }

    /// A lost depth buffer has lost its contents (the device was reset); Restore makes it
    /// usable again.
    bool IsLost() const { return m_lost; }
    void MarkLost() { m_lost = true; }
    HRESULT Restore();

private:
    DepthBuffer(std::shared_ptr<GlContext> context, int bits, SurfaceMemory memory)
        : m_context(std::move(context)), m_bits(bits), m_memory(memory) {}
    /// (Re)allocates storage of the given size in the current context.
    HRESULT Allocate(int width, int height);

    std::shared_ptr<GlContext> m_context;
    int m_bits;
    SurfaceMemory m_memory;
    int m_width = 0;
    int m_height = 0;
    unsigned m_renderbuffer = 0;
    RenderTarget* m_target = nullptr;
    bool m_lost = false;
    friend class RenderTarget;
};

} // namespace surface

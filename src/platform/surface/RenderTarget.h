#pragma once

#include <memory>

#include "platform/NonCopyable.h"
#include "platform/surface/GlContext.h"
#include "platform/surface/Image.h"
#include "platform/surface/SurfaceMemory.h"
#include "platform/surface/SurfaceResult.h"

namespace surface {

class DepthBuffer;
class Driver;
class Palette;

/// The back buffer: an offscreen colour target (an RGBA8 framebuffer object) of a given
/// size in pixels, with room for one depth buffer. Its context belongs to the device its
/// memory names: video memory is the hardware device's, system memory the software
/// rasteriser's.
class RenderTarget : private platform::NonCopyable {
public:
    /// A width x height target in `memory` of the driver. DDERR_INVALIDPARAMS for a size
    /// below 1; DDERR_OUTOFVIDEOMEMORY when video memory is asked for and there is no
    /// hardware device (or it cannot be opened); DDERR_OUTOFMEMORY likewise for system
    /// memory; DDERR_TOOBIGSIZE beyond the device's largest target.
    static HRESULT Create(const Driver& driver, int width, int height, SurfaceMemory memory,
                          std::shared_ptr<RenderTarget>* target);
    /// The same on an existing context (which then also serves this target).
    static HRESULT CreateOnContext(std::shared_ptr<GlContext> context, int width, int height,
                                   SurfaceMemory memory, std::shared_ptr<RenderTarget>* target);

    ~RenderTarget();

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    SurfaceMemory Memory() const { return m_memory; }
    const std::shared_ptr<GlContext>& Context() const { return m_context; }
    /// The GL framebuffer name (valid in Context()).
    unsigned Framebuffer() const { return m_framebuffer; }

    /// Gives the colour storage and the attached depth buffer a new size; the contents
    /// are lost. Same results as Create.
    HRESULT Resize(int width, int height);

    /// Attaches depth (borrowed; it detaches itself when destroyed).
    /// DDERR_SURFACEALREADYATTACHED when one is attached; DDERR_CANNOTATTACHSURFACE when
    /// its memory, size or context differ from this target's or the pair is not drawable.
    HRESULT AttachDepth(DepthBuffer* depth);
    /// Removes the attached depth buffer, if any.
    void DetachDepth();
    DepthBuffer* AttachedDepth() const { return m_depth; }

    /// The palette the picture is meant for (8-bit displays); drawing stays full colour,
    /// the primary surface reduces the picture when it is shown. Null removes it.
    void SetPalette(std::shared_ptr<Palette> palette) { m_palette = std::move(palette); }
    const std::shared_ptr<Palette>& GetPalette() const { return m_palette; }

    /// Makes the context current and binds the framebuffer for drawing and reading;
    /// false when the context cannot be made current.
    bool Bind() const;
    /// Reads the whole target into image (resized to the target), top row first.
    /// DDERR_SURFACELOST when the context cannot be made current.
    HRESULT ReadPixels(Image* image) const;

private:
    RenderTarget(std::shared_ptr<GlContext> context, SurfaceMemory memory)
        : m_context(std::move(context)), m_memory(memory) {}
    HRESULT Allocate(int width, int height);

    std::shared_ptr<GlContext> m_context;
    SurfaceMemory m_memory;
    int m_width = 0;
    int m_height = 0;
    unsigned m_framebuffer = 0;
    unsigned m_colour = 0;
    DepthBuffer* m_depth = nullptr;
    std::shared_ptr<Palette> m_palette;
    friend class DepthBuffer;
};

} // namespace surface

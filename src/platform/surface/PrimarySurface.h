#pragma once

#include <functional>
#include <memory>

#include "platform/surface/Clipper.h"
#include "platform/surface/Image.h"
#include "platform/surface/Palette.h"
#include "platform/surface/RenderTarget.h"
#include "platform/surface/SurfaceResult.h"

namespace surface {

/// What a window shows (the "primary surface"): the picture last copied from a back
/// buffer, kept in memory so the window (through its clipper) can paint it.
class PrimarySurface {
public:
    static HRESULT Create(std::unique_ptr<PrimarySurface>* surface) {
        return MakeInto(surface, [] { return new PrimarySurface; });
    }

    /// Binds the clipper (and so the window); null unbinds.
    HRESULT SetClipper(std::shared_ptr<Clipper> clipper) {
        m_clipper = std::move(clipper);
        return DD_OK;
    }
    const std::shared_ptr<Clipper>& GetClipper() const { return m_clipper; }
    /// The palette pictures are reduced to when shown; null for full colour.
    HRESULT SetPalette(std::shared_ptr<Palette> palette) {
        m_palette = std::move(palette);
        return DD_OK;
    }
    const std::shared_ptr<Palette>& GetPalette() const { return m_palette; }

    /// Something to draw on each new picture (text over the 3D image) before the window is
    /// told; an empty function removes it.
    void SetOverlay(std::function<void(Image&)> overlay) { m_overlay = std::move(overlay); }

    /// Copies the whole of source into the picture (resized to source), reduces it to the
    /// palette when there is one, draws the overlay and tells the clipper's window.
    /// DDERR_SURFACELOST when this surface is lost or the source cannot be read.
    HRESULT Blt(const RenderTarget& source);
    /// The same, for a surface without a window (the full-screen case).
    HRESULT Flip(const RenderTarget& source) { return Blt(source); }

    /// The picture; rows from the top.
    const Image& Picture() const { return m_picture; }
    Image& Picture() { return m_picture; }

    bool IsLost() const { return m_lost; }
    void MarkLost() { m_lost = true; }
    HRESULT Restore() {
        m_lost = false;
        return DD_OK;
    }

private:
    PrimarySurface() = default;

    std::shared_ptr<Clipper> m_clipper;
    std::shared_ptr<Palette> m_palette;
    Image m_picture;
    std::function<void(Image&)> m_overlay;
    bool m_lost = false;
};

} // namespace surface

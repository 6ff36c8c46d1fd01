#include "platform/surface/PrimarySurface.h"

namespace surface {

HRESULT PrimarySurface::Blt(const RenderTarget& source) {
    if (m_lost) {
        return DDERR_SURFACELOST;
    }
    if (HRESULT hr = source.ReadPixels(&m_picture); Failed(hr)) {
        return hr;
    }
    if (m_palette) {
        m_palette->Reduce(m_picture.Pixels().data(),
                          std::size_t(m_picture.Width()) * std::size_t(m_picture.Height()));
    }
    if (m_overlay) {
        m_overlay(m_picture);
    }
    if (m_clipper && m_clipper->GetHWnd()) {
        m_clipper->GetHWnd()->Presented(m_picture);
    }
    return DD_OK;
}

} // namespace surface

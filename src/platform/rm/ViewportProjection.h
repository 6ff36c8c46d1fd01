#pragma once

#include <cstdint>

#include "platform/rm/Types.h"

namespace rm {

// Projection types of a viewport.
using D3DRMPROJECTIONTYPE = std::uint32_t;
inline constexpr D3DRMPROJECTIONTYPE D3DRMPROJECT_PERSPECTIVE = 0;
inline constexpr D3DRMPROJECTIONTYPE D3DRMPROJECT_ORTHOGRAPHIC = 1;

/// A homogeneous point (D3DRMVECTOR4D).
struct Vector4 {
    float x = 0, y = 0, z = 0, w = 0;
};

/// The mapping between a camera's coordinates and the pixels of a viewport.
///
/// Camera coordinates: x right, y up, z along the view (left-handed). The viewport is
/// the pixel rectangle (x0, y0, width, height) of its device, y down. The field f is half
/// the larger side of the view window on the front plane; k = max(width, height) / (2 f)
/// pixels per unit of that window. A camera point (xc, yc, zc) lands on
///   perspective:  sx = x0 + width/2 + k front xc / zc,   sy = y0 + height/2 - k front yc / zc
///   orthographic: sx = x0 + width/2 + k xc,              sy = y0 + height/2 - k yc
/// Visible depths are front <= zc <= back.
class ViewportProjection {
public:
    ViewportProjection(int x0, int y0, int width, int height, float field, float front, float back,
                       D3DRMPROJECTIONTYPE type);

    /// Pixels per unit of the front-plane window (k above).
    float PixelsPerUnit() const { return m_k; }

    /// The homogeneous screen position of a camera point: (sx w, sy w, z w, w), where
    /// w = zc for perspective (so w <= 0 lies behind the camera) and 1 for orthographic,
    /// and z runs 0 at the front plane to 1 at the back plane.
    Vector4 CameraToScreen(const Vector& p) const;

    /// The GL clip-space matrix for camera points, row-vector convention (clip = p M),
    /// with the GL viewport set to this viewport's rectangle.
    Matrix4 ClipMatrix() const;

    /// The ray through the screen point (sx, sy) in camera coordinates: origin and a
    /// direction whose z is 1, so the ray parameter equals the camera depth zc.
    void ScreenRay(float sx, float sy, Vector* origin, Vector* direction) const;

private:
    float m_x0, m_y0, m_width, m_height;
    float m_front, m_back;
    D3DRMPROJECTIONTYPE m_type;
    float m_k;
};

} // namespace rm

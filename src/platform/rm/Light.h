#pragma once

#include "platform/rm/Object.h"

namespace rm {

/// A light attached to a frame. A parallel-point or directional light shines along the
/// frame's +z axis.
class Light : public Object {
public:
    Light(D3DRMLIGHTTYPE type, float r, float g, float b) : m_type(type), m_r(r), m_g(g), m_b(b) {}
    const char* ClassName() const override { return "Light"; }

    D3DRMLIGHTTYPE GetType() const { return m_type; }
    HRESULT SetType(D3DRMLIGHTTYPE type) {
        m_type = type;
        return D3DRM_OK;
    }
    HRESULT SetColorRGB(float r, float g, float b) {
        m_r = r;
        m_g = g;
        m_b = b;
        return D3DRM_OK;
    }
    float Red() const { return m_r; }
    float Green() const { return m_g; }
    float Blue() const { return m_b; }
    D3DCOLOR GetColor() const;

private:
    D3DRMLIGHTTYPE m_type;
    float m_r, m_g, m_b;
};

} // namespace rm

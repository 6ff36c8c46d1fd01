#pragma once

#include "platform/rm/Object.h"

namespace rm {

/// Surface parameters shared by faces: specular power and colour, emissive colour.
/// The diffuse colour lives on each face.
class Material : public Object {
public:
    explicit Material(float power = 0) : m_power(power) {}
    const char* ClassName() const override { return "Material"; }

    float GetPower() const { return m_power; }
    HRESULT SetPower(float power) {
        m_power = power;
        return D3DRM_OK;
    }
    HRESULT GetSpecular(float* r, float* g, float* b) const {
        *r = m_specular.x;
        *g = m_specular.y;
        *b = m_specular.z;
        return D3DRM_OK;
    }
    HRESULT SetSpecular(float r, float g, float b) {
        m_specular = {r, g, b};
        return D3DRM_OK;
    }
    HRESULT GetEmissive(float* r, float* g, float* b) const {
        *r = m_emissive.x;
        *g = m_emissive.y;
        *b = m_emissive.z;
        return D3DRM_OK;
    }
    HRESULT SetEmissive(float r, float g, float b) {
        m_emissive = {r, g, b};
        return D3DRM_OK;
    }

private:
    float m_power;
    Vector m_specular;
    Vector m_emissive;
};

} // namespace rm

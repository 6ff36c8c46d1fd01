#include "platform/rm/Face.h"

#include "platform/rm/Material.h"
#include "platform/rm/Math.h"
#include "platform/rm/Texture.h"

namespace rm {

HRESULT Face::GetVertex(std::uint32_t which, Vector* position, Vector* normal) const {
    if (which >= GetVertexCount()) {
        return D3DRMERR_BADVALUE;
    }
    const std::uint32_t v = m_builder->FaceVertexIndex(m_index, which);
    const std::uint32_t n = m_builder->FaceNormalIndex(m_index, which);
    if (position) {
        std::uint32_t one = 1;
        m_builder->GetVertices(v, &one, position);
    }
    if (normal) {
        std::uint32_t one = 1;
        *normal = {};
        if (n < m_builder->GetNormalCount()) {
            m_builder->GetNormals(n, &one, normal);
        }
    }
    return D3DRM_OK;
}

HRESULT Face::GetMaterial(Ref<Material>* material) const {
    *material = m_builder->FaceMaterial(m_index);
    return D3DRM_OK;
}

HRESULT Face::GetTexture(Ref<Texture>* texture) const {
    *texture = m_builder->FaceTexture(m_index);
    return D3DRM_OK;
}

HRESULT Face::GetTextureTopology(int* wrapU, int* wrapV) const {
    bool u = false, v = false;
    m_builder->GetFaceWrap(m_index, &u, &v);
    *wrapU = u ? 1 : 0;
    *wrapV = v ? 1 : 0;
    return D3DRM_OK;
}

HRESULT Face::GetNormal(Vector* normal) const {
    if (GetVertexCount() < 3) {
        *normal = {};
        return D3DRMERR_BADVALUE;
    }
    Vector p[3];
    for (std::uint32_t i = 0; i < 3; ++i) {
        GetVertex(i, &p[i], nullptr);
    }
    // Left-handed: a face whose corners run clockwise seen from the viewer faces it.
    Vector n = VectorCrossProduct(VectorSubtract(p[1], p[0]), VectorSubtract(p[2], p[0]));
    if (!VectorNormalize(&n)) {
        *normal = {};
        return D3DRM_OK;
    }
    *normal = n;
    return D3DRM_OK;
}

} // namespace rm

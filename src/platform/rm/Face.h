#pragma once

#include "platform/rm/MeshBuilder.h"
#include "platform/rm/Object.h"

namespace rm {

class Material;
class Texture;

/// One face of a mesh builder, read and written in place through the builder.
class Face : public Object {
public:
    Face(MeshBuilder* builder, std::uint32_t index) : m_builder(builder), m_index(index) {}
    const char* ClassName() const override { return "Face"; }

    std::uint32_t GetVertexCount() const { return m_builder->FaceCornerCount(m_index); }
    /// The vertex index at position `which` of the face.
    std::uint32_t GetVertexIndex(std::uint32_t which) const {
        return m_builder->FaceVertexIndex(m_index, which);
    }
    /// Position and normal of corner `which` (normal 0 when the face has none).
    HRESULT GetVertex(std::uint32_t which, Vector* position, Vector* normal) const;
    D3DCOLOR GetColor() const { return m_builder->FaceColor(m_index); }
    HRESULT SetColor(D3DCOLOR color) {
        m_builder->SetFaceColor(m_index, color);
        return D3DRM_OK;
    }
    HRESULT GetMaterial(Ref<Material>* material) const;
    HRESULT SetMaterial(Material* material) {
        m_builder->SetFaceMaterial(m_index, material);
        return D3DRM_OK;
    }
    HRESULT GetTexture(Ref<Texture>* texture) const;
    HRESULT SetTexture(Texture* texture) {
        m_builder->SetFaceTexture(m_index, texture);
        return D3DRM_OK;
    }
    HRESULT GetTextureTopology(int* wrapU, int* wrapV) const;
    HRESULT SetTextureTopology(int wrapU, int wrapV) {
        m_builder->SetFaceWrap(m_index, wrapU != 0, wrapV != 0);
        return D3DRM_OK;
    }
    /// The face normal from its first three corners (unit length; 0 when degenerate).
    HRESULT GetNormal(Vector* normal) const;

private:
    Ref<MeshBuilder> m_builder;
    std::uint32_t m_index;
};

} // namespace rm

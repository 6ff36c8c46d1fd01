#pragma once

#include <cstdint>
#include <vector>

#include "platform/Assert.h"
#include "platform/rm/Material.h"
#include "platform/rm/Texture.h"
#include "platform/rm/Visual.h"

namespace rm {

/// A drawing-ready mesh: groups of 36-byte vertices, each group with its own faces,
/// colour, material, texture and quality. Vertices are read and written by index, which
/// the skin uses to move welded vertices every tick.
class Mesh : public Visual {
public:
    Mesh();
    ~Mesh() override;
    const char* ClassName() const override { return "Mesh"; }

    using D3DRMGROUPINDEX = std::int32_t;

    /// Adds a group of vertexCount vertices (zeroed) and faceCount faces. With
    /// vertexPerFace > 0 faceData holds faceCount * vertexPerFace indices; with 0 it
    /// holds per face a count n and n indices. Fails with D3DRMERR_BADVALUE when an index
    /// is out of range or the data is short.
    HRESULT AddGroup(std::uint32_t vertexCount, std::uint32_t faceCount,
                     std::uint32_t vertexPerFace, const std::uint32_t* faceData,
                     D3DRMGROUPINDEX* group);
    std::uint32_t GetGroupCount() const { return std::uint32_t(m_groups.size()); }
    /// Counts of a group; with a non-null faceData (and *dataSize large enough) its faces
    /// in the count-prefixed form. *vertexPerFace is 0 when polygon sizes vary.
    HRESULT GetGroup(D3DRMGROUPINDEX group, std::uint32_t* vertexCount, std::uint32_t* faceCount,
                     std::uint32_t* vertexPerFace, std::uint32_t* dataSize,
                     std::uint32_t* faceData) const;
    HRESULT GetVertices(D3DRMGROUPINDEX group, std::uint32_t index, std::uint32_t count,
                        MeshVertex* out) const;
    HRESULT SetVertices(D3DRMGROUPINDEX group, std::uint32_t index, std::uint32_t count,
                        const MeshVertex* in);
    HRESULT SetGroupColor(D3DRMGROUPINDEX group, D3DCOLOR color);
    D3DCOLOR GetGroupColor(D3DRMGROUPINDEX group) const;
    HRESULT SetGroupMaterial(D3DRMGROUPINDEX group, Material* material);
    Material* GetGroupMaterial(D3DRMGROUPINDEX group) const;
    HRESULT SetGroupTexture(D3DRMGROUPINDEX group, Texture* texture);
    Texture* GetGroupTexture(D3DRMGROUPINDEX group) const;
    HRESULT SetGroupQuality(D3DRMGROUPINDEX group, D3DRMRENDERQUALITY quality);
    /// 0 when the group follows the device's quality.
    D3DRMRENDERQUALITY GetGroupQuality(D3DRMGROUPINDEX group) const;
    bool GroupHasQuality(D3DRMGROUPINDEX group) const;
    void SetGroupWrap(D3DRMGROUPINDEX group, bool wrapU, bool wrapV);
    void GetGroupWrap(D3DRMGROUPINDEX group, bool* wrapU, bool* wrapV) const;

    /// Direct read access for drawing and picking.
    const std::vector<MeshVertex>& GroupVertices(D3DRMGROUPINDEX group) const {
        PAVRIX_ASSERT(group >= 0 && std::size_t(group) < m_groups.size(),
                      "Mesh::GroupVertices: no such group");
        return m_groups[std::size_t(group)].vertices;
    }
    /// Count-prefixed face data of a group.
    const std::vector<std::uint32_t>& GroupFaces(D3DRMGROUPINDEX group) const {
        PAVRIX_ASSERT(group >= 0 && std::size_t(group) < m_groups.size(),
                      "Mesh::GroupFaces: no such group");
        return m_groups[std::size_t(group)].faces;
    }
    std::uint32_t GroupFaceCount(D3DRMGROUPINDEX group) const {
        PAVRIX_ASSERT(group >= 0 && std::size_t(group) < m_groups.size(),
                      "Mesh::GroupFaceCount: no such group");
        return m_groups[std::size_t(group)].faceCount;
    }

    HRESULT Scale(float sx, float sy, float sz);
    HRESULT GetBox(Box* box) const override;
    HRESULT Enable(std::uint32_t flags);
    std::uint32_t GetEnable() const { return m_enable; }
    bool IsPickable() const override { return (m_enable & D3DRMMESHBUILDER_PICKENABLE) != 0; }

private:
    struct Group {
        std::vector<MeshVertex> vertices;
        std::vector<std::uint32_t> faces; // count-prefixed
        std::uint32_t faceCount = 0;
        std::uint32_t vertexPerFace = 0;
        D3DCOLOR color = 0xFFFFFFFF;
        Ref<Material> material;
        Ref<Texture> texture;
        D3DRMRENDERQUALITY quality = 0;
        bool hasQuality = false;
        bool wrapU = false;
        bool wrapV = false;
    };
    bool ValidGroup(D3DRMGROUPINDEX group) const {
        return group >= 0 && std::size_t(group) < m_groups.size();
    }
    /// Changes group `group` through edit(Group&) and marks the mesh changed;
    /// D3DRMERR_BADVALUE when there is no such group.
    template <typename Edit>
    HRESULT EditGroup(D3DRMGROUPINDEX group, Edit edit) {
        if (!ValidGroup(group)) {
            return D3DRMERR_BADVALUE;
        }
        edit(m_groups[std::size_t(group)]);
        Touch();
        return D3DRM_OK;
    }

    std::vector<Group> m_groups;
    std::uint32_t m_enable = D3DRMMESHBUILDER_RENDERENABLE | D3DRMMESHBUILDER_PICKENABLE;
};

} // namespace rm

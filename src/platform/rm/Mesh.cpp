#include "platform/rm/Mesh.h"

#include <algorithm>

namespace rm {

Mesh::Mesh() = default;
Mesh::~Mesh() = default;

HRESULT Mesh::AddGroup(std::uint32_t vertexCount, std::uint32_t faceCount,
                       std::uint32_t vertexPerFace, const std::uint32_t* faceData,
                       D3DRMGROUPINDEX* group) {
    if (faceCount && !faceData) {
        return D3DRMERR_BADVALUE;
    }
    Group g;
    g.faceCount = faceCount;
    std::size_t w = 0;
    std::uint32_t commonSize = 0;
    bool uniform = true;
    for (std::uint32_t f = 0; f < faceCount; ++f) {
        const std::uint32_t n = vertexPerFace ? vertexPerFace : faceData[w++];
        if (f == 0) {
            commonSize = n;
        } else if (n != commonSize) {
            uniform = false;
        }
        g.faces.push_back(n);
        for (std::uint32_t c = 0; c < n; ++c) {
            const std::uint32_t index = faceData[w++];
            if (index >= vertexCount) {
                return D3DRMERR_BADVALUE;
            }
            g.faces.push_back(index);
        }
    }
    g.vertexPerFace = uniform ? commonSize : 0;
    g.vertices.resize(vertexCount);
    m_groups.push_back(std::move(g));
    if (group) {
        *group = D3DRMGROUPINDEX(m_groups.size() - 1);
    }
    Touch();
    return D3DRM_OK;
}

HRESULT Mesh::GetGroup(D3DRMGROUPINDEX group, std::uint32_t* vertexCount, std::uint32_t* faceCount,
                       std::uint32_t* vertexPerFace, std::uint32_t* dataSize,
                       std::uint32_t* faceData) const {
    if (!ValidGroup(group)) {
        return D3DRMERR_BADVALUE;
    }
    const Group& g = m_groups[std::size_t(group)];
    if (vertexCount) {
        *vertexCount = std::uint32_t(g.vertices.size());
    }
    if (faceCount) {
        *faceCount = g.faceCount;
    }
    if (vertexPerFace) {
        *vertexPerFace = g.vertexPerFace;
    }
    if (dataSize) {
        if (faceData) {
            if (*dataSize < g.faces.size()) {
                return D3DRMERR_BADVALUE;
            }
            std::copy(g.faces.begin(), g.faces.end(), faceData);
        }
        *dataSize = std::uint32_t(g.faces.size());
    }
    return D3DRM_OK;
}

HRESULT Mesh::GetVertices(D3DRMGROUPINDEX group, std::uint32_t index, std::uint32_t count,
                          MeshVertex* out) const {
    if (!ValidGroup(group) || !out) {
        return D3DRMERR_BADVALUE;
    }
    const auto& v = m_groups[std::size_t(group)].vertices;
    if (std::size_t(index) + count > v.size()) {
        return D3DRMERR_BADVALUE;
    }
    std::copy_n(v.begin() + index, count, out);
    return D3DRM_OK;
}

HRESULT Mesh::SetVertices(D3DRMGROUPINDEX group, std::uint32_t index, std::uint32_t count,
                          const MeshVertex* in) {
    if (!ValidGroup(group) || (count && !in)) {
        return D3DRMERR_BADVALUE;
    }
    auto& v = m_groups[std::size_t(group)].vertices;
    if (std::size_t(index) + count > v.size()) {
        return D3DRMERR_BADVALUE;
    }
    std::copy_n(in, count, v.begin() + index);
    Touch();
    return D3DRM_OK;
}

HRESULT Mesh::SetGroupColor(D3DRMGROUPINDEX group, D3DCOLOR color) {
    return EditGroup(group, [&](Group& g) { g.color = color; });
}

D3DCOLOR Mesh::GetGroupColor(D3DRMGROUPINDEX group) const {
    return ValidGroup(group) ? m_groups[std::size_t(group)].color : 0;
}

HRESULT Mesh::SetGroupMaterial(D3DRMGROUPINDEX group, Material* material) {
    return EditGroup(group, [&](Group& g) { g.material = material; });
}

Material* Mesh::GetGroupMaterial(D3DRMGROUPINDEX group) const {
    return ValidGroup(group) ? m_groups[std::size_t(group)].material.Get() : nullptr;
}

HRESULT Mesh::SetGroupTexture(D3DRMGROUPINDEX group, Texture* texture) {
    return EditGroup(group, [&](Group& g) { g.texture = texture; });
}

Texture* Mesh::GetGroupTexture(D3DRMGROUPINDEX group) const {
    return ValidGroup(group) ? m_groups[std::size_t(group)].texture.Get() : nullptr;
}

HRESULT Mesh::SetGroupQuality(D3DRMGROUPINDEX group, D3DRMRENDERQUALITY quality) {
    return EditGroup(group, [&](Group& g) {
        g.quality = quality;
        g.hasQuality = true;
    });
}

D3DRMRENDERQUALITY Mesh::GetGroupQuality(D3DRMGROUPINDEX group) const {
    return ValidGroup(group) ? m_groups[std::size_t(group)].quality : 0;
}

bool Mesh::GroupHasQuality(D3DRMGROUPINDEX group) const {
    return ValidGroup(group) && m_groups[std::size_t(group)].hasQuality;
}

void Mesh::SetGroupWrap(D3DRMGROUPINDEX group, bool wrapU, bool wrapV) {
    EditGroup(group, [&](Group& g) {
        g.wrapU = wrapU;
        g.wrapV = wrapV;
    });
}

void Mesh::GetGroupWrap(D3DRMGROUPINDEX group, bool* wrapU, bool* wrapV) const {
    *wrapU = ValidGroup(group) && m_groups[std::size_t(group)].wrapU;
    *wrapV = ValidGroup(group) && m_groups[std::size_t(group)].wrapV;
}

HRESULT Mesh::Scale(float sx, float sy, float sz) {
    for (auto& g : m_groups) {
        for (auto& v : g.vertices) {
            v.position = {v.position.x * sx, v.position.y * sy, v.position.z * sz};
        }
    }
    Touch();
    return D3DRM_OK;
}

HRESULT Mesh::GetBox(Box* box) const {
    if (!box) {
        return D3DRMERR_BADVALUE;
    }
    bool any = false;
    Box b;
    for (const auto& g : m_groups) {
        for (const auto& v : g.vertices) {
            const Vector& p = v.position;
            if (!any) {
                b = {p, p};
                any = true;
                continue;
            }
            b.min = {std::min(b.min.x, p.x), std::min(b.min.y, p.y), std::min(b.min.z, p.z)};
            b.max = {std::max(b.max.x, p.x), std::max(b.max.y, p.y), std::max(b.max.z, p.z)};
        }
    }
    *box = b;
    return any ? D3DRM_OK : D3DRMERR_BADVALUE;
}

HRESULT Mesh::Enable(std::uint32_t flags) {
    m_enable = flags;
    return D3DRM_OK;
}

} // namespace rm

#include "platform/rm/MeshBuilder.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/rm/Face.h"
#include "platform/rm/Material.h"
#include "platform/rm/Math.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/Texture.h"

namespace rm {

namespace {

/// A vertex colour tints its face's colour: channel by channel, the product of the two.
D3DCOLOR Modulate(D3DCOLOR face, D3DCOLOR vertex) {
    D3DCOLOR out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const unsigned a = (face >> shift) & 0xFFu;
        const unsigned b = (vertex >> shift) & 0xFFu;
        out |= D3DCOLOR((a * b + 127) / 255) << shift;
    }
    return out;
}
constexpr std::uint32_t kNoNormal = std::numeric_limits<std::uint32_t>::max();

// Copies list[start, start + *count) (clipped to the list) to out when given and writes back
// how many that is.
HRESULT CopyRange(const std::vector<Vector>& list, std::uint32_t start, std::uint32_t* count,
                  Vector* out) {
    if (!count) {
        return D3DRMERR_BADVALUE;
    }
    const auto total = std::uint32_t(list.size());
    const std::uint32_t first = std::min(start, total);
    const std::uint32_t n = std::min(*count, total - first);
    if (out) {
        std::copy_n(list.begin() + first, n, out);
    }
    *count = n;
    return D3DRM_OK;
}
} // namespace

MeshBuilder::MeshBuilder() = default;
MeshBuilder::~MeshBuilder() = default;

HRESULT MeshBuilder::GetVertices(std::uint32_t start, std::uint32_t* count, Vector* out) const {
    return CopyRange(m_positions, start, count, out);
}

std::uint32_t MeshBuilder::AddVertex(float x, float y, float z) {
    m_positions.push_back({x, y, z});
    m_texCoords.push_back(0);
    m_texCoords.push_back(0);
    if (!m_vertexColors.empty()) {
        m_vertexColors.push_back(0xFFFFFFFF);
    }
    Touch();
    return GetVertexCount() - 1;
}

HRESULT MeshBuilder::SetVertex(std::uint32_t index, float x, float y, float z) {
    if (index >= GetVertexCount()) {
        return D3DRMERR_BADVALUE;
    }
    m_positions[index] = {x, y, z};
    Touch();
    return D3DRM_OK;
}

HRESULT MeshBuilder::GetTextureCoordinates(std::uint32_t index, float* u, float* v) const {
    if (index >= GetVertexCount()) {
        return D3DRMERR_BADVALUE;
    }
    *u = m_texCoords[2 * index];
    *v = m_texCoords[2 * index + 1];
    return D3DRM_OK;
}

HRESULT MeshBuilder::SetTextureCoordinates(std::uint32_t index, float u, float v) {
    if (index >= GetVertexCount()) {
        return D3DRMERR_BADVALUE;
    }
    m_texCoords[2 * index] = u;
    m_texCoords[2 * index + 1] = v;
    Touch();
    return D3DRM_OK;
}

D3DCOLOR MeshBuilder::GetVertexColor(std::uint32_t index) const {
    return index < m_vertexColors.size() ? m_vertexColors[index] : 0xFFFFFFFF;
}

HRESULT MeshBuilder::SetVertexColor(std::uint32_t index, D3DCOLOR color) {
    if (index >= GetVertexCount()) {
        return D3DRMERR_BADVALUE;
    }
    if (m_vertexColors.empty()) {
        m_vertexColors.assign(GetVertexCount(), 0xFFFFFFFF);
    }
    m_vertexColors[index] = color;
    Touch();
    return D3DRM_OK;
}

HRESULT MeshBuilder::GetNormals(std::uint32_t start, std::uint32_t* count, Vector* out) const {
    return CopyRange(m_normals, start, count, out);
}

std::uint32_t MeshBuilder::AddNormal(float x, float y, float z) {
    m_normals.push_back({x, y, z});
    Touch();
    return GetNormalCount() - 1;
}

HRESULT MeshBuilder::GetFace(std::uint32_t index, Ref<Face>* face) {
    if (!face || index >= GetFaceCount()) {
        return D3DRMERR_BADVALUE;
    }
    *face = MakeRef<Face>(this, index);
    return D3DRM_OK;
}

std::uint32_t MeshBuilder::AddFace(std::uint32_t count, const std::uint32_t* vertexIndices,
                                   const std::uint32_t* normalIndices) {
    m_faceStart.push_back(std::uint32_t(m_cornerVertex.size()));
    m_cornerVertex.insert(m_cornerVertex.end(), vertexIndices, vertexIndices + count);
    if (normalIndices) {
        m_cornerNormal.insert(m_cornerNormal.end(), normalIndices, normalIndices + count);
    } else {
        m_cornerNormal.insert(m_cornerNormal.end(), count, kNoNormal);
    }
    m_faceLook.push_back(UseLook(FaceLook{}));
    Touch();
    return GetFaceCount() - 1;
}

HRESULT MeshBuilder::AddFaces(std::uint32_t vertexCount, const Vector* vertices,
                              std::uint32_t normalCount, const Vector* normals,
                              const std::uint32_t* faceData) {
    if ((vertexCount && !vertices) || (normalCount && !normals)) {
        return D3DRMERR_BADVALUE;
    }
    // Check the whole face list before changing anything.
    const bool pairs = normalCount > 0;
    std::size_t w = 0;
    if (faceData) {
        while (faceData[w] != 0) {
            const std::uint32_t n = faceData[w++];
            for (std::uint32_t c = 0; c < n; ++c) {
                if (faceData[w] >= vertexCount) {
                    return D3DRMERR_BADVALUE;
                }
                ++w;
                if (pairs) {
                    if (faceData[w] >= normalCount) {
                        return D3DRMERR_BADVALUE;
                    }
                    ++w;
                }
            }
        }
    }
    const std::uint32_t vertexBase = GetVertexCount();
    const std::uint32_t normalBase = GetNormalCount();
    for (std::uint32_t i = 0; i < vertexCount; ++i) {
        AddVertex(vertices[i].x, vertices[i].y, vertices[i].z);
    }
    for (std::uint32_t i = 0; i < normalCount; ++i) {
        AddNormal(normals[i].x, normals[i].y, normals[i].z);
    }
    if (!faceData) {
        return D3DRM_OK;
    }
    std::vector<std::uint32_t> v, n;
    w = 0;
    while (faceData[w] != 0) {
        const std::uint32_t count = faceData[w++];
        v.clear();
        n.clear();
        for (std::uint32_t c = 0; c < count; ++c) {
            v.push_back(vertexBase + faceData[w++]);
            if (pairs) {
                n.push_back(normalBase + faceData[w++]);
            }
        }
        AddFace(count, v.data(), pairs ? n.data() : nullptr);
    }
    return D3DRM_OK;
}

HRESULT MeshBuilder::GetGeometry(std::uint32_t* vertexCount, Vector* vertices,
                                 std::uint32_t* normalCount, Vector* normals,
                                 std::uint32_t* faceDataSize, std::uint32_t* faceData) const {
    if (vertexCount) {
        if (vertices) {
            std::copy_n(m_positions.begin(),
                        std::min<std::size_t>(*vertexCount, m_positions.size()), vertices);
        }
        *vertexCount = GetVertexCount();
    }
    if (normalCount) {
        if (normals) {
            std::copy_n(m_normals.begin(), std::min<std::size_t>(*normalCount, m_normals.size()),
                        normals);
        }
        *normalCount = GetNormalCount();
    }
    if (faceDataSize) {
        const std::size_t needed = m_faceStart.size() + 2 * m_cornerVertex.size() + 1;
        if (faceData) {
            if (*faceDataSize < needed) {
                return D3DRMERR_BADVALUE;
            }
            std::size_t w = 0;
            for (std::uint32_t f = 0; f < GetFaceCount(); ++f) {
                const std::uint32_t n = FaceCornerCount(f);
                faceData[w++] = n;
                for (std::uint32_t c = 0; c < n; ++c) {
                    faceData[w++] = FaceVertexIndex(f, c);
                    const std::uint32_t normal = FaceNormalIndex(f, c);
                    faceData[w++] = normal == kNoNormal ? 0 : normal;
                }
            }
            faceData[w] = 0;
        }
        *faceDataSize = std::uint32_t(needed);
    }
    return D3DRM_OK;
}

std::uint32_t MeshBuilder::FaceCornerCount(std::uint32_t face) const {
    PAVRIX_ASSERT(face < m_faceStart.size(), "MeshBuilder::FaceCornerCount: no such face");
    const std::uint32_t end = face + 1 < m_faceStart.size() ? m_faceStart[face + 1]
                                                            : std::uint32_t(m_cornerVertex.size());
    return end - m_faceStart[face];
}

std::uint32_t MeshBuilder::FaceVertexIndex(std::uint32_t face, std::uint32_t corner) const {
    PAVRIX_ASSERT(corner < FaceCornerCount(face), "MeshBuilder::FaceVertexIndex: no such corner");
    return m_cornerVertex[m_faceStart[face] + corner];
}

std::uint32_t MeshBuilder::FaceNormalIndex(std::uint32_t face, std::uint32_t corner) const {
    PAVRIX_ASSERT(corner < FaceCornerCount(face), "MeshBuilder::FaceNormalIndex: no such corner");
    return m_cornerNormal[m_faceStart[face] + corner];
}

std::uint32_t MeshBuilder::UseLook(const FaceLook& look) {
    // Builders have a handful of looks; past a few hundred (faces coloured one by one) an
    // equal look is not looked for, so a change stays cheap and the looks stay at most one
    // per face.
    constexpr std::size_t kSearched = 256;
    if (m_looks.size() <= kSearched) {
        for (std::size_t i = m_looks.size(); i-- > 0;) {
            if (m_lookUses[i] > 0 && m_looks[i] == look) {
                ++m_lookUses[i];
                return std::uint32_t(i);
            }
        }
    }
    std::uint32_t index;
    if (!m_freeLooks.empty()) {
        index = m_freeLooks.back();
        m_freeLooks.pop_back();
        m_looks[index] = look;
    } else {
        index = std::uint32_t(m_looks.size());
        m_looks.push_back(look);
        m_lookUses.push_back(0);
    }
    m_lookUses[index] = 1;
    return index;
}

void MeshBuilder::DropLook(std::uint32_t index) {
    if (--m_lookUses[index] == 0) {
        m_looks[index] = FaceLook{};
        m_freeLooks.push_back(index);
    }
}

void MeshBuilder::SetLook(std::uint32_t face, const FaceLook& look) {
    const std::uint32_t old = m_faceLook[face];
    if (m_looks[old] == look) {
        return;
    }
    const std::uint32_t index = UseLook(look);
    m_faceLook[face] = index;
    DropLook(old);
}

void MeshBuilder::SetFaceColor(std::uint32_t face, D3DCOLOR color) {
    FaceLook look = LookOf(face, "MeshBuilder::SetFaceColor: no such face");
    look.color = color;
    SetLook(face, look);
    Touch();
}

void MeshBuilder::SetFaceMaterial(std::uint32_t face, Material* material) {
    FaceLook look = LookOf(face, "MeshBuilder::SetFaceMaterial: no such face");
    look.material = material;
    SetLook(face, look);
    Touch();
}

void MeshBuilder::SetFaceTexture(std::uint32_t face, Texture* texture) {
    FaceLook look = LookOf(face, "MeshBuilder::SetFaceTexture: no such face");
    look.texture = texture;
    SetLook(face, look);
    Touch();
}

void MeshBuilder::GetFaceWrap(std::uint32_t face, bool* wrapU, bool* wrapV) const {
    const std::uint8_t wrap = LookOf(face, "MeshBuilder::GetFaceWrap: no such face").wrap;
    *wrapU = (wrap & 1) != 0;
    *wrapV = (wrap & 2) != 0;
}

void MeshBuilder::SetFaceWrap(std::uint32_t face, bool wrapU, bool wrapV) {
    FaceLook look = LookOf(face, "MeshBuilder::SetFaceWrap: no such face");
    look.wrap = std::uint8_t((wrapU ? 1 : 0) | (wrapV ? 2 : 0));
    SetLook(face, look);
    Touch();
}

void MeshBuilder::SetFaceLooks(std::vector<FaceLook> looks, std::vector<std::uint32_t> faceLooks) {
    PAVRIX_ASSERT(faceLooks.size() == GetFaceCount(), "MeshBuilder::SetFaceLooks: one per face");
    m_looks = std::move(looks);
    m_faceLook = std::move(faceLooks);
    m_lookUses.assign(m_looks.size(), 0);
    m_freeLooks.clear();
    // Counted a run of equal indices at a time: neighbouring faces mostly share a look.
    std::size_t f = 0;
    while (f < m_faceLook.size()) {
        const std::uint32_t look = m_faceLook[f];
        PAVRIX_ASSERT(look < m_looks.size(), "MeshBuilder::SetFaceLooks: no such look");
        const std::size_t runStart = f;
        while (f < m_faceLook.size() && m_faceLook[f] == look) {
            ++f;
        }
        m_lookUses[look] += std::uint32_t(f - runStart);
    }
    for (std::uint32_t i = 0; i < m_looks.size(); ++i) {
        if (m_lookUses[i] == 0) {
            m_looks[i] = FaceLook{};
            m_freeLooks.push_back(i);
        }
    }
    Touch();
}

HRESULT MeshBuilder::SetColor(D3DCOLOR color) {
    // Every look is a look some face has or a free one, so changing the looks changes every
    // face (looks may become equal: faces are grouped by what their looks hold).
    for (FaceLook& look : m_looks) {
        look.color = color;
    }
    Touch();
    return D3DRM_OK;
}

HRESULT MeshBuilder::SetColorRGB(float r, float g, float b) {
    return SetColor(CreateColorRGB(r, g, b));
}

HRESULT MeshBuilder::SetMaterial(Material* material) {
    return ChangeUsedLooks([material](FaceLook& look) { look.material = material; });
}

HRESULT MeshBuilder::SetTexture(Texture* texture) {
    return ChangeUsedLooks([texture](FaceLook& look) { look.texture = texture; });
}

HRESULT MeshBuilder::SetQuality(D3DRMRENDERQUALITY quality) {
    m_quality = quality;
    m_hasQuality = true;
    Touch();
    return D3DRM_OK;
}

HRESULT MeshBuilder::Enable(std::uint32_t flags) {
    m_enable = flags;
    return D3DRM_OK;
}

HRESULT MeshBuilder::Scale(float sx, float sy, float sz) {
    for (auto& p : m_positions) {
        p = {p.x * sx, p.y * sy, p.z * sz};
    }
    Touch();
    return D3DRM_OK;
}

HRESULT MeshBuilder::GetBox(Box* box) const {
    if (!box) {
        return D3DRMERR_BADVALUE;
    }
    if (m_positions.empty()) {
        *box = Box{};
        return D3DRMERR_BADVALUE;
    }
    Box b{m_positions[0], m_positions[0]};
    for (const auto& p : m_positions) {
        b.min = {std::min(b.min.x, p.x), std::min(b.min.y, p.y), std::min(b.min.z, p.z)};
        b.max = {std::max(b.max.x, p.x), std::max(b.max.y, p.y), std::max(b.max.z, p.z)};
    }
    *box = b;
    return D3DRM_OK;
}

HRESULT MeshBuilder::AddMeshBuilder(const MeshBuilder* other) {
    if (!other || other == this) {
        return D3DRMERR_BADOBJECT;
    }
    const std::uint32_t vertexBase = GetVertexCount();
    const std::uint32_t normalBase = GetNormalCount();
    if (vertexBase == 0) {
        m_carried = other->m_carried;
    } else {
        m_carried.clear();
    }
    if (other->HasVertexColors() && m_vertexColors.empty()) {
        m_vertexColors.assign(vertexBase, 0xFFFFFFFF);
    }
    for (std::uint32_t i = 0; i < other->GetVertexCount(); ++i) {
        const Vector& p = other->m_positions[i];
        const std::uint32_t v = AddVertex(p.x, p.y, p.z);
        m_texCoords[2 * v] = other->m_texCoords[2 * i];
        m_texCoords[2 * v + 1] = other->m_texCoords[2 * i + 1];
        if (!m_vertexColors.empty()) {
            m_vertexColors[v] = other->GetVertexColor(i);
        }
    }
    m_normals.insert(m_normals.end(), other->m_normals.begin(), other->m_normals.end());
    std::vector<std::uint32_t> v, n;
    for (std::uint32_t f = 0; f < other->GetFaceCount(); ++f) {
        const std::uint32_t count = other->FaceCornerCount(f);
        v.clear();
        n.clear();
        bool hasNormals = true;
        for (std::uint32_t c = 0; c < count; ++c) {
            v.push_back(vertexBase + other->FaceVertexIndex(f, c));
            const std::uint32_t normal = other->FaceNormalIndex(f, c);
            hasNormals = hasNormals && normal != kNoNormal;
            n.push_back(normal == kNoNormal ? kNoNormal : normalBase + normal);
        }
        const std::uint32_t face = AddFace(count, v.data(), hasNormals ? n.data() : nullptr);
        SetLook(face, other->m_looks[other->m_faceLook[f]]);
    }
    for (const SkinBone& bone : other->m_skin.bones) {
        SkinBone& added = m_skin.bones.emplace_back(bone);
        for (std::uint32_t& vertex : added.vertices) {
            vertex += vertexBase;
        }
    }
    m_skin.maxWeightsPerVertex =
        std::max(m_skin.maxWeightsPerVertex, other->m_skin.maxWeightsPerVertex);
    m_skin.maxWeightsPerFace = std::max(m_skin.maxWeightsPerFace, other->m_skin.maxWeightsPerFace);
    Touch();
    return D3DRM_OK;
}

HRESULT MeshBuilder::AddMesh(const Mesh* mesh) {
    if (!mesh) {
        return D3DRMERR_BADOBJECT;
    }
    m_carried.clear(); // a mesh keeps none, and these vertices would not be theirs
    std::vector<std::uint32_t> v, n;
    for (std::uint32_t g = 0; g < mesh->GetGroupCount(); ++g) {
        const auto gi = Mesh::D3DRMGROUPINDEX(g);
        const auto& verts = mesh->GroupVertices(gi);
        const std::uint32_t vertexBase = GetVertexCount();
        const std::uint32_t normalBase = GetNormalCount();
        for (const MeshVertex& mv : verts) {
            const std::uint32_t i = AddVertex(mv.position.x, mv.position.y, mv.position.z);
            m_texCoords[2 * i] = mv.tu;
            m_texCoords[2 * i + 1] = mv.tv;
            AddNormal(mv.normal.x, mv.normal.y, mv.normal.z);
        }
        const auto& faces = mesh->GroupFaces(gi);
        bool wrapU = false, wrapV = false;
        mesh->GetGroupWrap(gi, &wrapU, &wrapV);
        FaceLook look;
        look.color = mesh->GetGroupColor(gi);
        look.material = mesh->GetGroupMaterial(gi);
        look.texture = mesh->GetGroupTexture(gi);
        look.wrap = std::uint8_t((wrapU ? 1 : 0) | (wrapV ? 2 : 0));
        std::size_t w = 0;
        while (w < faces.size()) {
            const std::uint32_t count = faces[w++];
            v.clear();
            n.clear();
            for (std::uint32_t c = 0; c < count; ++c) {
                v.push_back(vertexBase + faces[w]);
                n.push_back(normalBase + faces[w]);
                ++w;
            }
            SetLook(AddFace(count, v.data(), n.data()), look);
        }
    }
    Touch();
    return D3DRM_OK;
}

namespace {
struct GroupKey {
    D3DCOLOR color;
    const Material* material;
    const Texture* texture;
    std::uint8_t wrap;
    bool operator==(const GroupKey&) const = default;
};

/// A mesh vertex made for a builder vertex with one normal; slots of one builder vertex are
/// chained through `next`.
struct CornerSlot {
    std::uint32_t normal;
    std::uint32_t meshVertex;
    std::uint32_t next;
};
} // namespace

HRESULT MeshBuilder::CreateMesh(Ref<Mesh>* out, std::vector<std::uint32_t>* sourceVertices) const {
    if (!out) {
        return D3DRMERR_BADVALUE;
    }
    if (sourceVertices) {
        sourceVertices->clear();
    }
    auto mesh = MakeRef<Mesh>();
    // Group faces by their look, in order of first appearance; equal looks are one group,
    // found once per look rather than once per face.
    constexpr std::uint32_t kNoGroup = std::numeric_limits<std::uint32_t>::max();
    std::vector<GroupKey> keys;
    std::vector<std::vector<std::uint32_t>> members;
    std::vector<std::uint32_t> lookGroup(m_looks.size(), kNoGroup);
    for (std::uint32_t f = 0; f < GetFaceCount(); ++f) {
        std::uint32_t& group = lookGroup[m_faceLook[f]];
        if (group == kNoGroup) {
            const FaceLook& look = m_looks[m_faceLook[f]];
            const GroupKey key{look.color, look.material.Get(), look.texture.Get(), look.wrap};
            const auto it = std::find(keys.begin(), keys.end(), key);
            group = std::uint32_t(it - keys.begin());
            if (it == keys.end()) {
                keys.push_back(key);
                members.emplace_back();
            }
        }
        members[group].push_back(f);
    }
    // Mesh vertices by (vertex, normal), looked up through a table per builder vertex rather
    // than a hash map: nearly every vertex has one normal, so a lookup is one comparison.
    constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> firstSlot(m_positions.size(), kNone);
    std::vector<CornerSlot> slots;
    std::vector<std::uint32_t> touched;
    std::vector<MeshVertex> verts;
    std::vector<std::uint32_t> faces;
    for (std::size_t g = 0; g < keys.size(); ++g) {
        for (const std::uint32_t v : touched) {
            firstSlot[v] = kNone;
        }
        touched.clear();
        slots.clear();
        verts.clear();
        faces.clear();
        for (const std::uint32_t f : members[g]) {
            const std::uint32_t n = FaceCornerCount(f);
            faces.push_back(n);
            for (std::uint32_t c = 0; c < n; ++c) {
                const std::uint32_t vertex = FaceVertexIndex(f, c);
                const std::uint32_t normal = FaceNormalIndex(f, c);
                if (vertex >= m_positions.size()) {
                    return D3DRMERR_BADVALUE;
                }
                std::uint32_t s = firstSlot[vertex];
                while (s != kNone && slots[s].normal != normal) {
                    s = slots[s].next;
                }
                if (s == kNone) {
                    MeshVertex mv;
                    mv.position = m_positions[vertex];
                    if (normal != kNoNormal && normal < m_normals.size()) {
                        mv.normal = m_normals[normal];
                    }
                    mv.tu = m_texCoords[2 * vertex];
                    mv.tv = m_texCoords[2 * vertex + 1];
                    mv.color = m_vertexColors.empty()
                                   ? keys[g].color
                                   : Modulate(keys[g].color, m_vertexColors[vertex]);
                    if (firstSlot[vertex] == kNone) {
                        touched.push_back(vertex);
                    }
                    s = std::uint32_t(slots.size());
                    slots.push_back({normal, std::uint32_t(verts.size()), firstSlot[vertex]});
                    firstSlot[vertex] = s;
                    verts.push_back(mv);
                    if (sourceVertices) {
                        sourceVertices->push_back(vertex);
                    }
                }
                faces.push_back(slots[s].meshVertex);
            }
        }
        Mesh::D3DRMGROUPINDEX gi = -1;
        const HRESULT hr = mesh->AddGroup(std::uint32_t(verts.size()),
                                          std::uint32_t(members[g].size()), 0, faces.data(), &gi);
        if (Failed(hr)) {
            return hr;
        }
        mesh->SetVertices(gi, 0, std::uint32_t(verts.size()), verts.data());
        mesh->SetGroupColor(gi, keys[g].color);
        mesh->SetGroupMaterial(gi, const_cast<Material*>(keys[g].material));
        mesh->SetGroupTexture(gi, const_cast<Texture*>(keys[g].texture));
        mesh->SetGroupWrap(gi, (keys[g].wrap & 1) != 0, (keys[g].wrap & 2) != 0);
        if (m_hasQuality) {
            mesh->SetGroupQuality(gi, m_quality);
        }
    }
    mesh->Enable(m_enable);
    *out = mesh;
    return D3DRM_OK;
}

void MeshBuilder::TakeGeometry(Geometry&& geometry) {
    m_positions = std::move(geometry.positions);
    m_texCoords = std::move(geometry.texCoords);
    m_vertexColors.clear();
    m_normals = std::move(geometry.normals);
    m_faceStart = std::move(geometry.faceStart);
    m_cornerVertex = std::move(geometry.cornerVertex);
    m_cornerNormal = std::move(geometry.cornerNormal);
    const auto faces = std::uint32_t(m_faceStart.size());
    m_looks.assign(faces ? 1 : 0, FaceLook{});
    m_lookUses.assign(faces ? 1 : 0, faces);
    m_freeLooks.clear();
    m_faceLook.assign(faces, 0);
    Touch();
}

void MeshBuilder::Empty() {
    m_positions.clear();
    m_texCoords.clear();
    m_vertexColors.clear();
    m_normals.clear();
    m_faceStart.clear();
    m_cornerVertex.clear();
    m_cornerNormal.clear();
    m_looks.clear();
    m_lookUses.clear();
    m_freeLooks.clear();
    m_faceLook.clear();
    m_skin = {};
    m_carried.clear();
    Touch();
}

void MeshBuilder::Reserve(std::uint32_t vertices, std::uint32_t faces, std::uint32_t corners) {
    m_positions.reserve(vertices);
    m_texCoords.reserve(2 * std::size_t(vertices));
    m_faceStart.reserve(faces);
    m_faceLook.reserve(faces);
    m_cornerVertex.reserve(corners);
    m_cornerNormal.reserve(corners);
}

} // namespace rm

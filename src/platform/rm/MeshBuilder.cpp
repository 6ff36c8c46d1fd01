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
    m_faceColor.push_back(0xFFFFFFFF);
    m_faceMaterial.emplace_back();
    m_faceTexture.emplace_back();
    m_faceWrap.push_back(0);
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

void MeshBuilder::SetFaceColor(std::uint32_t face, D3DCOLOR color) {
    PAVRIX_ASSERT(face < m_faceColor.size(), "MeshBuilder::SetFaceColor: no such face");
    m_faceColor[face] = color;
    Touch();
}

void MeshBuilder::SetFaceMaterial(std::uint32_t face, Material* material) {
    PAVRIX_ASSERT(face < m_faceMaterial.size(), "MeshBuilder::SetFaceMaterial: no such face");
    m_faceMaterial[face] = material;
    Touch();
}

void MeshBuilder::SetFaceTexture(std::uint32_t face, Texture* texture) {
    PAVRIX_ASSERT(face < m_faceTexture.size(), "MeshBuilder::SetFaceTexture: no such face");
    m_faceTexture[face] = texture;
    Touch();
}

void MeshBuilder::GetFaceWrap(std::uint32_t face, bool* wrapU, bool* wrapV) const {
    PAVRIX_ASSERT(face < m_faceWrap.size(), "MeshBuilder::GetFaceWrap: no such face");
    *wrapU = (m_faceWrap[face] & 1) != 0;
    *wrapV = (m_faceWrap[face] & 2) != 0;
}

void MeshBuilder::SetFaceWrap(std::uint32_t face, bool wrapU, bool wrapV) {
    PAVRIX_ASSERT(face < m_faceWrap.size(), "MeshBuilder::SetFaceWrap: no such face");
    m_faceWrap[face] = std::uint8_t((wrapU ? 1 : 0) | (wrapV ? 2 : 0));
    Touch();
}

HRESULT MeshBuilder::SetColor(D3DCOLOR color) {
    std::fill(m_faceColor.begin(), m_faceColor.end(), color);
    Touch();
    return D3DRM_OK;
}

HRESULT MeshBuilder::SetColorRGB(float r, float g, float b) {
    return SetColor(CreateColorRGB(r, g, b));
}

HRESULT MeshBuilder::SetMaterial(Material* material) {
    for (auto& m : m_faceMaterial) {
        m = material;
    }
    Touch();
    return D3DRM_OK;
}

HRESULT MeshBuilder::SetTexture(Texture* texture) {
    for (auto& t : m_faceTexture) {
        t = texture;
    }
    Touch();
    return D3DRM_OK;
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
        m_faceColor[face] = other->m_faceColor[f];
        m_faceMaterial[face] = other->m_faceMaterial[f];
        m_faceTexture[face] = other->m_faceTexture[f];
        m_faceWrap[face] = other->m_faceWrap[f];
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
            const std::uint32_t f = AddFace(count, v.data(), n.data());
            m_faceColor[f] = mesh->GetGroupColor(gi);
            m_faceMaterial[f] = mesh->GetGroupMaterial(gi);
            m_faceTexture[f] = mesh->GetGroupTexture(gi);
            m_faceWrap[f] = std::uint8_t((wrapU ? 1 : 0) | (wrapV ? 2 : 0));
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
    // Group faces by their look, in order of first appearance.
    std::vector<GroupKey> keys;
    std::vector<std::vector<std::uint32_t>> members;
    for (std::uint32_t f = 0; f < GetFaceCount(); ++f) {
        const GroupKey key{m_faceColor[f], m_faceMaterial[f].Get(), m_faceTexture[f].Get(),
                           m_faceWrap[f]};
        auto it = std::find(keys.begin(), keys.end(), key);
        if (it == keys.end()) {
            keys.push_back(key);
            members.emplace_back();
            it = keys.end() - 1;
        }
        members[std::size_t(it - keys.begin())].push_back(f);
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
    const std::size_t faces = m_faceStart.size();
    m_faceColor.assign(faces, 0xFFFFFFFF);
    m_faceMaterial.assign(faces, Ref<Material>());
    m_faceTexture.assign(faces, Ref<Texture>());
    m_faceWrap.assign(faces, 0);
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
    m_faceColor.clear();
    m_faceMaterial.clear();
    m_faceTexture.clear();
    m_faceWrap.clear();
    m_skin = {};
    m_carried.clear();
    Touch();
}

void MeshBuilder::Reserve(std::uint32_t vertices, std::uint32_t faces, std::uint32_t corners) {
    m_positions.reserve(vertices);
    m_texCoords.reserve(2 * std::size_t(vertices));
    m_faceStart.reserve(faces);
    m_faceColor.reserve(faces);
    m_faceMaterial.reserve(faces);
    m_faceTexture.reserve(faces);
    m_faceWrap.reserve(faces);
    m_cornerVertex.reserve(corners);
    m_cornerNormal.reserve(corners);
}

} // namespace rm

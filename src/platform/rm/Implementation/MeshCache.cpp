#include "platform/rm/Implementation/MeshCache.h"

#include <cstddef>
#include <string>

#include <epoxy/gl.h>

#include "platform/rm/DebugOutput.h"
#include "platform/rm/Math.h"
#include "platform/rm/MeshBuilder.h"

namespace rm {

namespace {

struct VertexLook {
    bool translucent = false; ///< some colour is not fully opaque
    bool zeroNormal = false;  ///< some normal is missing (all three parts 0)
};

// One pass without branches: the AND of every alpha is 0xFF only when all are opaque.
VertexLook LookOf(const MeshVertex* vertices, std::size_t count) {
    std::uint32_t alphas = 0xFF;
    bool zeroNormal = false;
    for (std::size_t i = 0; i < count; ++i) {
        const MeshVertex& v = vertices[i];
        alphas &= v.color >> 24;
        zeroNormal |= (v.normal.x == 0) & (v.normal.y == 0) & (v.normal.z == 0);
    }
    return {alphas != 0xFF, zeroNormal};
}

void Signature(const Mesh& mesh, std::vector<std::uint32_t>* out) {
    out->clear();
    out->push_back(mesh.GetGroupCount());
    for (std::uint32_t g = 0; g < mesh.GetGroupCount(); ++g) {
        const auto gi = Mesh::D3DRMGROUPINDEX(g);
        out->push_back(std::uint32_t(mesh.GroupVertices(gi).size()));
        out->push_back(std::uint32_t(mesh.GroupFaces(gi).size()));
    }
}

// Vertices that come without a normal get the average of their faces' normals, so
// lighting works on meshes made without normals (faces point to the side from which
// they are seen clockwise).
void FillMissingNormals(const std::vector<std::uint32_t>& faces, std::vector<MeshVertex>* verts,
                        const MeshVertex* source) {
    auto& v = *verts;
    for (std::size_t w = 0; w < faces.size();) {
        const std::uint32_t n = faces[w++];
        if (w + n > faces.size()) {
            break;
        }
        for (std::uint32_t i = 1; i + 1 < n; ++i) {
            const std::uint32_t a = faces[w], b = faces[w + i], c = faces[w + i + 1];
            const Vector normal = VectorCrossProduct(VectorSubtract(v[b].position, v[a].position),
                                                     VectorSubtract(v[c].position, v[a].position));
            for (std::uint32_t k : {a, b, c}) {
                const Vector& given = source[k].normal;
                if (given.x == 0 && given.y == 0 && given.z == 0) {
                    v[k].normal = VectorAdd(v[k].normal, normal);
                }
            }
        }
        w += n;
    }
    for (auto& vertex : v) {
        if (VectorModulus(vertex.normal) > 0) {
            VectorNormalize(&vertex.normal);
        }
    }
}

} // namespace

const MeshCache::Entry* MeshCache::Get(Visual* visual, FrameWalk* pose, const Matrix4& world) {
    if (!visual) {
        return nullptr;
    }
    auto it = m_entries.find(visual);
    if (it == m_entries.end() || it->second.generation != visual->Generation()) {
        Ref<Mesh> built;
        const Mesh* mesh = dynamic_cast<const Mesh*>(visual);
        const auto* builder = dynamic_cast<const MeshBuilder*>(visual);
        const bool skinned = builder && builder->HasSkin();
        if (!mesh) {
            if (!builder || Failed(builder->CreateMesh(&built, skinned ? &m_sources : nullptr))) {
                return nullptr;
            }
            mesh = built.Get();
        }
        if (it == m_entries.end()) {
            it = m_entries.emplace(visual, Entry{}).first;
            it->second.visual = visual;
            it->second.fromBuilder = builder != nullptr;
        }
        Entry& entry = it->second;
        Signature(*mesh, &m_signature);
        if ((!entry.vertexArray || m_signature != entry.signature) && !Rebuild(&entry, *mesh)) {
            Release(&entry);
            m_entries.erase(it);
            return nullptr;
        }
        entry.generation = visual->Generation();
        if (skinned) {
            TakeSkin(&entry, builder, built, m_sources);
        } else if (entry.skin) {
            ReleaseInfluences(&entry);
            entry.skin.reset();
        }
        UploadVertices(&entry, *mesh, nullptr);
    }
    Entry& entry = it->second;
    if (entry.skin && pose && entry.skin->deformer.Pose(pose, world)) {
        Entry::Skin& skin = *entry.skin;
        if (skin.onGpu) {
            skin.deformer.CopyPalette(skin.palette.data());
            if (skin.placement != skin.deformer.Placement()) {
                UploadInfluences(&entry);
            }
        } else {
            PoseSkin(&entry);
        }
    }
    return &entry;
}

const MeshCache::Entry* MeshCache::Edges(Visual* visual) {
    const auto it = m_entries.find(visual);
    if (it == m_entries.end()) {
        return nullptr;
    }
    Entry& entry = it->second;
    if (entry.edgesBuilt) {
        return &entry;
    }
    Ref<Mesh> built;
    const Mesh* mesh = dynamic_cast<const Mesh*>(visual);
    if (!mesh) {
        const auto* builder = dynamic_cast<const MeshBuilder*>(visual);
        if (!builder || Failed(builder->CreateMesh(&built, nullptr))) {
            return nullptr;
        }
        mesh = built.Get();
    }
    ++m_edgeBuilds;
    m_edges.clear();
    std::size_t base = 0;
    for (std::uint32_t g = 0; g < mesh->GetGroupCount() && g < entry.groups.size(); ++g) {
        const auto gi = Mesh::D3DRMGROUPINDEX(g);
        const auto& faces = mesh->GroupFaces(gi);
        Group& group = entry.groups[g];
        group.edgeOffset = m_edges.size() * sizeof(std::uint32_t);
        for (std::size_t w = 0; w < faces.size();) {
            const std::uint32_t n = faces[w++];
            if (w + n > faces.size()) {
                break;
            }
            for (std::uint32_t i = 0; n >= 3 && i < n; ++i) {
                const auto a = std::uint32_t(base + faces[w + i]);
                m_edges.push_back(a);
                m_edges.push_back(std::uint32_t(base + faces[w + (i + 1) % n]));
                m_edges.push_back(std::uint32_t(base + faces[w + (i + 2) % n]));
                m_edges.push_back(a);
            }
            w += n;
        }
        group.edgeIndexCount =
            std::uint32_t(m_edges.size() - group.edgeOffset / sizeof(std::uint32_t));
        base += mesh->GroupVertices(gi).size();
    }
    if (!entry.edgeBuffer) {
        glGenBuffers(1, &entry.edgeBuffer);
    }
    // Not through the element binding: that belongs to whichever vertex array is bound.
    glBindBuffer(GL_COPY_WRITE_BUFFER, entry.edgeBuffer);
    glBufferData(GL_COPY_WRITE_BUFFER, GLsizeiptr(m_edges.size() * sizeof(std::uint32_t)),
                 m_edges.empty() ? nullptr : m_edges.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    entry.edgesBuilt = true;
    return &entry;
}

void MeshCache::PoseSkin(Entry* entry) {
    Entry::Skin& skin = *entry->skin;
    const std::size_t bytes = skin.restVertices.size() * sizeof(MeshVertex);
    if (!skin.restZeroNormal && bytes) {
        // Straight into the buffer: the looks and translucency of the groups are the rest
        // pose's, and a deformed normal is never zero where the rest normal was not.
        glBindBuffer(GL_ARRAY_BUFFER, entry->vertexBuffer);
        const GLbitfield access =
            GL_MAP_WRITE_BIT | (m_rewriteInPlace ? 0 : GL_MAP_INVALIDATE_BUFFER_BIT);
        void* mapped = glMapBufferRange(GL_ARRAY_BUFFER, 0, GLsizeiptr(bytes), access);
        if (mapped) {
            Deform(skin, static_cast<MeshVertex*>(mapped));
            glUnmapBuffer(GL_ARRAY_BUFFER);
            glBindBuffer(GL_ARRAY_BUFFER, 0);
            ++m_vertexUploads;
            return;
        }
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }
    skin.posed.resize(skin.restVertices.size());
    Deform(skin, skin.posed.data());
    UploadVertices(entry, *skin.rest, skin.posed.data());
}

void MeshCache::Deform(const Entry::Skin& skin, MeshVertex* out) {
    // Large skins are shared out over the cores: the rasteriser's threads wait for the
    // vertices anyway.
    constexpr std::size_t kGrain = 16384;
    const MeshVertex* rest = skin.restVertices.data();
    m_parallel.For(skin.deformer.Count(), kGrain, [&](std::size_t first, std::size_t last) {
        skin.deformer.DeformRange(rest, out, first, last);
    });
}

void MeshCache::TakeSkin(Entry* entry, const MeshBuilder* builder, Ref<Mesh> rest,
                         const std::vector<std::uint32_t>& sources) {
    if (!entry->skin) {
        entry->skin = std::make_unique<Entry::Skin>();
    }
    Entry::Skin& skin = *entry->skin;
    skin.restVertices.clear();
    for (std::uint32_t g = 0; g < rest->GetGroupCount(); ++g) {
        const auto& vertices = rest->GroupVertices(Mesh::D3DRMGROUPINDEX(g));
        skin.restVertices.insert(skin.restVertices.end(), vertices.begin(), vertices.end());
    }
    skin.restZeroNormal = LookOf(skin.restVertices.data(), skin.restVertices.size()).zeroNormal;
    skin.rest = std::move(rest);
    skin.deformer.Build(builder->GetSkin(), sources.data(), sources.size());
    // Normals the CPU fills in from deformed faces cannot be made in a vertex stage.
    const std::size_t bones = skin.deformer.BoneCount();
    skin.onGpu = !skin.restZeroNormal && bones < m_gpuBones && bones < 0xFFFF;
    if (skin.onGpu) {
        // The influences follow at the first pose, which knows which bones are placed.
        skin.palette.assign((bones + 1) * 12, 0.0f);
        skin.placement = skin.deformer.Placement() - 1;
    } else {
        ReleaseInfluences(entry);
    }
}

void MeshCache::UploadInfluences(Entry* entry) {
    Entry::Skin& skin = *entry->skin;
    using Four = SkinDeformer::FourInfluences;
    std::vector<Four> influences(skin.deformer.Count());
    if (const std::size_t clipped = skin.deformer.Influences(influences.data())) {
        OutputDebugStringA(("MeshCache: " + std::to_string(clipped) +
                            " vertices have more than four bone weights; the largest four "
                            "are drawn, scaled to the sum of all\n")
                               .c_str());
    }
    skin.placement = skin.deformer.Placement();
    if (!skin.influences) {
        glGenBuffers(1, &skin.influences);
    }
    glBindVertexArray(entry->vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, skin.influences);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(influences.size() * sizeof(Four)), influences.data(),
                 GL_STATIC_DRAW);
    glEnableVertexAttribArray(4);
    glVertexAttribIPointer(4, 4, GL_UNSIGNED_SHORT, GLsizei(sizeof(Four)),
                           reinterpret_cast<void*>(offsetof(Four, bones)));
    glEnableVertexAttribArray(5);
    glVertexAttribPointer(5, 4, GL_FLOAT, GL_FALSE, GLsizei(sizeof(Four)),
                          reinterpret_cast<void*>(offsetof(Four, weights)));
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void MeshCache::ReleaseInfluences(Entry* entry) {
    Entry::Skin* skin = entry->skin.get();
    if (!skin || !skin->influences) {
        return;
    }
    glBindVertexArray(entry->vertexArray);
    glDisableVertexAttribArray(4);
    glDisableVertexAttribArray(5);
    glBindVertexArray(0);
    glDeleteBuffers(1, &skin->influences);
    skin->influences = 0;
    skin->onGpu = false;
}

bool MeshCache::Rebuild(Entry* entry, const Mesh& mesh) {
    ++m_indexBuilds;
    m_indices.clear();
    entry->groups.clear();
    entry->edgesBuilt = false;
    entry->triangles = 0;
    std::size_t vertexCount = 0;
    for (std::uint32_t g = 0; g < mesh.GetGroupCount(); ++g) {
        const auto gi = Mesh::D3DRMGROUPINDEX(g);
        const auto& faces = mesh.GroupFaces(gi);
        const auto base = std::uint32_t(vertexCount);
        Group group;
        group.triangleOffset = m_indices.size() * sizeof(std::uint32_t);
        for (std::size_t w = 0; w < faces.size();) {
            const std::uint32_t n = faces[w++];
            if (w + n > faces.size()) {
                break;
            }
            if (n >= 3) {
                for (std::uint32_t i = 1; i + 1 < n; ++i) {
                    m_indices.push_back(base + faces[w]);
                    m_indices.push_back(base + faces[w + i]);
                    m_indices.push_back(base + faces[w + i + 1]);
                }
                group.triangles += n - 2;
            }
            w += n;
        }
        group.triangleIndexCount =
            std::uint32_t(m_indices.size() - group.triangleOffset / sizeof(std::uint32_t));
        entry->triangles += group.triangles;
        entry->groups.push_back(group);
        vertexCount += mesh.GroupVertices(gi).size();
    }
    if (!entry->vertexArray) {
        glGenVertexArrays(1, &entry->vertexArray);
        glGenBuffers(1, &entry->vertexBuffer);
        glGenBuffers(1, &entry->indexBuffer);
    }
    glBindVertexArray(entry->vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, entry->vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertexCount * sizeof(MeshVertex)), nullptr,
                 GL_DYNAMIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, entry->indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(m_indices.size() * sizeof(std::uint32_t)),
                 m_indices.empty() ? nullptr : m_indices.data(), GL_STATIC_DRAW);
    const auto stride = GLsizei(sizeof(MeshVertex));
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<void*>(offsetof(MeshVertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<void*>(offsetof(MeshVertex, normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<void*>(offsetof(MeshVertex, tu)));
    // 0xAARRGGBB in little-endian memory is B, G, R, A: GL_BGRA reads it as RGBA.
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          reinterpret_cast<void*>(offsetof(MeshVertex, color)));
    glBindVertexArray(0);
    entry->signature = m_signature;
    return glGetError() != GL_OUT_OF_MEMORY;
}

void MeshCache::UploadVertices(Entry* entry, const Mesh& mesh, const MeshVertex* replacement) {
    ++m_vertexUploads;
    // The look of a group can change without its sizes (a new material or texture).
    for (std::uint32_t g = 0; g < mesh.GetGroupCount() && g < entry->groups.size(); ++g) {
        const auto gi = Mesh::D3DRMGROUPINDEX(g);
        Group& group = entry->groups[g];
        group.material = mesh.GetGroupMaterial(gi);
        group.texture = mesh.GetGroupTexture(gi);
        group.quality = mesh.GetGroupQuality(gi);
        group.hasQuality = mesh.GroupHasQuality(gi);
    }
    glBindBuffer(GL_ARRAY_BUFFER, entry->vertexBuffer);
    std::size_t offset = 0;
    for (std::uint32_t g = 0; g < mesh.GetGroupCount(); ++g) {
        const auto gi = Mesh::D3DRMGROUPINDEX(g);
        const std::size_t count = mesh.GroupVertices(gi).size();
        const MeshVertex* data =
            replacement ? replacement + offset / sizeof(MeshVertex) : mesh.GroupVertices(gi).data();
        const auto [translucent, zeroNormal] = LookOf(data, count);
        if (g < entry->groups.size()) {
            entry->groups[g].translucent = translucent;
        }
        if (zeroNormal) {
            m_vertices.assign(data, data + count);
            FillMissingNormals(mesh.GroupFaces(gi), &m_vertices, data);
            data = m_vertices.data();
        }
        const std::size_t bytes = count * sizeof(MeshVertex);
        if (bytes) {
            glBufferSubData(GL_ARRAY_BUFFER, GLintptr(offset), GLsizeiptr(bytes), data);
        }
        offset += bytes;
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void MeshCache::Sweep() {
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it->second.visual->RefCount() == 1) {
            Release(&it->second);
            it = m_entries.erase(it);
        } else {
            ++it;
        }
    }
}

void MeshCache::Clear() {
    for (auto& [visual, entry] : m_entries) {
        Release(&entry);
    }
    m_entries.clear();
}

void MeshCache::Release(Entry* entry) {
    ReleaseInfluences(entry);
    if (entry->edgeBuffer) {
        glDeleteBuffers(1, &entry->edgeBuffer);
        entry->edgeBuffer = 0;
        entry->edgesBuilt = false;
    }
    if (entry->vertexArray) {
        glDeleteVertexArrays(1, &entry->vertexArray);
        glDeleteBuffers(1, &entry->vertexBuffer);
        glDeleteBuffers(1, &entry->indexBuffer);
    }
    entry->vertexArray = entry->vertexBuffer = entry->indexBuffer = 0;
}

} // namespace rm

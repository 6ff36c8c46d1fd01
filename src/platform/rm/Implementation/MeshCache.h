#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/rm/Material.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/Ref.h"
#include "platform/rm/Texture.h"
#include "platform/rm/Visual.h"

namespace rm {

/// GL vertex and index buffers for the visuals a device draws, one set per visual, kept
/// between frames and refreshed only when the visual's Generation() has moved. A mesh
/// whose groups keep their sizes (the skin moving vertices every tick) only has its
/// vertices and group looks refreshed; anything else is rebuilt. Mesh builders are drawn through
/// the mesh they would create.
///
/// Every call that touches GL expects the owning device's context to be current.
class MeshCache {
public:
    /// One group of a cached visual, ready to draw.
    struct Group {
        /// Byte offset and count of the triangle indices (three per triangle).
        std::uintptr_t triangleOffset = 0;
        std::uint32_t triangleIndexCount = 0;
        /// Byte offset and count of the edge indices (four per polygon edge).
        std::uintptr_t edgeOffset = 0;
        std::uint32_t edgeIndexCount = 0;
        /// Triangles of the group's faces (a polygon of n corners counts n - 2).
        std::uint32_t triangles = 0;
        Ref<Material> material;
        Ref<Texture> texture;
        D3DRMRENDERQUALITY quality = 0;
        bool hasQuality = false;
        /// A vertex colour of the group is not fully opaque.
        bool translucent = false;
    };

    struct Entry {
        Ref<Visual> visual;
        std::uint64_t generation = 0;
        /// The visual is a mesh builder (its quality combines with the device's).
        bool fromBuilder = false;
        unsigned vertexArray = 0;
        unsigned vertexBuffer = 0;
        unsigned indexBuffer = 0;
        std::vector<Group> groups;
        std::uint32_t triangles = 0;
        /// Group count, then per group vertex count and face-data size: a mesh whose
        /// signature is unchanged keeps its index buffer.
        std::vector<std::uint32_t> signature;
    };

    MeshCache() = default;
    MeshCache(const MeshCache&) = delete;
    MeshCache& operator=(const MeshCache&) = delete;

    /// The buffers of visual, built or refreshed as needed; null for a visual that is not
    /// a mesh or a mesh builder, or that cannot be turned into a mesh.
    const Entry* Get(Visual* visual);
    /// Drops the entries of visuals nobody but the cache holds any more.
    void Sweep();
    /// Deletes every entry and its GL objects.
    void Clear();

    std::size_t Size() const { return m_entries.size(); }
    /// How many times vertex data were sent to GL (for tests of the refresh rule).
    std::uint64_t VertexUploads() const { return m_vertexUploads; }
    /// How many times index buffers were built (for tests of the refresh rule).
    std::uint64_t IndexBuilds() const { return m_indexBuilds; }

private:
    bool Rebuild(Entry* entry, const Mesh& mesh);
    void UploadVertices(Entry* entry, const Mesh& mesh);
    static void Release(Entry* entry);

    std::unordered_map<const Visual*, Entry> m_entries;
    // Scratch space reused between refreshes.
    std::vector<std::uint32_t> m_indices;
    std::vector<std::uint32_t> m_edges;
    std::vector<MeshVertex> m_vertices;
    std::vector<std::uint32_t> m_signature;
    std::uint64_t m_vertexUploads = 0;
    std::uint64_t m_indexBuilds = 0;
};

} // namespace rm

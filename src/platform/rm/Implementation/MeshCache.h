#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/NonCopyable.h"
#include "platform/rm/Implementation/SkinDeformer.h"
#include "platform/rm/Material.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/Ref.h"
#include "platform/rm/Texture.h"
#include "platform/rm/Visual.h"

namespace rm {

class FrameWalk;
class MeshBuilder;

/// GL vertex and index buffers for the visuals a device draws, one set per visual, kept
/// between frames and refreshed only when the visual's Generation() has moved. A mesh
/// whose groups keep their sizes (the skin moving vertices every tick) only has its
/// vertices and group looks refreshed; anything else is rebuilt. Mesh builders are drawn through
/// the mesh they would create. The edge lists of wireframe drawing are built only when
/// something asks for them (Edges).
///
/// A mesh builder with skin weights keeps that mesh as its rest pose. Where the device
/// allows it (SetGpuSkinning) the vertex stage deforms it: the buffer keeps the rest pose,
/// a second buffer four bone influences per vertex, and each pose only refreshes the bone
/// matrices. Otherwise (too many bones, rest normals missing, or skinning on the CPU asked
/// for) its vertices are deformed on the CPU again whenever one of its bones has moved.
///
/// Every call that touches GL expects the owning device's context to be current.
class MeshCache : private platform::NonCopyable {
public:
    /// One group of a cached visual, ready to draw.
    struct Group {
        /// Byte offset and count of the triangle indices (three per triangle).
        std::uintptr_t triangleOffset = 0;
        std::uint32_t triangleIndexCount = 0;
        /// Byte offset and count of the edge indices (four per polygon edge) in the
        /// entry's edge buffer, once Edges has built it.
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
        /// Wireframe edges: built by Edges, again after the index buffer is rebuilt.
        unsigned edgeBuffer = 0;
        bool edgesBuilt = false;
        std::vector<Group> groups;
        std::uint32_t triangles = 0;
        /// Group count, then per group vertex count and face-data size: a mesh whose
        /// signature is unchanged keeps its index buffer.
        std::vector<std::uint32_t> signature;
        /// Skinned mesh builders only: the rest pose and its deformation. Their buffers
        /// hold vertices in world coordinates.
        struct Skin {
            Ref<Mesh> rest;
            std::vector<MeshVertex> restVertices; ///< every group's, one after the other
            std::vector<MeshVertex> posed;        ///< only where normals are to be filled in
            SkinDeformer deformer;
            /// Some rest vertex has no normal: deformed vertices go through the upload
            /// that fills normals in.
            bool restZeroNormal = false;
            /// Deformed by the vertex stage: the vertex buffer holds the rest pose,
            /// `influences` the bones and weights (attributes 4 and 5) as of the deformer's
            /// `placement`, `palette` the matrices of the last pose
            /// (SkinDeformer::CopyPalette).
            bool onGpu = false;
            unsigned influences = 0;
            std::uint64_t placement = 0;
            std::vector<float> palette;
        };
        std::unique_ptr<Skin> skin;
    };

    MeshCache() = default;

    /// The buffers of visual, built or refreshed as needed; null for a visual that is not
    /// a mesh or a mesh builder, or that cannot be turned into a mesh. A skinned mesh
    /// builder is deformed at the pose of `pose` (null: left as it is), `world` being its
    /// own frame's world matrix (see SkinDeformer).
    const Entry* Get(Visual* visual, FrameWalk* pose = nullptr, const Matrix4& world = {});
    /// The entry of `visual` (which Get returned) with its wireframe edges built; null when
    /// they cannot be.
    const Entry* Edges(Visual* visual);
    /// Lets skinned meshes of at most `maxBones` bones be deformed by the vertex stage; 0
    /// keeps every skin on the CPU. Applies to entries built from now on.
    void SetGpuSkinning(std::size_t maxBones) { m_gpuBones = maxBones; }
    /// Drops the entries of visuals nobody but the cache holds any more.
    void Sweep();
    /// Deletes every entry and its GL objects.
    void Clear();

    std::size_t Size() const { return m_entries.size(); }
    /// How many times vertex data were sent to GL (for tests of the refresh rule).
    std::uint64_t VertexUploads() const { return m_vertexUploads; }
    /// How many times index buffers were built (for tests of the refresh rule).
    std::uint64_t IndexBuilds() const { return m_indexBuilds; }
    /// How many times edge lists were built.
    std::uint64_t EdgeBuilds() const { return m_edgeBuilds; }

private:
    bool Rebuild(Entry* entry, const Mesh& mesh);
    /// Sends the vertices of mesh, or `replacement` (every group's, one after the other) in
    /// their place, and refreshes the groups' looks.
    void UploadVertices(Entry* entry, const Mesh& mesh, const MeshVertex* replacement);
    /// Deforms a skinned entry at the pose its deformer has just taken and sends it.
    void PoseSkin(Entry* entry);
    void TakeSkin(Entry* entry, const MeshBuilder* builder, Ref<Mesh> rest,
                  const std::vector<std::uint32_t>& sources);
    /// Sends the influences of a skin the vertex stage deforms (at its deformer's present
    /// placement), and points the attributes at them.
    static void UploadInfluences(Entry* entry);
    static void ReleaseInfluences(Entry* entry);
    static void Release(Entry* entry);

    std::unordered_map<const Visual*, Entry> m_entries;
    // Scratch space reused between refreshes.
    std::vector<std::uint32_t> m_indices;
    std::vector<std::uint32_t> m_edges;
    std::vector<MeshVertex> m_vertices;
    std::vector<std::uint32_t> m_signature;
    std::vector<std::uint32_t> m_sources;
    std::uint64_t m_vertexUploads = 0;
    std::uint64_t m_indexBuilds = 0;
    std::uint64_t m_edgeBuilds = 0;
    std::size_t m_gpuBones = 0;
};

} // namespace rm

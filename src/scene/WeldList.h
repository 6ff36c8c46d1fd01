#pragma once

#include <cstdint>
#include <vector>

#include "platform/rm/Frame.h"
#include "platform/rm/Mesh.h"

namespace scene {

/// The welds of a morphing skin: groups of vertices of different parts that lie at the
/// same place in the rest pose, so that later parts' vertices can follow the first one.
///
/// The list is ordered as a depth-first walk of the model finds them: for each weld,
/// first the anchor entry (the vertex found first), then every vertex welded to it (in
/// walk order of their frames, meshes, groups and vertices), then an end marker (group
/// -1). Anchor and matches may sit in different frame and mesh records; the order alone
/// ties them together.
///
/// Frames and meshes are borrowed: they belong to the model, which frees the list with
/// itself.
class WeldList {
public:
    struct VertexEntry {
        /// Group index within the mesh, or -1 for the end-of-weld marker.
        int group = -1;
        int vertex = 0;
        /// The vertex as captured when the weld was built (normal, texture coordinates and
        /// colour written back with each update); the position is rewritten by Update.
        rm::MeshVertex data;
    };
    struct MeshRecord {
        rm::Mesh* mesh = nullptr;
        std::vector<VertexEntry> vertexEntries;
    };
    struct FrameRecord {
        rm::Frame* frame = nullptr;
        std::vector<MeshRecord> meshes;
        /// Index of the frame in the list's matrix cache.
        std::uint32_t frameSlot = 0;
    };

    /// Rebuilds the list from the frame tree under root (mesh visuals only), in its
    /// present pose. Two vertices weld when they differ by less than `tolerance` on each
    /// world axis and the second lies in a frame visited after the first one's frame.
    /// Runs in about linear time: world positions are computed once and bucketed in a
    /// spatial hash.
    void Build(rm::Frame* root, float tolerance);
    /// Moves every welded vertex to the current world position of its anchor. Allocates
    /// nothing. Returns the number of vertices written.
    std::size_t Update();
    void Clear();

    const std::vector<FrameRecord>& Records() const { return m_records; }
    bool Empty() const { return m_records.empty(); }

private:
    std::vector<FrameRecord> m_records;
    // The distinct frames of the records, with their world matrices and inverses as of
    // the last update (sized by Build so Update allocates nothing).
    std::vector<rm::Frame*> m_frames;
    std::vector<rm::Matrix4> m_world;
    std::vector<rm::Matrix4> m_inverse;
};

} // namespace scene

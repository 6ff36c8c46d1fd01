#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rm/Types.h"

namespace rm {

/// One bone of a skinned mesh: the frame it follows (by name, as the file names it), the
/// vertices it moves with their weights, and the offset matrix that takes a rest-pose
/// vertex into the bone's space. Matrices are row-vector style like every Matrix4 here:
/// a vertex v moves to v * offset * (bone frame's matrix in the scene).
struct SkinBone {
    std::string frameName;
    std::vector<std::uint32_t> vertices;
    std::vector<float> weights; ///< one per entry of vertices
    Matrix4 offset;
};

/// The skin weights of a mesh builder. The header's three counts are kept as read so a
/// save writes them back unchanged; bones hold only weights whose vertex index is in range.
struct MeshSkin {
    std::uint16_t maxWeightsPerVertex = 0;
    std::uint16_t maxWeightsPerFace = 0;
    std::vector<SkinBone> bones;

    bool Empty() const { return bones.empty(); }
};

} // namespace rm

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/rm/MeshSkin.h"
#include "platform/rm/Types.h"

namespace rm {

class FrameWalk;

/// Moves the vertices of a skinned mesh builder with its bones: the one deformation that
/// drawing, picking and their tests share.
///
/// A vertex goes to the sum over its bones of weight * (rest * offset * the bone frame's
/// world matrix), its normal likewise through the matrices' 3x3 part, normalised. Weights
/// are used as the file gives them, summing to 1 or not. A bone whose frame is not in the
/// tree is left out; a vertex left without weight (none given, or none whose bone is
/// placed, or weights summing to 0) follows the matrix of the mesh's own frame, as a
/// rigid mesh would. The result is in world coordinates.
class SkinDeformer {
public:
    /// Arranges the weights of `skin` for `count` vertices, vertex i being builder vertex
    /// source[i] (a null source: vertex i is builder vertex i). The source list is copied;
    /// weights of builder vertices that no vertex comes from are simply never read.
    void Build(const MeshSkin& skin, const std::uint32_t* source, std::size_t count);
    /// Places the bones at the pose of `walk` (each at the first frame of its name) and
    /// takes `rigid` for vertices without weight. True when any matrix differs from the
    /// previous pose (always after Build).
    bool Pose(FrameWalk* walk, const Matrix4& rigid);
    /// Deforms the Build's count vertices from rest into out (texture coordinates and
    /// colours copied); rest and out must not overlap.
    void Deform(const MeshVertex* rest, MeshVertex* out) const;
    std::size_t Count() const { return m_source.size(); }
    /// The bones of the Build's skin.
    std::size_t BoneCount() const { return m_offsets.size(); }
    /// Deforms vertices [first, last) of the Build's count as Deform does: parts of one
    /// pose may be deformed at once on different threads.
    void DeformRange(const MeshVertex* rest, MeshVertex* out, std::size_t first,
                     std::size_t last) const;

    // For a vertex stage that deforms as Deform does (see GlDrawPrograms).
    /// The matrices of the last Pose as three columns of four floats each (the affine
    /// matrix transposed, translation in the last lane): every bone's (a bone left out all
    /// 0), then the rigid one. 12 * (BoneCount() + 1) floats.
    void CopyPalette(float* out) const;
    /// Counts the changes of which bones are placed: the influences depend on it.
    std::uint64_t Placement() const { return m_placement; }
    /// Up to four influences of a vertex, by bone index (into the palette) and weight.
    struct FourInfluences {
        std::uint16_t bones[4];
        float weights[4];
    };
    /// The influences of each of the Count() vertices at the last Pose's placement: a bone
    /// left out weighs 0, so a vertex whose weights sum to 0 takes the rigid matrix, as in
    /// Deform; unused places weigh 0 too. A vertex with more than four keeps its four
    /// largest, scaled so they sum to what all of them summed. Returns how many vertices had
    /// more than four. BoneCount() must be below 65536.
    std::size_t Influences(FourInfluences* out) const;
    /// Whether the pose turns faces over as seen (judged by the first placed bone, or the
    /// rigid matrix when none is placed).
    bool Mirrored() const { return m_mirrored; }

private:
    /// Lays the influences of every vertex out for Deform at the present placement.
    void Arrange();

    using Lanes = float __attribute__((vector_size(16)));
    // An affine matrix as four rows of four lanes: the linear part's rows, then the
    // translation; the last lane of the translation row is 1 for a placed bone, and a
    // bone left out is all 0, so a blend of them sums its placed weight in that lane.
    struct Affine {
        Lanes rows[4];
        bool operator==(const Affine& other) const;
    };
    static Affine ToAffine(const Matrix4& m);
    struct Influence {
        std::uint32_t bone;
        float weight;
    };

    std::vector<std::uint32_t> m_source;
    // Influences of builder vertex v: m_influences[m_first[v] .. m_first[v + 1]).
    std::vector<std::uint32_t> m_first;
    std::vector<Influence> m_influences;
    std::vector<Matrix4> m_offsets;
    std::vector<std::string> m_names;
    // Every bone's matrix, then the rigid one, then one all 0 (see Arrange).
    std::vector<Affine> m_bones;
    std::vector<char> m_placed;
    std::uint64_t m_placement = 0;
    // Deform's four influences of each vertex, each place an array over the vertices:
    // the palette index and weight of the place's placed bone, or of the rigid matrix
    // (weight 1) for a vertex without placed weight; an unused place weighs 0 on the all-0
    // matrix. Vertices of more than four influences weigh 0 everywhere here and are
    // listed in m_wide, deformed one by one. Laid out for m_arranged.
    std::vector<std::uint32_t> m_slotBone[4];
    std::vector<float> m_slotWeight[4];
    std::vector<std::uint32_t> m_wide;
    std::uint64_t m_arranged = 0;
    bool m_posed = false;
    bool m_mirrored = false;
};

} // namespace rm

#pragma once

#include <vector>

#include "platform/rm/Frame.h"
#include "platform/rm/Implementation/FrameWalk.h"
#include "platform/rm/Implementation/SkinDeformer.h"
#include "platform/rm/Viewport.h"

namespace rm {

class MeshBuilder;

/// The ray cast behind Viewport::Pick, on the CPU: every pickable mesh and mesh builder
/// of a tree is tested face by face (polygons as triangle fans) against one ray. A mesh
/// builder with skin weights is tested as drawn: deformed by its bones at the tree's pose.
class ViewportPicker {
public:
    /// Casts the world ray origin + t direction, front <= t <= back, through root's tree
    /// and appends one record per (frame, visual) hit, nearest (smallest t) first. Faces
    /// count only when turned towards the ray's origin (clockwise as seen, judged in the
    /// face's own frame, so mirroring frames keep their faces the right way out).
    void Cast(Frame* root, const Vector& origin, const Vector& direction, float front, float back,
              std::vector<PickRecord>* picks);

private:
    struct Hit {
        float t = 0;
        std::uint32_t face = 0;
        std::int32_t group = -1;
    };
    void Visit(Frame* frame, const Matrix4& world);
    /// Tests the visual of a frame with the world matrix `world` against the ray o + t d
    /// given in that frame's coordinates.
    bool TestVisual(const Visual& visual, const Matrix4& world, const Vector& o, const Vector& d,
                    Hit* hit);
    /// The skinned builder's vertices at the tree's pose, in world coordinates, into
    /// m_positions.
    void Deform(const MeshBuilder& builder, const Matrix4& world);
    bool TestTriangle(const Vector& a, const Vector& b, const Vector& c, const Vector& o,
                      const Vector& d, float* t) const;

    const Frame* m_root = nullptr;
    FrameWalk m_walk;
    bool m_walked = false;
    SkinDeformer m_deformer;
    std::vector<MeshVertex> m_rest, m_posed;
    Vector m_origin, m_direction;
    float m_front = 0, m_back = 0;
    std::vector<Ref<Frame>> m_path;
    std::vector<Vector> m_positions;
    std::vector<std::pair<float, PickRecord>> m_found;
};

} // namespace rm

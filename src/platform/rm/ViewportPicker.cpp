#include "platform/rm/ViewportPicker.h"

#include <algorithm>
#include <cmath>

#include "platform/rm/Math.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/MeshBuilder.h"

namespace rm {

namespace {

// Slab test: whether the ray meets the box for some t in [t0, t1].
bool RayMeetsBox(const Box& box, const Vector& o, const Vector& d, float t0, float t1) {
    const float origin[3] = {o.x, o.y, o.z};
    const float dir[3] = {d.x, d.y, d.z};
    const float lo[3] = {box.min.x, box.min.y, box.min.z};
    const float hi[3] = {box.max.x, box.max.y, box.max.z};
    for (int i = 0; i < 3; ++i) {
        if (dir[i] == 0) {
            if (origin[i] < lo[i] || origin[i] > hi[i]) {
                return false;
            }
            continue;
        }
        float a = (lo[i] - origin[i]) / dir[i];
        float b = (hi[i] - origin[i]) / dir[i];
        if (a > b) {
            std::swap(a, b);
        }
        t0 = std::max(t0, a);
        t1 = std::min(t1, b);
        if (t0 > t1) {
            return false;
        }
    }
    return true;
}

} // namespace

void ViewportPicker::Cast(Frame* root, const Vector& origin, const Vector& direction, float front,
                          float back, std::vector<PickRecord>* picks) {
    m_origin = origin;
    m_direction = direction;
    m_front = front;
    m_back = back;
    m_found.clear();
    m_path.clear();
    m_root = root;
    m_walked = false;
    if (root) {
        Visit(root, root->WorldTransform());
    }
    std::stable_sort(m_found.begin(), m_found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [t, record] : m_found) {
        picks->push_back(std::move(record));
    }
    m_found.clear();
}

void ViewportPicker::Visit(Frame* frame, const Matrix4& world) {
    m_path.emplace_back(frame);
    if (!frame->Visuals().empty()) {
        Matrix4 inverse;
        if (MatrixInvert(world, &inverse)) {
            // An affine map keeps the ray parameter, so hits in the frame's own
            // coordinates compare directly with hits elsewhere; and which side of a face
            // the ray comes from does not change either, mirror or not.
            const Vector o = TransformPoint(m_origin, inverse);
            const Vector d = TransformDirection(m_direction, inverse);
            for (const auto& visual : frame->Visuals()) {
                Hit hit;
                if (!visual->IsPickable() || !TestVisual(*visual, world, o, d, &hit)) {
                    continue;
                }
                PickRecord record;
                record.visual = visual;
                record.framePath = m_path;
                record.face = hit.face;
                record.group = hit.group;
                record.position = VectorAdd(m_origin, VectorScale(m_direction, hit.t));
                record.depth = hit.t;
                m_found.emplace_back(hit.t, std::move(record));
            }
        }
    }
    for (const auto& child : frame->Children()) {
        Visit(child.Get(), MatrixMultiply(child->LocalTransform(), world));
    }
    m_path.pop_back();
}

void ViewportPicker::Deform(const MeshBuilder& builder, const Matrix4& world) {
    if (!m_walked) {
        m_walk.Walk(m_root);
        m_walked = true;
    }
    std::uint32_t count = builder.GetVertexCount();
    m_positions.resize(count);
    builder.GetVertices(0, &count, m_positions.data());
    m_rest.resize(count);
    m_posed.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        m_rest[i].position = m_positions[i];
    }
    m_deformer.Build(builder.GetSkin(), nullptr, count);
    m_deformer.Pose(&m_walk, world);
    m_deformer.Deform(m_rest.data(), m_posed.data());
    for (std::uint32_t i = 0; i < count; ++i) {
        m_positions[i] = m_posed[i].position;
    }
}

bool ViewportPicker::TestVisual(const Visual& visual, const Matrix4& world, const Vector& local,
                                const Vector& localDirection, Hit* hit) {
    const auto* builder = dynamic_cast<const MeshBuilder*>(&visual);
    const bool skinned = builder && builder->HasSkin();
    // A skinned mesh is deformed into world coordinates, where the ray is met as it is.
    const Vector& o = skinned ? m_origin : local;
    const Vector& d = skinned ? m_direction : localDirection;
    Box box;
    if (!skinned && (Failed(visual.GetBox(&box)) || !RayMeetsBox(box, o, d, m_front, m_back))) {
        return false;
    }
    bool found = false;
    auto consider = [&](const Vector& a, const Vector& b, const Vector& c, std::uint32_t face,
                        std::int32_t group) {
        float t = 0;
        if (TestTriangle(a, b, c, o, d, &t) && (!found || t < hit->t)) {
            *hit = {t, face, group};
            found = true;
        }
    };
    if (const auto* mesh = dynamic_cast<const Mesh*>(&visual)) {
        for (std::uint32_t g = 0; g < mesh->GetGroupCount(); ++g) {
            const auto gi = Mesh::D3DRMGROUPINDEX(g);
            const auto& vertices = mesh->GroupVertices(gi);
            const auto& faces = mesh->GroupFaces(gi);
            std::uint32_t face = 0;
            for (std::size_t w = 0; w < faces.size(); ++face) {
                const std::uint32_t n = faces[w++];
                if (w + n > faces.size()) {
                    break;
                }
                for (std::uint32_t i = 1; i + 1 < n; ++i) {
                    consider(vertices[faces[w]].position, vertices[faces[w + i]].position,
                             vertices[faces[w + i + 1]].position, face, gi);
                }
                w += n;
            }
        }
    } else if (builder) {
        std::uint32_t count = builder->GetVertexCount();
        if (skinned) {
            Deform(*builder, world);
        } else {
            m_positions.resize(count);
            builder->GetVertices(0, &count, m_positions.data());
        }
        // A skin that mirrors turns its faces' winding over, as a mirroring frame would.
        const std::uint32_t turn = skinned && m_deformer.Mirrored() ? 1 : 0;
        for (std::uint32_t f = 0; f < builder->GetFaceCount(); ++f) {
            const std::uint32_t n = builder->FaceCornerCount(f);
            const std::uint32_t a = builder->FaceVertexIndex(f, 0);
            for (std::uint32_t i = 1; i + 1 < n; ++i) {
                const std::uint32_t b = builder->FaceVertexIndex(f, i + turn);
                const std::uint32_t c = builder->FaceVertexIndex(f, i + 1 - turn);
                if (a < count && b < count && c < count) {
                    consider(m_positions[a], m_positions[b], m_positions[c], f, -1);
                }
            }
        }
    }
    return found;
}

bool ViewportPicker::TestTriangle(const Vector& a, const Vector& b, const Vector& c,
                                  const Vector& o, const Vector& d, float* t) const {
    const Vector e1 = VectorSubtract(b, a);
    const Vector e2 = VectorSubtract(c, a);
    // Clockwise as seen from the ray's origin is the front: its normal faces the ray.
    const float facing = VectorDotProduct(VectorCrossProduct(e1, e2), d);
    if (facing >= 0) {
        return false;
    }
    const Vector p = VectorCrossProduct(d, e2);
    const float det = VectorDotProduct(e1, p);
    if (det == 0) {
        return false;
    }
    const float inv = 1.0f / det;
    const Vector s = VectorSubtract(o, a);
    const float u = VectorDotProduct(s, p) * inv;
    if (u < 0 || u > 1) {
        return false;
    }
    const Vector q = VectorCrossProduct(s, e1);
    const float v = VectorDotProduct(d, q) * inv;
    if (v < 0 || u + v > 1) {
        return false;
    }
    *t = VectorDotProduct(e2, q) * inv;
    return *t >= m_front && *t <= m_back;
}

} // namespace rm

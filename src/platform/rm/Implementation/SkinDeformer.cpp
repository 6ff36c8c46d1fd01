#include "platform/rm/Implementation/SkinDeformer.h"

#include <algorithm>
#include <cmath>

#include "platform/rm/Implementation/FrameWalk.h"
#include "platform/rm/Math.h"

namespace rm {

namespace {

using Lanes = float __attribute__((vector_size(16)));

float Determinant(const Lanes* r) {
    return r[0][0] * (r[1][1] * r[2][2] - r[1][2] * r[2][1]) -
           r[0][1] * (r[1][0] * r[2][2] - r[1][2] * r[2][0]) +
           r[0][2] * (r[1][0] * r[2][1] - r[1][1] * r[2][0]);
}

} // namespace

bool SkinDeformer::Affine::operator==(const Affine& other) const {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (rows[r][c] != other.rows[r][c]) {
                return false;
            }
        }
    }
    return true;
}

SkinDeformer::Affine SkinDeformer::ToAffine(const Matrix4& m) {
    Affine a;
    for (int r = 0; r < 4; ++r) {
        a.rows[r] = Lanes{m.m[r][0], m.m[r][1], m.m[r][2], r == 3 ? 1.0f : 0.0f};
    }
    return a;
}

void SkinDeformer::Build(const MeshSkin& skin, const std::uint32_t* source, std::size_t count) {
    m_source.resize(count);
    std::uint32_t vertices = 0;
    for (std::size_t i = 0; i < count; ++i) {
        m_source[i] = source ? source[i] : std::uint32_t(i);
        vertices = std::max(vertices, m_source[i] + 1);
    }
    m_first.assign(std::size_t(vertices) + 1, 0);
    for (const SkinBone& bone : skin.bones) {
        for (const std::uint32_t v : bone.vertices) {
            if (v < vertices) {
                ++m_first[v + 1];
            }
        }
    }
    for (std::size_t v = 0; v < vertices; ++v) {
        m_first[v + 1] += m_first[v];
    }
    m_influences.resize(m_first.back());
    std::vector<std::uint32_t> next(m_first.begin(), m_first.end() - 1);
    m_offsets.clear();
    m_names.clear();
    for (std::uint32_t b = 0; b < skin.bones.size(); ++b) {
        const SkinBone& bone = skin.bones[b];
        for (std::size_t k = 0; k < bone.vertices.size() && k < bone.weights.size(); ++k) {
            const std::uint32_t v = bone.vertices[k];
            if (v < vertices) {
                m_influences[next[v]++] = {b, bone.weights[k]};
            }
        }
        m_offsets.push_back(bone.offset);
        m_names.push_back(bone.frameName);
    }
    m_bones.assign(m_offsets.size() + 2, Affine{});
    m_placed.assign(m_offsets.size(), 0);
    ++m_placement;
    m_posed = false;
    Arrange();
}

void SkinDeformer::Arrange() {
    const std::size_t count = m_source.size();
    const auto rigid = std::uint32_t(m_offsets.size());
    const std::uint32_t zero = rigid + 1;
    for (int k = 0; k < 4; ++k) {
        m_slotBone[k].assign(count, zero);
        m_slotWeight[k].assign(count, 0.0f);
    }
    m_wide.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t v = m_source[i];
        const Influence* first = m_influences.data() + m_first[v];
        const std::uint32_t n = m_first[v + 1] - m_first[v];
        if (n > 4) {
            m_wide.push_back(std::uint32_t(i));
            continue;
        }
        // The placed weight summed in the order the general blend sums it, so the two
        // agree on which vertices have none.
        float placed = 0;
        for (std::uint32_t k = 0; k < n; ++k) {
            const bool on = m_placed[first[k].bone] != 0;
            placed += first[k].weight * (on ? 1.0f : 0.0f);
            if (on) {
                m_slotBone[k][i] = first[k].bone;
                m_slotWeight[k][i] = first[k].weight;
            }
        }
        if (placed == 0) {
            for (int k = 0; k < 4; ++k) {
                m_slotBone[k][i] = zero;
                m_slotWeight[k][i] = 0.0f;
            }
            m_slotBone[0][i] = rigid;
            m_slotWeight[0][i] = 1.0f;
        }
    }
    m_arranged = m_placement;
}

bool SkinDeformer::Pose(FrameWalk* walk, const Matrix4& rigid) {
    const std::size_t count = m_offsets.size();
    bool changed = !m_posed;
    m_posed = true;
    Affine a = ToAffine(rigid);
    changed = changed || !(a == m_bones[count]);
    m_bones[count] = a;
    m_mirrored = Determinant(a.rows) < 0;
    bool first = true;
    for (std::size_t b = 0; b < count; ++b) {
        const Matrix4* frame = walk->Find(m_names[b]);
        a = frame ? ToAffine(MatrixMultiply(m_offsets[b], *frame)) : Affine{};
        changed = changed || !(a == m_bones[b]);
        if (m_placed[b] != (frame != nullptr)) {
            m_placed[b] = frame != nullptr;
            ++m_placement;
        }
        m_bones[b] = a;
        if (frame && first) {
            m_mirrored = Determinant(a.rows) < 0;
            first = false;
        }
    }
    if (m_arranged != m_placement) {
        Arrange();
    }
    return changed;
}

void SkinDeformer::CopyPalette(float* out) const {
    // The bones, then the rigid matrix; not the all-0 one.
    for (std::size_t b = 0; b + 1 < m_bones.size(); ++b) {
        const Affine& a = m_bones[b];
        for (int c = 0; c < 3; ++c) {
            for (int r = 0; r < 4; ++r) {
                *out++ = a.rows[r][c];
            }
        }
    }
}

std::size_t SkinDeformer::Influences(FourInfluences* out) const {
    std::size_t clipped = 0;
    for (std::size_t i = 0; i < m_source.size(); ++i) {
        const std::uint32_t v = m_source[i];
        const Influence* first = m_influences.data() + m_first[v];
        const std::uint32_t count = m_first[v + 1] - m_first[v];
        Influence chosen[4] = {};
        if (count <= 4) {
            std::copy(first, first + count, chosen);
        } else {
            ++clipped;
            float total = 0;
            for (std::uint32_t k = 0; k < count; ++k) {
                total += first[k].weight;
            }
            std::partial_sort_copy(
                first, first + count, chosen, chosen + 4,
                [](const Influence& a, const Influence& b) { return a.weight > b.weight; });
            const float kept =
                chosen[0].weight + chosen[1].weight + chosen[2].weight + chosen[3].weight;
            const float scale = kept != 0 ? total / kept : 0;
            for (Influence& slot : chosen) {
                slot.weight *= scale;
            }
        }
        for (int k = 0; k < 4; ++k) {
            out[i].bones[k] = std::uint16_t(chosen[k].bone);
            const bool placed = chosen[k].weight != 0 && m_placed[chosen[k].bone];
            out[i].weights[k] = placed ? chosen[k].weight : 0.0f;
        }
    }
    return clipped;
}

namespace {

// Writes a vertex moved by the blended matrix rows r (linear part, then translation).
inline void Place(const Lanes& r0, const Lanes& r1, const Lanes& r2, const Lanes& r3,
                  const MeshVertex& rest, MeshVertex* out) {
    const Vector& p = rest.position;
    const Vector& n = rest.normal;
    const Lanes moved = p.x * r0 + p.y * r1 + p.z * r2 + r3;
    const Lanes turned = n.x * r0 + n.y * r1 + n.z * r2;
    const float length =
        std::sqrt(turned[0] * turned[0] + turned[1] * turned[1] + turned[2] * turned[2]);
    const float scale = length > 0 ? 1 / length : 0;
    out->position = {moved[0], moved[1], moved[2]};
    out->normal = {turned[0] * scale, turned[1] * scale, turned[2] * scale};
    out->tu = rest.tu;
    out->tv = rest.tv;
    out->color = rest.color;
}

} // namespace

void SkinDeformer::Deform(const MeshVertex* rest, MeshVertex* out) const {
    DeformRange(rest, out, 0, m_source.size());
}

void SkinDeformer::DeformRange(const MeshVertex* rest, MeshVertex* out, std::size_t first,
                               std::size_t last) const {
    const Affine* bones = m_bones.data();
    const std::uint32_t *b0 = m_slotBone[0].data(), *b1 = m_slotBone[1].data(),
                        *b2 = m_slotBone[2].data(), *b3 = m_slotBone[3].data();
    const float *w0 = m_slotWeight[0].data(), *w1 = m_slotWeight[1].data(),
                *w2 = m_slotWeight[2].data(), *w3 = m_slotWeight[3].data();
    // Four places for every vertex, the sum taken in the general blend's order (an unused
    // place adds 0), so both give the same result to the bit.
    for (std::size_t i = first; i < last; ++i) {
        const Lanes* m0 = bones[b0[i]].rows;
        const Lanes* m1 = bones[b1[i]].rows;
        const Lanes* m2 = bones[b2[i]].rows;
        const Lanes* m3 = bones[b3[i]].rows;
        const float a = w0[i], b = w1[i], c = w2[i], d = w3[i];
        const Lanes r0 = a * m0[0] + b * m1[0] + c * m2[0] + d * m3[0];
        const Lanes r1 = a * m0[1] + b * m1[1] + c * m2[1] + d * m3[1];
        const Lanes r2 = a * m0[2] + b * m1[2] + c * m2[2] + d * m3[2];
        const Lanes r3 = a * m0[3] + b * m1[3] + c * m2[3] + d * m3[3];
        Place(r0, r1, r2, r3, rest[i], &out[i]);
    }
    // Vertices of more than four influences: every one of them, in the file's order.
    const auto wideFirst = std::lower_bound(m_wide.begin(), m_wide.end(), first);
    const Influence* influences = m_influences.data();
    const Affine& rigid = bones[m_offsets.size()];
    for (auto it = wideFirst; it != m_wide.end() && *it < last; ++it) {
        const std::uint32_t i = *it;
        const std::uint32_t v = m_source[i];
        Lanes r0{}, r1{}, r2{}, r3{};
        for (std::uint32_t k = m_first[v]; k < m_first[v + 1]; ++k) {
            const Lanes* bone = bones[influences[k].bone].rows;
            const float w = influences[k].weight;
            r0 += w * bone[0];
            r1 += w * bone[1];
            r2 += w * bone[2];
            r3 += w * bone[3];
        }
        if (r3[3] == 0) { // no placed weight
            r0 = rigid.rows[0], r1 = rigid.rows[1], r2 = rigid.rows[2], r3 = rigid.rows[3];
        }
        Place(r0, r1, r2, r3, rest[i], &out[i]);
    }
}

} // namespace rm

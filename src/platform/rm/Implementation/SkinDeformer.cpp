#include "platform/rm/Implementation/SkinDeformer.h"

#include <algorithm>
#include <cmath>

#include "platform/rm/Implementation/FrameWalk.h"
#include "platform/rm/Math.h"

namespace rm {

namespace {

void ToAffine(const Matrix4& m, std::array<float, 12>* out) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            (*out)[std::size_t(r * 3 + c)] = m.m[r][c];
        }
    }
}

float Determinant(const std::array<float, 12>& a) {
    return a[0] * (a[4] * a[8] - a[5] * a[7]) - a[1] * (a[3] * a[8] - a[5] * a[6]) +
           a[2] * (a[3] * a[7] - a[4] * a[6]);
}

} // namespace

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
    m_bones.assign(m_offsets.size(), Affine{});
    m_placed.assign(m_offsets.size(), 0);
    m_posed = false;
}

bool SkinDeformer::Pose(FrameWalk* walk, const Matrix4& rigid) {
    bool changed = !m_posed;
    m_posed = true;
    Affine a;
    ToAffine(rigid, &a);
    changed = changed || a != m_rigid;
    m_rigid = a;
    m_mirrored = Determinant(m_rigid) < 0;
    bool first = true;
    for (std::size_t b = 0; b < m_offsets.size(); ++b) {
        const Matrix4* frame = walk->Find(m_names[b]);
        const std::uint8_t placed = frame != nullptr;
        if (placed) {
            ToAffine(MatrixMultiply(m_offsets[b], *frame), &a);
            changed = changed || a != m_bones[b];
            m_bones[b] = a;
            if (first) {
                m_mirrored = Determinant(a) < 0;
                first = false;
            }
        }
        changed = changed || placed != m_placed[b];
        m_placed[b] = placed;
    }
    return changed;
}

void SkinDeformer::Deform(const MeshVertex* rest, MeshVertex* out) const {
    const Influence* influences = m_influences.data();
    for (std::size_t i = 0; i < m_source.size(); ++i) {
        const std::uint32_t v = m_source[i];
        float m[12] = {};
        float total = 0;
        for (std::uint32_t k = m_first[v]; k < m_first[v + 1]; ++k) {
            const Influence& in = influences[k];
            if (!m_placed[in.bone]) {
                continue;
            }
            const float* bone = m_bones[in.bone].data();
            for (int j = 0; j < 12; ++j) {
                m[j] += in.weight * bone[j];
            }
            total += in.weight;
        }
        const float* a = total != 0 ? m : m_rigid.data();
        const Vector& p = rest[i].position;
        const Vector& n = rest[i].normal;
        MeshVertex& o = out[i];
        o.position = {p.x * a[0] + p.y * a[3] + p.z * a[6] + a[9],
                      p.x * a[1] + p.y * a[4] + p.z * a[7] + a[10],
                      p.x * a[2] + p.y * a[5] + p.z * a[8] + a[11]};
        Vector d{n.x * a[0] + n.y * a[3] + n.z * a[6], n.x * a[1] + n.y * a[4] + n.z * a[7],
                 n.x * a[2] + n.y * a[5] + n.z * a[8]};
        const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
        if (length > 0) {
            d = {d.x / length, d.y / length, d.z / length};
        }
        o.normal = d;
        o.tu = rest[i].tu;
        o.tv = rest[i].tv;
        o.color = rest[i].color;
    }
}

} // namespace rm

#include "scene/WeldList.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/rm/Math.h"

namespace scene {

namespace {

/// One vertex of the walk, in walk order.
struct WalkVertex {
    std::uint32_t frame; // index in walk order of frames
    std::uint32_t meshSlot;
    rm::Mesh* mesh;
    int group;
    int vertex;
    rm::Vector world;
};

void CollectFrames(rm::Frame* frame, std::vector<rm::Frame*>* out) {
    out->push_back(frame);
    for (const auto& child : frame->Children()) {
        CollectFrames(child.Get(), out);
    }
}

struct CellEntry {
    std::int64_t x, y, z;
    std::uint32_t index;
    bool operator<(const CellEntry& o) const {
        if (x != o.x) {
            return x < o.x;
        }
        if (y != o.y) {
            return y < o.y;
        }
        if (z != o.z) {
            return z < o.z;
        }
        return index < o.index;
    }
};

} // namespace

void WeldList::Clear() {
    m_records.clear();
    m_frames.clear();
    m_world.clear();
    m_inverse.clear();
}

void WeldList::Build(rm::Frame* root, float tolerance) {
    Clear();
    if (!root) {
        return;
    }
    std::vector<rm::Frame*> frames;
    CollectFrames(root, &frames);

    // Every vertex of every mesh, in walk order, with its world position computed the
    // same way Frame::Transform does it.
    std::vector<WalkVertex> walk;
    for (std::uint32_t f = 0; f < frames.size(); ++f) {
        const rm::Matrix4 world = frames[f]->WorldTransform();
        std::uint32_t slot = 0;
        for (const auto& visual : frames[f]->Visuals()) {
            auto* mesh = dynamic_cast<rm::Mesh*>(visual.Get());
            if (!mesh) {
                continue;
            }
            for (std::uint32_t g = 0; g < mesh->GetGroupCount(); ++g) {
                const auto& vertices = mesh->GroupVertices(int(g));
                for (std::size_t v = 0; v < vertices.size(); ++v) {
                    walk.push_back({f, slot, mesh, int(g), int(v),
                                    rm::TransformPoint(vertices[v].position, world)});
                }
            }
            ++slot;
        }
    }

    // Cells a little wider than the tolerance: two positions closer than the tolerance
    // on an axis then always fall into the same or neighbouring cells, rounding included.
    const double cellSize = double(tolerance) * 1.0001;
    auto cellOf = [cellSize](float v) { return std::int64_t(std::floor(double(v) / cellSize)); };
    std::vector<CellEntry> cells;
    cells.reserve(walk.size());
    for (std::uint32_t i = 0; i < walk.size(); ++i) {
        const rm::Vector& p = walk[i].world;
        cells.push_back({cellOf(p.x), cellOf(p.y), cellOf(p.z), i});
    }
    std::sort(cells.begin(), cells.end());

    auto readVertex = [](const WalkVertex& w) {
        rm::MeshVertex data;
        w.mesh->GetVertices(w.group, std::uint32_t(w.vertex), 1, &data);
        return data;
    };

    std::vector<std::uint32_t> matches;
    // The anchor records of the current group: indices into m_records, or -1.
    long anchorFrame = -1;
    long anchorMesh = -1;
    for (std::uint32_t i = 0; i < walk.size(); ++i) {
        const WalkVertex& anchor = walk[i];
        const bool groupStart =
            i == 0 || walk[i - 1].mesh != anchor.mesh || walk[i - 1].group != anchor.group ||
            walk[i - 1].frame != anchor.frame || walk[i - 1].meshSlot != anchor.meshSlot;
        if (groupStart) {
            anchorFrame = anchorMesh = -1;
        }
        if (anchorFrame < 0) {
            m_records.push_back({frames[anchor.frame], {}, anchor.frame});
            anchorFrame = long(m_records.size()) - 1;
        }
        if (anchorMesh < 0) {
            m_records[std::size_t(anchorFrame)].meshes.push_back({anchor.mesh, {}});
            anchorMesh = long(m_records[std::size_t(anchorFrame)].meshes.size()) - 1;
        }

        // Candidates in the 27 neighbouring cells, kept when strictly within tolerance on
        // every axis and in a frame visited after the anchor's frame.
        matches.clear();
        const rm::Vector& p = anchor.world;
        const std::int64_t cx = cellOf(p.x), cy = cellOf(p.y), cz = cellOf(p.z);
        for (std::int64_t dx = -1; dx <= 1; ++dx) {
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                for (std::int64_t dz = -1; dz <= 1; ++dz) {
                    const CellEntry lo{cx + dx, cy + dy, cz + dz, 0};
                    auto it = std::lower_bound(cells.begin(), cells.end(), lo);
                    for (; it != cells.end() && it->x == lo.x && it->y == lo.y && it->z == lo.z;
                         ++it) {
                        const WalkVertex& c = walk[it->index];
                        if (c.frame > anchor.frame && std::fabs(c.world.x - p.x) < tolerance &&
                            std::fabs(c.world.y - p.y) < tolerance &&
                            std::fabs(c.world.z - p.z) < tolerance) {
                            matches.push_back(it->index);
                        }
                    }
                }
            }
        }
        if (matches.empty()) {
            continue;
        }
        std::sort(matches.begin(), matches.end());

        // Matches in walk order; a frame record and a mesh record are opened at the first
        // match in each frame and each mesh of this search.
        std::uint32_t lastFrame = UINT32_MAX;
        std::uint32_t lastSlot = UINT32_MAX;
        for (const std::uint32_t m : matches) {
            const WalkVertex& c = walk[m];
            if (c.frame != lastFrame) {
                m_records.push_back({frames[c.frame], {}, c.frame});
                lastFrame = c.frame;
                lastSlot = UINT32_MAX;
            }
            if (c.meshSlot != lastSlot) {
                m_records.back().meshes.push_back({c.mesh, {}});
                lastSlot = c.meshSlot;
            }
            m_records.back().meshes.back().vertexEntries.push_back(
                {c.group, c.vertex, readVertex(c)});
        }
        m_records.back().meshes.back().vertexEntries.push_back({-1, 0, {}});

        m_records[std::size_t(anchorFrame)].meshes[std::size_t(anchorMesh)].vertexEntries.push_back(
            {anchor.group, anchor.vertex, readVertex(anchor)});
        anchorFrame = anchorMesh = -1;
    }
    // Drop the anchor records that never received an entry. Every other record receives
    // one when it is opened, so removing all empty records at the end drops exactly those.
    for (auto& record : m_records) {
        std::erase_if(record.meshes,
                      [](const MeshRecord& mesh) { return mesh.vertexEntries.empty(); });
    }
    std::erase_if(m_records, [](const FrameRecord& record) { return record.meshes.empty(); });

    // Records carry their frame's walk index until here; turn it into a cache slot.
    std::vector<std::uint32_t> slotOfFrame(frames.size(), UINT32_MAX);
    for (auto& record : m_records) {
        const std::uint32_t walkIndex = record.frameSlot;
        if (slotOfFrame[walkIndex] == UINT32_MAX) {
            slotOfFrame[walkIndex] = std::uint32_t(m_frames.size());
            m_frames.push_back(record.frame);
        }
        record.frameSlot = slotOfFrame[walkIndex];
    }
    m_world.resize(m_frames.size());
    m_inverse.resize(m_frames.size());
}

std::size_t WeldList::Update() {
    // World matrices once per frame: the pose does not change during the walk.
    for (std::size_t i = 0; i < m_frames.size(); ++i) {
        m_world[i] = m_frames[i]->WorldTransform();
        rm::MatrixInvert(m_world[i], &m_inverse[i]);
    }
    std::size_t written = 0;
    bool haveAnchor = false;
    rm::Vector anchor;
    for (auto& record : m_records) {
        const rm::Matrix4& world = m_world[record.frameSlot];
        const rm::Matrix4& inverse = m_inverse[record.frameSlot];
        for (auto& mesh : record.meshes) {
            for (auto& entry : mesh.vertexEntries) {
                if (entry.group < 0) {
                    haveAnchor = false;
                    continue;
                }
                if (!haveAnchor) {
                    mesh.mesh->GetVertices(entry.group, std::uint32_t(entry.vertex), 1,
                                           &entry.data);
                    anchor = rm::TransformPoint(entry.data.position, world);
                    haveAnchor = true;
                    continue;
                }
                entry.data.position = rm::TransformPoint(anchor, inverse);
                mesh.mesh->SetVertices(entry.group, std::uint32_t(entry.vertex), 1, &entry.data);
                ++written;
            }
        }
    }
    return written;
}

} // namespace scene

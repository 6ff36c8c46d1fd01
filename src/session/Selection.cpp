#include "session/Selection.h"

#include <algorithm>

#include "platform/rm/Context.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/MeshBuilder.h"
#include "render/SceneSetup.h"

namespace {

bool Carries(const rm::Frame& part, const rm::Visual* visual) {
    const auto& visuals = part.Visuals();
    return std::any_of(visuals.begin(), visuals.end(),
                       [visual](const auto& each) { return each.Get() == visual; });
}

bool SameBox(const rm::Box& a, const rm::Box& b) {
    return a.min.x == b.min.x && a.min.y == b.min.y && a.min.z == b.min.z && a.max.x == b.max.x &&
           a.max.y == b.max.y && a.max.z == b.max.z;
}

/// Depth-first walk under `root` counting frames in `*index` until `frame` is met.
bool Find(const rm::Frame* root, const rm::Frame* frame, int* index) {
    if (root == frame) {
        return true;
    }
    for (const auto& child : root->Children()) {
        ++*index;
        if (Find(child.Get(), frame, index)) {
            return true;
        }
    }
    return false;
}

} // namespace

Selection::Selection() = default;

Selection::~Selection() = default;

rm::Mesh* Selection::Mesh() const {
    return dynamic_cast<rm::Mesh*>(m_visual.Get());
}

rm::MeshBuilder* Selection::MeshBuilder() const {
    return dynamic_cast<rm::MeshBuilder*>(m_visual.Get());
}

void Selection::Select(rm::Frame* part, rm::Visual* visual) {
    if (part == nullptr) {
        Clear();
        return;
    }
    m_part = part;
    m_visual = visual;
    DropBox();
}

void Selection::Clear() {
    m_part = nullptr;
    m_visual = nullptr;
    m_visualCycle = 0;
    m_partIndex = 0;
    DropBox();
}

rm::Frame* Selection::Resolve(rm::Frame* sceneRoot, rm::Frame* modelRoot) {
    if (m_part == nullptr) {
        return nullptr;
    }
    if (sceneRoot == nullptr || m_part->GetScene() != sceneRoot) {
        Clear();
        return nullptr;
    }
    if (m_visual != nullptr && !Carries(*m_part, m_visual.Get())) {
        // The part's visuals were replaced (the skin builds new meshes): the same place.
        const auto& visuals = m_part->Visuals();
        const int count = static_cast<int>(visuals.size());
        m_visual =
            count == 0
                ? nullptr
                : visuals[static_cast<std::size_t>(
                              m_visualCycle >= 0 && m_visualCycle < count ? m_visualCycle : 0)]
                      .Get();
        DropBox();
    }
    if (modelRoot != nullptr) {
        m_partIndex = std::max(0, IndexOf(modelRoot, m_part.Get()));
    }
    return m_part.Get();
}

rm::Frame* Selection::PlacedBox(rm::Context* d3drm) {
    rm::Box shape;
    if (m_part == nullptr || m_visual == nullptr || d3drm == nullptr ||
        rm::Failed(m_visual->GetBox(&shape))) {
        return nullptr;
    }
    if (m_boxFrame == nullptr || m_boxMesh == nullptr || !SameBox(shape, m_boxShape)) {
        DropBox();
        rm::Ref<rm::Frame> frame;
        if (rm::Failed(d3drm->CreateFrame(nullptr, &frame)) ||
            !render::SceneSetup::CreateSelectionBox(d3drm, frame.Get(), &shape, &m_boxMesh)) {
            DropBox();
            return nullptr;
        }
        m_boxFrame = frame;
        m_boxShape = shape;
    }
    m_boxFrame->AddTransform(rm::D3DRMCOMBINE_REPLACE, m_part->WorldTransform());
    return m_boxFrame.Get();
}

int Selection::IndexOf(rm::Frame* root, const rm::Frame* frame) {
    if (root == nullptr || frame == nullptr) {
        return -1;
    }
    int index = 0;
    return Find(root, frame, &index) ? index : -1;
}

void Selection::DropBox() {
    m_boxFrame = nullptr;
    m_boxMesh = nullptr;
    m_boxShape = rm::Box{};
}

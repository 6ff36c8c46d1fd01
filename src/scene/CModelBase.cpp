#include "scene/CModelBase.h"

#include "platform/rm/Context.h"
#include "scene/PartNaming.h"
#include "scene/SceneContext.h"
#include "scene/SkinEdits.h"

CModelBase::CModelBase() {
    if (g_d3drm) {
        g_d3drm->CreateFrame(nullptr, &m_root);
    }
}

CModelBase::~CModelBase() {
    m_welds.Clear();
    if (m_root && m_root->GetParent()) {
        m_root->GetParent()->DeleteChild(m_root.Get());
    }
    m_root.Reset();
}

int CModelBase::NamePartsAndRecord(rm::Frame* frame) {
    if (!frame) {
        return 0;
    }
    scene::NameFrame(frame, scene::FrameOrigin::Model, &m_tempNameCount);
    // A snapshot: naming never changes the tree, but the override may be re-entered.
    for (const auto& child : frame->GetChildren()) {
        NamePartsAndRecord(child.Get());
    }
    return 1;
}

int CModelBase::Scale(rm::Frame* frame, float sx, float sy, float sz) {
    if (!frame) {
        return 0;
    }
    // The model is scaled, not the pose shown: the edit starts from the rest transform.
    frame->ResetPose();
    rm::Frame* parent = frame->GetParent();
    rm::Vector p;
    frame->GetPosition(parent, &p);
    frame->SetPosition(parent, p.x * sx, p.y * sy, p.z * sz);
    for (const auto& visual : frame->Visuals()) {
        if (auto* builder = dynamic_cast<rm::MeshBuilder*>(visual.Get())) {
            builder->Scale(sx, sy, sz);
            if (builder->HasSkin()) {
                rm::MeshSkin skin = builder->GetSkin();
                scene::ScaleSkinOffsets(skin, sx, sy, sz);
                builder->SetSkin(std::move(skin));
            }
        } else if (auto* mesh = dynamic_cast<rm::Mesh*>(visual.Get())) {
            mesh->Scale(sx, sy, sz);
        }
    }
    for (const auto& child : frame->Children()) {
        Scale(child.Get(), sx, sy, sz);
    }
    return 1;
}

int CModelBase::ResetOrientation(rm::Frame* frame) {
    if (!frame) {
        return 0;
    }
    if (frame != m_root.Get()) {
        frame->ResetPose();
        frame->SetOrientation(frame->GetParent(), 0, 0, 1, 0, 1, 0);
    }
    for (const auto& child : frame->Children()) {
        ResetOrientation(child.Get());
    }
    return 1;
}

int CModelBase::ConvertMeshBuilders(rm::Frame* frame) {
    if (!frame) {
        return 0;
    }
    for (const auto& visual : frame->GetVisuals()) {
        auto* builder = dynamic_cast<rm::MeshBuilder*>(visual.Get());
        // A mesh with skin weights follows its bones, not the welds: it stays a builder,
        // which the weld list leaves out, and keeps its weights.
        if (!builder || builder->HasSkin()) {
            continue;
        }
        rm::Ref<rm::Mesh> mesh;
        if (rm::Failed(builder->CreateMesh(&mesh)) || !mesh) {
            continue;
        }
        // The mesh takes over the builder's name and its file-name record, so a later
        // save still writes the visual's name from the file.
        mesh->SetName(builder->Name());
        mesh->SetAppData(builder->GetAppData());
        builder->SetAppData(0);
        frame->DeleteVisual(builder);
        frame->AddVisual(mesh.Get());
    }
    for (const auto& child : frame->Children()) {
        ConvertMeshBuilders(child.Get());
    }
    return 1;
}

int CModelBase::DetachFromScene(rm::Frame* parent) {
    if (!m_root) {
        return 0;
    }
    rm::Frame* from = parent ? parent : m_root->GetParent();
    if (!from) {
        return 0;
    }
    return rm::Succeeded(from->DeleteChild(m_root.Get())) ? 1 : 0;
}

int CModelBase::EnableSkin() {
    if (!m_root) {
        return 0;
    }
    m_welds.Clear();
    m_skinOn = 1;
    ConvertMeshBuilders(m_root.Get());
    ResetOrientation(m_root.Get());
    m_welds.Build(m_root.Get(), m_weldTolerance);
    return 1;
}

int CModelBase::UpdateSkin() {
    if (!m_skinOn) {
        return 0;
    }
    m_welds.Update();
    return 1;
}

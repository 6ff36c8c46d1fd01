#include "render/ParentD3R.h"

#include <cstdio>

#include "platform/rm/DebugOutput.h"

namespace render {

ParentD3R::ParentD3R() {
    CreateD3DRM();
}

ParentD3R::~ParentD3R() {
    for (int i = 0; i < kSlotCount; ++i) {
        Direct3R* child = m_children[i];
        ReleaseChild(&child);
    }
    m_d3drm = nullptr;
}

int ParentD3R::CreateD3DRM() {
    rm::OutputDebugStringA("ParentD3R:CreateD3DRM\n");
    rm::Ref<rm::Context> created;
    if (rm::Failed(rm::Direct3DRMCreate(&created)) || !created) {
        rm::OutputDebugStringA("ParentD3R:Create IDirect3DRM error\n");
        return 0;
    }
    m_d3drm = created;
    return 1;
}

int ParentD3R::CreateChild(Direct3R** out) {
    if (!out) {
        return 0;
    }
    auto* child = new Direct3R;
    AddChildDevice(child);
    *out = child;
    return 1;
}

int ParentD3R::ReleaseChild(Direct3R** slot) {
    if (!slot || !*slot) {
        return 0;
    }
    Direct3R* child = *slot;
    DeleteChildDevice(child);
    child->Cleanup();
    delete child;
    *slot = nullptr;
    return 1;
}

int ParentD3R::AddChildDevice(Direct3R* child) {
    for (int i = 0; i < kSlotCount; ++i) {
        if (!m_children[i]) {
            m_children[i] = child;
            char line[64];
            std::snprintf(line, sizeof line, "ParentD3R:Add Child %d\n", i);
            rm::OutputDebugStringA(line);
            if (m_d3drm && child) {
                child->m_d3drm = m_d3drm;
            }
            return 1;
        }
    }
    return 0;
}

int ParentD3R::DeleteChildDevice(Direct3R* child) {
    for (int i = 0; i < kSlotCount; ++i) {
        if (child && m_children[i] == child) {
            m_children[i] = nullptr;
            char line[64];
            std::snprintf(line, sizeof line, "ParentD3R:Delete Child %d\n", i);
            rm::OutputDebugStringA(line);
            return 1;
        }
    }
    return 0;
}

} // namespace render

#include "render/ParentD3R.h"

#include <algorithm>
#include <cstdio>

#include "platform/Assert.h"
#include "platform/rm/DebugOutput.h"

namespace render {

ParentD3R::ParentD3R() {
    CreateD3DRM();
}

ParentD3R::~ParentD3R() {
    while (!m_owned.empty()) {
        Direct3R* child = m_owned.front().get();
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
    Direct3R* child = m_owned.emplace_back(std::make_unique<Direct3R>()).get();
    AddChildDevice(child);
    *out = child;
    return 1;
}

int ParentD3R::ReleaseChild(Direct3R** slot) {
    if (!slot || !*slot) {
        return 0;
    }
    const auto owned = std::find_if(m_owned.begin(), m_owned.end(),
                                    [slot](const auto& child) { return child.get() == *slot; });
    PAVRIX_ASSERT(owned != m_owned.end(), "ParentD3R::ReleaseChild: not a wrapper this made");
    DeleteChildDevice(owned->get());
    (*owned)->Cleanup();
    m_owned.erase(owned);
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

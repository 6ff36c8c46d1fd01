#include "cli/HeadlessScene.h"

#include <string_view>
#include <utility>

#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"

namespace cli {

HeadlessScene::HeadlessScene(std::ostream& err) : m_previousD3drm(g_d3drm) {
    rm::Direct3DRMCreate(&m_d3drm);
    g_d3drm = m_d3drm.Get();
    m_store = std::make_unique<CObjectStore>(&g_modelLibrary, &g_animationLibrary);
    if (m_d3drm) {
        m_d3drm->CreateFrame(nullptr, &m_sceneFrame);
    }
    m_previousHook =
        scene::SetMessageHook([&err](std::string_view text) { err << "pavrix: " << text << '\n'; });
    document.sceneFrame = m_sceneFrame.Get();
    document.store = m_store.get();
}

HeadlessScene::~HeadlessScene() {
    // The store goes first: its models take their root frames out of the scene frame.
    m_store.reset();
    m_sceneFrame.Reset();
    scene::SetMessageHook(std::move(m_previousHook));
    g_d3drm = m_previousD3drm;
}

} // namespace cli

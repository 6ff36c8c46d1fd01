#include "app/SceneServices.h"

#include "app/ProgramState.h"
#include "platform/rm/DebugOutput.h"
#include "platform/rm/Frame.h"
#include "render/ModelFraming.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/DocumentOpen.h"

SceneServices::SceneServices(std::function<void()> onSceneCleared)
    : m_onSceneCleared(std::move(onSceneCleared)) {}

SceneServices::~SceneServices() = default;

int SceneServices::Create(rm::Context* d3drm) {
    g_d3drm = d3drm;
    // The store publishes its two libraries in g_modelLibrary and g_animationLibrary.
    m_libraries = std::make_unique<CObjectStore>(&g_modelLibrary, &g_animationLibrary);
    g_libraries = m_libraries.get();

    if (!render::SceneSetup::CreateSceneFrames(g_d3drm, render::kAppWorkspaceColor,
                                               render::kInactiveBorderColor, &m_scene)) {
        return 0;
    }
    g_sceneRoot = m_scene.sceneRoot.Get();
    g_sceneFrame = m_scene.sceneFrame.Get();
    g_gridFrame = m_scene.gridFrame.Get();
    return 1;
}

void SceneServices::Release(rm::Context* d3drm) {
    if (m_libraries != nullptr) {
        // Characters, then animation sets, then models: the store's own order.
        m_libraries.reset();
        g_libraries = nullptr;
    }
    rm::OutputDebugStringA("Release D3DRM frame\n");
    g_sceneFrame = nullptr;
    m_scene.sceneFrame = nullptr;
    g_gridFrame = nullptr;
    m_scene.gridFrame = nullptr;
    g_sceneRoot = nullptr;
    m_scene.sceneRoot = nullptr;
    EmptyCurrentPointers();
    EmptySelection();
    if (g_d3drm == d3drm) {
        g_d3drm = nullptr;
    }
}

int SceneServices::BuildGrid(rm::Context* d3drm) {
    const int built =
        render::SceneSetup::BuildGrid(d3drm, render::kInactiveBorderColor, &m_scene.gridFrame);
    g_gridFrame = m_scene.gridFrame.Get();
    return built;
}

int SceneServices::ClearSelection() {
    if (g_selection.Part() != nullptr) {
        g_redrawRequest = 1;
    }
    EmptySelection();
    return 1;
}

scene::SceneDocument SceneServices::MakeSceneDocument() {
    scene::SceneDocument doc;
    doc.sceneFrame = g_sceneFrame;
    doc.store = g_libraries;
    doc.currentCharacter = g_currentCharacter;
    doc.currentModel = g_currentModel;
    doc.currentAnimation = g_currentAnimation;
    doc.onSceneCleared = [this] { OnSceneCleared(); };
    return doc;
}

void SceneServices::TakeCurrentPointers(const scene::SceneDocument& doc) {
    g_currentCharacter = doc.currentCharacter;
    g_currentModel = doc.currentModel;
    g_currentAnimation = doc.currentAnimation;
}

int SceneServices::ClearScene(int all) {
    ClearSelection();
    scene::SceneDocument doc = MakeSceneDocument();
    scene::ClearScene(doc, all);
    return 1;
}

void SceneServices::OnSceneCleared() {
    EmptySelection();
    EmptyCurrentPointers();
    g_keyIndex = 0;
    g_keyTime = 0;
    g_currentTime = 0;
    // What was shown is gone: the view must draw the empty scene.
    g_redrawRequest = 1;
    if (m_onSceneCleared) {
        m_onSceneCleared();
    }
}

int SceneServices::CenterOnFrame(rm::Frame* pivot, rm::Frame* frame) {
    if (pivot == nullptr || frame == nullptr) {
        return 0;
    }
    render::SceneSetup::CenterOnFrame(pivot, frame);
    g_redrawRequest = 1;
    return 1;
}

rm::Frame* SceneServices::CenterTarget() {
    if (g_selection.Part() != nullptr && g_currentAnimation != nullptr &&
        g_currentAnimation->Model() != nullptr && g_currentAnimation->Model()->Root() != nullptr) {
        return g_currentAnimation->Model()->Root();
    }
    return g_sceneFrame;
}

int SceneServices::FrameWholeModel(rm::Frame* pivot, rm::Viewport* viewport) {
    if (pivot == nullptr || viewport == nullptr ||
        !render::ModelFraming::FrameWhole(pivot, viewport, CenterTarget())) {
        return 0;
    }
    g_redrawRequest = 1;
    return 1;
}

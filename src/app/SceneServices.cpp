#include "app/SceneServices.h"

#include "platform/rm/DebugOutput.h"
#include "platform/rm/Frame.h"
#include "render/ModelFraming.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/DocumentOpen.h"
#include "session/EditContext.h"

SceneServices::SceneServices(session::EditContext& context, std::function<void()> onSceneCleared)
    : m_context(context), m_onSceneCleared(std::move(onSceneCleared)) {}

SceneServices::~SceneServices() = default;

int SceneServices::Create(rm::Context* d3drm) {
    g_d3drm = d3drm;
    // The store publishes its two libraries in g_modelLibrary and g_animationLibrary.
    m_libraries = std::make_unique<CObjectStore>(&g_modelLibrary, &g_animationLibrary);
    m_context.libraries = m_libraries.get();

    if (!render::SceneSetup::CreateSceneFrames(g_d3drm, render::kAppWorkspaceColor,
                                               render::kInactiveBorderColor, &m_scene)) {
        return 0;
    }
    PublishFrames();
    return 1;
}

void SceneServices::PublishFrames() {
    m_context.sceneRoot = m_scene.sceneRoot.Get();
    m_context.sceneFrame = m_scene.sceneFrame.Get();
    m_context.gridFrame = m_scene.gridFrame.Get();
}

void SceneServices::Release(rm::Context* d3drm) {
    if (m_libraries != nullptr) {
        // Characters, then animation sets, then models: the store's own order.
        m_libraries.reset();
        m_context.libraries = nullptr;
    }
    rm::OutputDebugStringA("Release D3DRM frame\n");
    m_scene.sceneFrame = nullptr;
    m_scene.gridFrame = nullptr;
    m_scene.sceneRoot = nullptr;
    PublishFrames();
    m_context.EmptyCurrentPointers();
    m_context.EmptySelection();
    if (g_d3drm == d3drm) {
        g_d3drm = nullptr;
    }
}

int SceneServices::BuildGrid(rm::Context* d3drm) {
    const int built =
        render::SceneSetup::BuildGrid(d3drm, render::kInactiveBorderColor, &m_scene.gridFrame);
    PublishFrames();
    return built;
}

int SceneServices::ClearSelection() {
    if (m_context.selection.Part() != nullptr) {
        m_context.redrawRequest = true;
    }
    m_context.EmptySelection();
    return 1;
}

scene::SceneDocument SceneServices::MakeSceneDocument() {
    scene::SceneDocument doc = m_context.MakeSceneDocument();
    doc.onSceneCleared = [this] { OnSceneCleared(); };
    return doc;
}

int SceneServices::ClearScene(scene::ClearExtent extent) {
    ClearSelection();
    scene::SceneDocument doc = MakeSceneDocument();
    scene::ClearScene(doc, extent);
    return 1;
}

void SceneServices::OnSceneCleared() {
    m_context.EmptySelection();
    m_context.EmptyCurrentPointers();
    m_context.keyIndex = 0;
    m_context.keyTime = 0;
    m_context.currentTime = 0;
    // What was shown is gone: the view must draw the empty scene.
    m_context.redrawRequest = true;
    if (m_onSceneCleared) {
        m_onSceneCleared();
    }
}

int SceneServices::CenterOnFrame(rm::Frame* pivot, rm::Frame* frame) {
    if (pivot == nullptr || frame == nullptr) {
        return 0;
    }
    render::SceneSetup::CenterOnFrame(pivot, frame);
    m_context.redrawRequest = true;
    return 1;
}

rm::Frame* SceneServices::CenterTarget() const {
    if (m_context.selection.Part() != nullptr && m_context.currentAnimation != nullptr &&
        m_context.currentAnimation->Model() != nullptr &&
        m_context.currentAnimation->Model()->Root() != nullptr) {
        return m_context.currentAnimation->Model()->Root();
    }
    return m_context.sceneFrame;
}

int SceneServices::FrameWholeModel(rm::Frame* pivot, rm::Viewport* viewport) {
    if (pivot == nullptr || viewport == nullptr ||
        !render::ModelFraming::FrameWhole(pivot, viewport, CenterTarget())) {
        return 0;
    }
    m_context.redrawRequest = true;
    return 1;
}

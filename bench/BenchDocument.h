#pragma once

// The scene the editor's main frame gives the document (the shared factory, an object
// store publishing its libraries, a scene frame), made for one benchmark, with the scene's
// messages silenced.

#include <memory>
#include <string_view>

#include "CurrentFactory.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/DocumentOpen.h"
#include "scene/SceneContext.h"
#include "scene/SceneMessages.h"

class BenchDocument : public CurrentFactory {
public:
    BenchDocument() {
        m_store = std::make_unique<CObjectStore>(&g_modelLibrary, &g_animationLibrary);
        d3drm->CreateFrame(nullptr, &m_sceneFrame);
        document.sceneFrame = m_sceneFrame.Get();
        document.store = m_store.get();
        scene::SetMessageHook([](std::string_view) {});
    }
    ~BenchDocument() {
        m_store.reset();
        m_sceneFrame.Reset();
        scene::SetMessageHook({});
    }

    /// File Open of `path` (a new scene); true on success.
    bool Open(const char* path) {
        return scene::OpenDocument(document, path, scene::kOpenNewScene).ok != 0;
    }

    scene::SceneDocument document;

private:
    std::unique_ptr<CObjectStore> m_store;
    rm::Ref<rm::Frame> m_sceneFrame;
};

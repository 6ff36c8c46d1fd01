#pragma once

// The scene the editor's main frame provides to the document, made for one test: the
// shared factory, an object store publishing its libraries, a scene frame and a document
// naming them; the scene's own messages and the document's messages are captured.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rm/Context.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/DocumentOpen.h"
#include "scene/SceneContext.h"
#include "scene/SceneMessages.h"
#include "support/XFileTestSupport.h"
#include "xfile/DocumentSave.h"

class DocumentSceneFixture : public ::testing::Test {
protected:
    DocumentSceneFixture() {
        rm::Direct3DRMCreate(&d3drm);
        g_d3drm = d3drm.Get();
        store = std::make_unique<CObjectStore>(&g_modelLibrary, &g_animationLibrary);
        d3drm->CreateFrame(nullptr, &sceneFrame);
        doc.sceneFrame = sceneFrame.Get();
        doc.store = store.get();
        previousHook = scene::SetMessageHook(
            [this](std::string_view text) { sceneMessages.emplace_back(text); });
    }
    ~DocumentSceneFixture() override {
        store.reset();
        sceneFrame.Reset();
        g_d3drm = nullptr;
        scene::SetMessageHook(previousHook);
    }

    /// Opens path with mode; the test fails when the open does not succeed.
    void MustOpen(const std::string& path, scene::OpenMode mode = scene::OpenMode::NewScene) {
        const scene::DocumentOpenResult result = scene::OpenDocument(doc, path.c_str(), mode);
        ASSERT_EQ(result.ok, 1) << path << ": " << result.reason;
    }
    /// Saves the current character (with all its animation sets) as the document does;
    /// returns the writer's result.
    int Save(const std::string& path, std::string* error = nullptr) {
        return xfile::SaveDocument(path.c_str(), doc, error);
    }

    rm::Ref<rm::Context> d3drm;
    std::unique_ptr<CObjectStore> store;
    rm::Ref<rm::Frame> sceneFrame;
    scene::SceneDocument doc;
    std::vector<std::string> sceneMessages;
    scene::MessageHook previousHook;
    testing_xfile::TempFolder folder;
};

#pragma once

// The scene the editor's main frame gives the document, made for one test: SceneFixture's
// factory and object store, a scene frame and a document naming them, and a scratch
// folder for the files the test writes.

#include <string>

#include "scene/SceneDocument.h"
#include "scene/SceneFixture.h"
#include "support/XFileTestSupport.h"

class DocumentFixture : public SceneFixture {
protected:
    DocumentFixture() {
        d3drm->CreateFrame(nullptr, &sceneFrame);
        doc.sceneFrame = sceneFrame.Get();
        doc.store = store.get();
    }
    ~DocumentFixture() override {
        // The store lets go of the scene's objects before the scene frame does.
        store.reset();
        sceneFrame.Reset();
    }

    /// Writes `text` as the file `name` in the scratch folder; its path.
    std::string WriteInFolder(const char* name, const std::string& text) {
        const std::string path = folder.File(name);
        testing_xfile::WriteFile(path, text);
        return path;
    }

    testing_xfile::TempFolder folder;
    rm::Ref<rm::Frame> sceneFrame;
    scene::SceneDocument doc;
};

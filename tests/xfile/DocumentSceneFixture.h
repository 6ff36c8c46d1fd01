#pragma once

// The document's scene (DocumentFixture) with the document's own open and save.

#include <string>

#include <gtest/gtest.h>

#include "scene/DocumentFixture.h"
#include "scene/DocumentOpen.h"
#include "xfile/DocumentSave.h"

class DocumentSceneFixture : public DocumentFixture {
protected:
    /// Opens path with mode; the test fails when the open does not succeed.
    void MustOpen(const std::string& path, int mode = scene::kOpenNewScene) {
        const scene::DocumentOpenResult result = scene::OpenDocument(doc, path.c_str(), mode);
        ASSERT_EQ(result.ok, 1) << path << ": " << result.reason;
    }
    /// Saves the current character (with all its animation sets) as the document does;
    /// returns the writer's result.
    int Save(const std::string& path, std::string* error = nullptr) {
        return xfile::SaveDocument(path.c_str(), doc, error);
    }
};

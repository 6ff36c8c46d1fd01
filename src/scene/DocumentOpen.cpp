#include "scene/DocumentOpen.h"

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "platform/rm/Frame.h"
#include "platform/rm/XFileLoader.h"
#include "platform/rm/XFileOpenScope.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/ModelFile.h"

namespace scene {

namespace {

void Show(SceneDocument& doc, DocumentOpenResult& result, const char* text, bool notice,
          std::string detail = {}) {
    DocumentMessage message;
    message.text = text;
    message.detail = std::move(detail);
    message.notice = notice;
    result.messages.push_back(message);
    if (doc.onMessage) {
        doc.onMessage(message);
    }
}

DocumentOpenResult& Fail(SceneDocument& doc, DocumentOpenResult& result, const char* message,
                         std::string reason) {
    if (message) {
        Show(doc, result, message, false, reason);
    }
    result.ok = 0;
    result.reason = reason.empty() && message ? message : std::move(reason);
    return result;
}

} // namespace

int ClearScene(SceneDocument& doc, ClearExtent extent) {
    if (extent == ClearExtent::Everything) {
        if (doc.store) {
            // Characters go first so none refers to a set or model that is already gone;
            // sets go before the models they are bound to.
            doc.store->Characters().Clear();
            doc.store->Animations().Entries().Clear();
            doc.store->Models().Entries().Clear();
        }
    } else if (doc.currentCharacter && doc.currentAnimation && doc.currentModel) {
        if (rm::Frame* root = doc.currentModel->Root()) {
            if (doc.sceneFrame) {
                doc.sceneFrame->DeleteChild(root);
            } else if (rm::Frame* parent = root->GetParent()) {
                parent->DeleteChild(root);
            }
        }
        if (doc.store) {
            doc.store->Characters().Remove(doc.currentCharacter);
        }
    }
    doc.currentCharacter = nullptr;
    doc.currentModel = nullptr;
    doc.currentAnimation = nullptr;
    if (doc.onSceneCleared) {
        doc.onSceneCleared();
    }
    return 1;
}

DocumentOpenResult CheckOpenable(SceneDocument& doc, const char* path, OpenMode mode) {
    DocumentOpenResult result;
    if (!path || mode < OpenMode::NewScene || mode > OpenMode::ChangeModel) {
        return Fail(doc, result, nullptr, "no file to open");
    }
    if (mode == OpenMode::ChangeAnimation && !doc.currentCharacter) {
        return Fail(doc, result, kLoadModelFirstMessage, "");
    }
    const bool needsModel = mode != OpenMode::ChangeAnimation;
    const char* failed = needsModel ? kModelLoadFailedMessage : kAnimationLoadFailedMessage;
    rm::XFileContents contents;
    if (const rm::HRESULT read = rm::ReadXFileContents(path, needsModel, &contents);
        rm::Failed(read)) {
        if (!needsModel) {
            result.animationLoadResult = read;
            result.animationLoadError = rm::GetLastLoadMessage();
        }
        return Fail(doc, result, failed, WithBareFileName(rm::GetLastLoadMessage(), path));
    }
    if (needsModel && !contents.model) {
        return Fail(doc, result, failed,
                    WithBareFileName(std::string(path) +
                                         ": expected a Frame or a Mesh, found neither in the file",
                                     path));
    }
    result.ok = 1;
    return result;
}

namespace {

DocumentOpenResult RunOpen(SceneDocument& doc, const char* path, OpenMode mode) {
    DocumentOpenResult result;
    if (!g_d3drm || !doc.sceneFrame || !doc.store) {
        return Fail(doc, result, nullptr, "there is no scene to open into");
    }
    // The file is read before anything of the document goes: a file that cannot be opened
    // leaves the scene, its characters and their sets as they were.
    if (DocumentOpenResult check = CheckOpenable(doc, path, mode); !check.ok) {
        return check;
    }

    // What an insert that cannot load its model goes back to.
    CCharacterData* const previousCharacter = doc.currentCharacter;
    CModelData* const previousModel = doc.currentModel;
    CAnimationData* const previousAnimation = doc.currentAnimation;

    CCharacterData* character = nullptr;
    switch (mode) {
    case OpenMode::NewScene:
    case OpenMode::InsertCharacter:
        if (mode == OpenMode::NewScene) {
            ClearScene(doc, ClearExtent::Everything);
        }
        character = doc.store->Characters().Add();
        character->m_ownsData = 1;
        break;
    case OpenMode::ChangeAnimation:
        character = doc.currentCharacter;
        if (!character) {
            return Fail(doc, result, kLoadModelFirstMessage, "");
        }
        break;
    case OpenMode::ChangeModel:
        character = doc.currentCharacter;
        if (!character) {
            character = doc.store->Characters().Add();
        }
        break;
    }

    doc.currentCharacter = character;
    if (!doc.currentCharacter) {
        return Fail(doc, result, kNoCharacterMessage, "");
    }

    if (mode != OpenMode::ChangeAnimation) {
        std::string error;
        CModelData* model = LoadModel(path, &error);
        if (!model) {
            if (mode == OpenMode::InsertCharacter) {
                // Nothing of the file is in the scene: the character made for it goes, and
                // the document stays as it was.
                doc.store->Characters().Remove(character);
                doc.currentCharacter = previousCharacter;
                doc.currentModel = previousModel;
                doc.currentAnimation = previousAnimation;
            }
            return Fail(doc, result, kModelLoadFailedMessage,
                        error.empty() ? std::string(path) + ": cannot load the model" : error);
        }
        character->SetModel(model);
    }

    doc.currentModel = character->m_model;
    if (!doc.currentModel) {
        return Fail(doc, result, kNoModelMessage, "");
    }

    rm::Frame* root = doc.currentModel->Root();
    // Attaching a root that is already in the scene frame again would only move it to the
    // end of the scene's children.
    if (root && root->GetParent() != doc.sceneFrame) {
        doc.sceneFrame->AddChild(root);
    }

    if (mode == OpenMode::ChangeModel) {
        if (!character->m_current) {
            return Fail(doc, result, nullptr,
                        "the character has no animation set to bind to the new model");
        }
        character->SetModel(nullptr);
    } else {
        // The character's sets leave the library before the new ones are named, so a change
        // of animation to the file the present sets came from keeps their entry names.
        character->SetCapacity(0);
        std::string error;
        rm::HRESULT loaded = rm::D3DRM_OK;
        std::vector<CAnimationData*> animations = LoadAnimations(path, &error, &loaded);
        if (animations.empty()) {
            animations.push_back(NewAnimation(path));
            result.createdEmptyAnimation = true;
            result.animationLoadError = error;
            result.animationLoadResult = loaded;
        }
        character->SetCapacity(int(animations.size()));
        for (CAnimationData* animation : animations) {
            character->AddAnimation(animation);
        }
        if (result.createdEmptyAnimation) {
            Show(doc, result, kEmptyAnimationNotice, true);
        }
        character->SelectAnimation(0);
    }

    doc.currentAnimation = character->m_current;
    if (!doc.currentAnimation) {
        return Fail(doc, result, kNoAnimationMessage, "");
    }

    CModelData* bound = doc.currentAnimation->Model();
    result.centerFrame = bound ? bound->Root() : nullptr;
    doc.currentAnimation->UpdateTotalKeyTimeBuffer();

    if (g_animationLibrary) {
        const auto* entry = g_animationLibrary->Entries().FindEntry(doc.currentAnimation);
        if (entry && entry->Name()) {
            result.pathName = entry->Name();
        }
    }
    result.ok = 1;
    return result;
}

} // namespace

DocumentOpenResult OpenDocument(SceneDocument& doc, const char* path, OpenMode mode) {
    // The model and the animation set of one file come from one read of it.
    const rm::XFileOpenScope scope;
    // One of the two places out of memory is caught (see "Errors" in README.md): a file
    // can make the open ask for more than there is.
    try {
        return RunOpen(doc, path, mode);
    } catch (const std::bad_alloc&) {
        // What was done stays, and the current pointers must not name an animation set the
        // character has already dropped.
        doc.currentModel = doc.currentCharacter ? doc.currentCharacter->m_model : nullptr;
        doc.currentAnimation = doc.currentCharacter ? doc.currentCharacter->m_current : nullptr;
        DocumentOpenResult result;
        result.reason =
            std::string(path ? path : "(null)") + ": memory ran out while opening the file";
        return result;
    }
}

} // namespace scene

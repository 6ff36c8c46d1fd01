#include "session/EditContext.h"

#include "platform/rm/Frame.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "scene/SceneDocument.h"

namespace session {

EditContext::EditContext(const scene::SceneDocument& doc) {
    sceneFrame = doc.sceneFrame;
    libraries = doc.store;
    TakeCurrentPointers(doc);
}

void EditContext::Reset() {
    static_cast<EditState&>(*this) = EditState();
    EmptySelection();
    // g_modelLibrary and g_animationLibrary are the object store's to publish and withdraw.
}

void EditContext::SetSelectedPart(rm::Frame* frame) {
    selection.Select(frame, nullptr);
}

rm::Frame* EditContext::SelectedPartInScene() {
    rm::Frame* before = selection.Part();
    rm::Frame* part = selection.Resolve(sceneRoot);
    if (part != before) {
        redrawRequest = true;
    }
    return part;
}

rm::Frame* EditContext::CurrentModelRoot() const {
    if (currentModel != nullptr) {
        return currentModel->Root();
    }
    if (currentAnimation != nullptr && currentAnimation->Model() != nullptr) {
        return currentAnimation->Model()->Root();
    }
    return nullptr;
}

void EditContext::EmptySelection() {
    selection.Clear();
}

void EditContext::EmptyCurrentPointers() {
    currentAnimation = nullptr;
    currentModel = nullptr;
    currentCharacter = nullptr;
}

scene::SceneDocument EditContext::MakeSceneDocument() const {
    scene::SceneDocument doc;
    doc.sceneFrame = sceneFrame;
    doc.store = libraries;
    doc.currentCharacter = currentCharacter;
    doc.currentModel = currentModel;
    doc.currentAnimation = currentAnimation;
    return doc;
}

void EditContext::TakeCurrentPointers(const scene::SceneDocument& doc) {
    currentCharacter = doc.currentCharacter;
    currentModel = doc.currentModel;
    currentAnimation = doc.currentAnimation;
}

} // namespace session

#pragma once

#include <functional>

#include "scene/DocumentMessage.h"
#include "scene/SceneContext.h"

namespace rm {
class Frame;
} // namespace rm

namespace scene {

/// What the document's file sequences work on: the scene frame that holds the models'
/// root frames, the store that owns every character, model and animation set, and the
/// current character, model and animation set (all null when nothing is loaded). Every
/// pointer is borrowed; the store owns what the current pointers name. The window layer
/// keeps its program-wide current pointers in step with these around each call.
struct SceneDocument {
    rm::Frame* sceneFrame = nullptr;
    CObjectStore* store = nullptr;

    CCharacterData* currentCharacter = nullptr;
    CModelData* currentModel = nullptr;
    CAnimationData* currentAnimation = nullptr;

    /// Called right after the whole scene has been cleared (open as a new scene), so the
    /// window layer can empty its own state (selection, key time, bars). May be empty.
    std::function<void()> onSceneCleared;
    /// Called with each message at the moment the sequence shows it, so a message box
    /// appears in the order of the steps. May be empty: the messages are returned anyway.
    std::function<void(const DocumentMessage&)> onMessage;
};

} // namespace scene

#pragma once

#include "scene/SceneContext.h"

namespace rm {
class Frame;
} // namespace rm

class CAnimationData;
class CCharacterData;
class CModelData;

namespace session {

/// The plain values of the edit context (EditContext), each with its start value: playback
/// 0 with a frame step of 1.0, nothing loaded, Animation mode, "Rotate", all three axes,
/// positive direction, no scene. Every pointer is borrowed.
struct EditState {
    // Playback.
    /// 0 stopped, 1 playing the current animation set, 2 playing every animation set.
    int playState = 0;
    /// Current time of the current animation set, in key-time units.
    float currentTime = 0;
    /// The current key time as a whole number: the time the key commands work on.
    unsigned keyTime = 0;
    /// Index of the current key in the current animation set's key-time list.
    unsigned keyIndex = 0;
    /// Step of the last tick: elapsed seconds × 60.
    float frameStep = 1.0f;
    /// Ticks counted in the last full second.
    int fps = 0;
    /// Non-zero when what the view shows has changed; the view renders only while it is
    /// set, and clears it.
    int redrawRequest = 0;

    // What is being edited (null when nothing is loaded; the object store owns them).
    CAnimationData* currentAnimation = nullptr;
    CModelData* currentModel = nullptr;
    CCharacterData* currentCharacter = nullptr;

    // Control-panel settings.
    /// 1 Animation, 0 Parent-Child.
    int operationMode = 1;
    /// 0 "Move" (the model), 1 "Move" (the part), 2 "Rotate", 3 "Zoom".
    int mouseFunction = 2;
    /// Check states of the "X", "Y" and "Z" buttons.
    int axisX = 1;
    int axisY = 1;
    int axisZ = 1;
    /// 1 while "-" is not pressed, 0 while it is.
    int axisPositive = 1;

    // The scene (borrowed; the main frame owns the frames, one reference each, and the store).
    /// Root of the scene: background and lights.
    rm::Frame* sceneRoot = nullptr;
    /// Child of the scene root that the models' root frames are added to.
    rm::Frame* sceneFrame = nullptr;
    /// The floor grid: a root of its own, drawn beside the scene.
    rm::Frame* gridFrame = nullptr;
    /// The object store: model library, animation library and character list.
    CObjectStore* libraries = nullptr;
};

} // namespace session

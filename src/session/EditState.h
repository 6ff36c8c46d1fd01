#pragma once

#include "scene/SceneContext.h"
#include "session/MouseFunction.h"
#include "session/OperationMode.h"
#include "session/PlayState.h"

namespace rm {
class Frame;
} // namespace rm

class CAnimationData;
class CCharacterData;
class CModelData;

namespace session {

/// The plain values of the edit context (EditContext), each with its start value: playback
/// stopped with a frame step of 1.0, nothing loaded, Animation mode, "Rotate", all three axes,
/// positive direction, no scene. Every pointer is borrowed.
struct EditState {
    // Playback.
    PlayState playState = PlayState::Stopped;
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
    /// Set when what the view shows has changed; the view renders only while it is set,
    /// and clears it.
    bool redrawRequest = false;

    // What is being edited (null when nothing is loaded; the object store owns them).
    CAnimationData* currentAnimation = nullptr;
    CModelData* currentModel = nullptr;
    CCharacterData* currentCharacter = nullptr;

    // Control-panel settings.
    OperationMode operationMode = OperationMode::Animation;
    MouseFunction mouseFunction = MouseFunction::Rotate;
    /// Check states of the "X", "Y" and "Z" buttons.
    bool axisX = true;
    bool axisY = true;
    bool axisZ = true;
    /// True while "-" is not pressed, false while it is.
    bool axisPositive = true;

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

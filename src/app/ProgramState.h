#pragma once

// The program-wide state of the editor: plain globals, written only on the user-interface
// thread. The main frame's constructor gives every one of them its start value
// (ResetProgramState); the scene clear empties the current pointers, the selection and
// the time again.

#include "app/Selection.h"
#include "scene/SceneContext.h"

namespace rm {
class Frame;
} // namespace rm

class CAnimationData;
class CCharacterData;
class CModelData;

// Playback.
/// 0 stopped, 1 playing the current animation set, 2 playing every animation set.
extern int g_playState;
/// Current time of the current animation set, in key-time units.
extern float g_currentTime;
/// The current key time as a whole number: the time the key commands work on.
extern unsigned g_keyTime;
/// Index of the current key in the current animation set's key-time list.
extern unsigned g_keyIndex;
/// Step of the last tick: elapsed seconds × 60.
extern float g_frameStep;
/// Ticks counted in the last full second.
extern int g_fps;
/// Non-zero when what the view shows has changed; the view renders only while it is set,
/// and clears it.
extern int g_redrawRequest;

// What is being edited (null when nothing is loaded; the object store owns them).
extern CAnimationData* g_currentAnimation;
extern CModelData* g_currentModel;
extern CCharacterData* g_currentCharacter;

/// The selection: the picked part, its visual and the box drawn around it (see Selection).
extern Selection g_selection;

// Control-panel settings.
/// 1 Animation, 0 Parent-Child.
extern int g_operationMode;
/// 0 "Move" (the model), 1 "Move" (the part), 2 "Rotate", 3 "Zoom".
extern int g_mouseFunction;
/// Check states of the "X", "Y" and "Z" buttons.
extern int g_axisX;
extern int g_axisY;
extern int g_axisZ;
/// 1 while "-" is not pressed, 0 while it is.
extern int g_axisPositive;

// The scene. The main frame owns the frames (one reference each) and the store.
/// Root of the scene: background and lights.
extern rm::Frame* g_sceneRoot;
/// Child of the scene root that the models' root frames are added to.
extern rm::Frame* g_sceneFrame;
/// The floor grid: a root of its own, drawn beside the scene.
extern rm::Frame* g_gridFrame;
/// The object store: model library, animation library and character list.
extern CObjectStore* g_libraries;
// Its two libraries are g_modelLibrary and g_animationLibrary (scene/SceneContext.h).

/// Gives every global above its start value (playback 0 with a frame step of 1.0, nothing
/// loaded or selected, Animation mode, "Rotate", all three axes, positive direction, no
/// scene). Frames and store are forgotten, not released: their owner releases them first.
void ResetProgramState();
/// Empties the selection (g_selection.Clear()).
void EmptySelection();
/// Empties the current character, model and animation set.
void EmptyCurrentPointers();
/// Makes `frame` alone (no visual) the selected part; null empties the selection.
void SetSelectedPart(rm::Frame* frame);
/// The selected part while it is still in the scene (its tree's root is g_sceneRoot), the
/// selection brought up to date with the scene first (Selection::Resolve). A part that has
/// left the scene with its model is unselected and null is returned.
rm::Frame* SelectedPartInScene();

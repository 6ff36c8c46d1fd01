#include "app/ProgramState.h"

#include "platform/rm/Frame.h"

int g_playState = 0;
float g_currentTime = 0;
unsigned g_keyTime = 0;
unsigned g_keyIndex = 0;
float g_frameStep = 1.0f;
int g_fps = 0;
int g_redrawRequest = 0;

CAnimationData* g_currentAnimation = nullptr;
CModelData* g_currentModel = nullptr;
CCharacterData* g_currentCharacter = nullptr;

Selection g_selection;

int g_operationMode = 1;
int g_mouseFunction = 2;
int g_axisX = 1;
int g_axisY = 1;
int g_axisZ = 1;
int g_axisPositive = 1;

rm::Frame* g_sceneRoot = nullptr;
rm::Frame* g_sceneFrame = nullptr;
rm::Frame* g_gridFrame = nullptr;
CObjectStore* g_libraries = nullptr;

void ResetProgramState() {
    g_playState = 0;
    g_currentTime = 0;
    g_keyTime = 0;
    g_keyIndex = 0;
    g_frameStep = 1.0f;
    g_fps = 0;
    g_redrawRequest = 0;

    EmptyCurrentPointers();
    EmptySelection();

    g_operationMode = 1;
    g_mouseFunction = 2;
    g_axisX = 1;
    g_axisY = 1;
    g_axisZ = 1;
    g_axisPositive = 1;

    g_sceneRoot = nullptr;
    g_sceneFrame = nullptr;
    g_gridFrame = nullptr;
    g_libraries = nullptr;
    // g_modelLibrary and g_animationLibrary are the object store's to publish and withdraw.
}

void SetSelectedPart(rm::Frame* frame) {
    g_selection.Select(frame, nullptr);
}

rm::Frame* SelectedPartInScene() {
    rm::Frame* before = g_selection.Part();
    rm::Frame* part = g_selection.Resolve(g_sceneRoot);
    if (part != before) {
        g_redrawRequest = 1;
    }
    return part;
}

void EmptySelection() {
    g_selection.Clear();
}

void EmptyCurrentPointers() {
    g_currentAnimation = nullptr;
    g_currentModel = nullptr;
    g_currentCharacter = nullptr;
}

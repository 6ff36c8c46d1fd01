#include "app/ProgramState.h"

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

rm::Frame* g_selectedPart = nullptr;
rm::Mesh* g_selectionBox = nullptr;
rm::Mesh* g_selectedMesh = nullptr;
rm::MeshBuilder* g_selectedMeshBuilder = nullptr;
int g_visualCycle = 0;
int g_partIndex = 0;

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
    g_modelLibrary = nullptr;
    g_animationLibrary = nullptr;
}

void EmptySelection() {
    g_selectedPart = nullptr;
    g_selectionBox = nullptr;
    g_selectedMesh = nullptr;
    g_selectedMeshBuilder = nullptr;
    g_visualCycle = 0;
    g_partIndex = 0;
}

void EmptyCurrentPointers() {
    g_currentAnimation = nullptr;
    g_currentModel = nullptr;
    g_currentCharacter = nullptr;
}

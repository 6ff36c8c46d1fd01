#include "scene/SceneContext.h"

rm::Context* g_d3drm = nullptr;
CModelLibrary* g_sceneModelLibrary = nullptr;
CAnimationLibrary* g_sceneAnimationLibrary = nullptr;

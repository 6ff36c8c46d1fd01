#include "scene/SceneContext.h"

rm::Context* g_d3drm = nullptr;
CModelLibrary* g_modelLibrary = nullptr;
CAnimationLibrary* g_animationLibrary = nullptr;

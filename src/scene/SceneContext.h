#pragma once

// Program-wide objects the scene data model works with. The main frame (or the command
// line) creates them and publishes them here; every pointer is borrowed.

#include "scene/AnimationLibrary.h"
#include "scene/ModelLibrary.h"
#include "scene/ObjectStore.h"

namespace rm {
class Context;
} // namespace rm

class CAnimationData;
class CCharacterData;
class CModelData;

using CModelLibrary = ModelLibrary<CModelData>;
using CAnimationLibrary = AnimationLibrary<CAnimationData>;
using CObjectStore = ObjectStore<CModelData, CAnimationData, CCharacterData>;

/// The shared factory of scene objects; null until the device layer has made it. Loads
/// fail without it.
extern rm::Context* g_d3drm;
/// The program's model and animation libraries, the two libraries of the object store:
/// set by the store while it lives (construct it with &g_modelLibrary and
/// &g_animationLibrary), null otherwise.
extern CModelLibrary* g_modelLibrary;
extern CAnimationLibrary* g_animationLibrary;

// Former names of the same two pointers, kept only while the main frame's source still
// uses them; new code names g_modelLibrary and g_animationLibrary.
inline CModelLibrary*& g_sceneModelLibrary = g_modelLibrary;
inline CAnimationLibrary*& g_sceneAnimationLibrary = g_animationLibrary;

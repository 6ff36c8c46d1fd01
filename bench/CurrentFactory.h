#pragma once

// The scene library's factory, made the program's (g_d3drm) for as long as a benchmark's
// scene lives. The size of the large character the key and editing benchmarks build.

#include "platform/NonCopyable.h"
#include "platform/rm/Context.h"
#include "scene/SceneContext.h"

/// Parts of the large character, and key times of each part's animation.
constexpr int kParts = 200;
constexpr int kTimes = 1024;

/// A base of the benchmarks' scenes: the factory is made first and let go of last.
class CurrentFactory : private platform::NonCopyable {
public:
    CurrentFactory() {
        rm::Direct3DRMCreate(&d3drm);
        g_d3drm = d3drm.Get();
    }
    ~CurrentFactory() { g_d3drm = nullptr; }

    rm::Ref<rm::Context> d3drm;
};

#pragma once

#include "scene/NamedLibrary.h"

/// The library that owns every animation set of the program run (Animation is the
/// animation-set class), each under a unique entry name.
template <typename Animation>
class AnimationLibrary : public NamedLibrary<Animation> {};

#pragma once

#include "scene/NamedLibrary.h"

/// The library that owns every model of the program run (Model is the model class),
/// each under a unique entry name.
template <typename Model>
class ModelLibrary : public NamedLibrary<Model> {};

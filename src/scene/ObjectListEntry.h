#pragma once

#include "scene/LinkedEntry.h"

/// One element of an ObjectList: the element's own data and the two links.
template <typename T>
class ObjectListEntry : public LinkedEntry<ObjectListEntry<T>, T> {};

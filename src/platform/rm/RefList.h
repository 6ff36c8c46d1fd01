#pragma once

#include <algorithm>
#include <vector>

#include "platform/rm/Ref.h"
#include "platform/rm/Types.h"

namespace rm {

/// Appends object to a list that holds references; D3DRMERR_BADOBJECT for null.
template <typename T>
HRESULT AppendReference(std::vector<Ref<T>>& list, T* object) {
    if (!object) {
        return D3DRMERR_BADOBJECT;
    }
    list.emplace_back(object);
    return D3DRM_OK;
}

/// Removes the first reference to object; D3DRMERR_NOTFOUND when the list has none.
template <typename T>
HRESULT RemoveReference(std::vector<Ref<T>>& list, T* object) {
    const auto it = std::find(list.begin(), list.end(), object);
    if (!object || it == list.end()) {
        return D3DRMERR_NOTFOUND;
    }
    list.erase(it);
    return D3DRM_OK;
}

} // namespace rm

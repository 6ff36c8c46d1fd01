#include "platform/rm/AnimationSet.h"

#include <algorithm>

namespace rm {

AnimationSet::AnimationSet() = default;
AnimationSet::~AnimationSet() = default;

HRESULT AnimationSet::AddAnimation(Animation* animation) {
    if (!animation) {
        return D3DRMERR_BADOBJECT;
    }
    m_animations.emplace_back(animation);
    return D3DRM_OK;
}

HRESULT AnimationSet::DeleteAnimation(Animation* animation) {
    auto it = std::find(m_animations.begin(), m_animations.end(), animation);
    if (!animation || it == m_animations.end()) {
        return D3DRMERR_NOTFOUND;
    }
    m_animations.erase(it);
    return D3DRM_OK;
}

HRESULT AnimationSet::SetTime(float time) {
    for (auto& animation : m_animations) {
        animation->SetTime(time);
    }
    return D3DRM_OK;
}

} // namespace rm

#include "platform/rm/AnimationSet.h"

#include "platform/rm/RefList.h"

namespace rm {

AnimationSet::AnimationSet() = default;
AnimationSet::~AnimationSet() = default;

HRESULT AnimationSet::AddAnimation(Animation* animation) {
    return AppendReference(m_animations, animation);
}

HRESULT AnimationSet::DeleteAnimation(Animation* animation) {
    return RemoveReference(m_animations, animation);
}

HRESULT AnimationSet::SetTime(float time) {
    for (auto& animation : m_animations) {
        animation->SetTime(time);
    }
    return D3DRM_OK;
}

} // namespace rm

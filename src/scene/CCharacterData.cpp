#include "scene/CCharacterData.h"

#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "scene/SceneContext.h"

int CCharacterData::SetModel(CModelData* model) {
    if (!g_modelLibrary) {
        return 0;
    }
    const bool rebind = m_sourceModel && (!model || model == m_sourceModel);
    if (rebind && !m_model) {
        return 0;
    }
    if (!rebind) {
        if (!model) {
            return 0;
        }
        if (!m_model) {
            if (m_sourceModel) {
                return 0;
            }
        } else if (m_ownsData) {
            if (m_multi) {
                for (int i = 0; i < m_count; ++i) {
                    if (m_animations[std::size_t(i)]) {
                        m_animations[std::size_t(i)]->Unbind();
                    }
                }
            } else if (m_current) {
                m_current->Unbind();
            }
            m_model = nullptr;
            if (!RemoveModel(m_sourceModel)) {
                return 0;
            }
            m_sourceModel = nullptr;
        }
        m_sourceModel = model;
        m_model = model;
    }
    if (m_multi) {
        for (int i = 0; i < m_count; ++i) {
            if (m_animations[std::size_t(i)]) {
                m_animations[std::size_t(i)]->Bind(m_model);
            }
        }
        RecordCurrentAnimation();
    }
    return 1;
}

void CCharacterData::RecordCurrentAnimation() {
    // Every set of the character is bound to the model, and binding names the set bound
    // last in the part records; the current one must be named there.
    if (m_model && m_current && m_current->m_set) {
        m_model->ForgetAllPartAnimations();
        m_model->RecordPartAnimations(m_current->Set());
    }
}

int CCharacterData::SetCapacity(int n) {
    if (n < 0) {
        return 0;
    }
    if (m_multi && g_animationLibrary) {
        for (auto& slot : m_animations) {
            if (!slot) {
                continue;
            }
            if (m_ownsData && !RemoveAnimation(slot)) {
                break;
            }
            slot = nullptr;
        }
    }
    m_animations.assign(std::size_t(n), nullptr);
    m_multi = 1;
    m_capacity = n;
    m_count = 0;
    m_current = nullptr;
    return 1;
}

int CCharacterData::AddAnimation(CAnimationData* animation) {
    if (!m_multi || m_count >= m_capacity || !g_animationLibrary || !animation) {
        return 0;
    }
    m_animations[std::size_t(m_count)] = animation;
    if (m_model) {
        animation->Bind(m_model);
    }
    m_current = animation;
    ++m_count;
    return 1;
}

int CCharacterData::SelectAnimation(int index) {
    if (!m_multi || index < 0 || index >= m_count) {
        return 0;
    }
    CAnimationData* animation = m_animations[std::size_t(index)];
    if (!animation) {
        return 0;
    }
    m_currentIndex = index;
    m_current = animation;
    if (m_model && animation->m_model != m_model) {
        animation->Bind(m_model);
    }
    RecordCurrentAnimation();
    if (animation->m_set) {
        animation->m_time = 0;
    }
    return 1;
}

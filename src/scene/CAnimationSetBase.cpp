#include "scene/CAnimationSetBase.h"

#include <cfloat>
#include <vector>

#include "scene/CModelData.h"
#include "scene/PartNaming.h"
#include "scene/SceneMessages.h"

CAnimationSetBase::~CAnimationSetBase() = default;

int CAnimationSetBase::NameAnimations() {
    if (!m_set) {
        return 0;
    }
    for (const auto& animation : m_set->Animations()) {
        scene::NameAnimation(animation.Get(), &m_tempNameCount);
    }
    return 1;
}

namespace {

void ResetPoses(rm::Frame* frame) {
    frame->ResetPose();
    for (const auto& child : frame->Children()) {
        ResetPoses(child.Get());
    }
}

} // namespace

int CAnimationSetBase::Pose(float time) {
    if (!m_set) {
        return 0;
    }
    if (m_model != nullptr && m_model->Root() != nullptr) {
        ResetPoses(m_model->Root());
    }
    m_time = time;
    m_set->SetTime(time);
    return 1;
}

namespace {

void BindSubtree(CAnimationSetBase& set, rm::Frame* frame) {
    if (!frame->HasName()) {
        scene::ShowMessage(QT_TRANSLATE_NOOP("Pavrix", "フレーム名がありません！"));
        return;
    }
    if (auto base = scene::BaseName(frame->Name())) {
        const std::string name(*base);
        if (rm::Animation* animation = set.FindAnimationByPartName(name.c_str())) {
            animation->SetFrame(frame);
        }
    }
    for (const auto& child : frame->Children()) {
        BindSubtree(set, child.Get());
    }
}

} // namespace

int CAnimationSetBase::Bind(CModelData* model) {
    if (!model || !model->Root() || !m_set) {
        return 0;
    }
    Unbind();
    m_model = model;
    BindSubtree(*this, model->Root());
    return 1;
}

int CAnimationSetBase::Unbind() {
    if (!m_set || !m_model || !m_model->Root()) {
        return 0;
    }
    m_model->ForgetPartAnimations(m_set.Get());
    for (const auto& animation : m_set->Animations()) {
        animation->SetFrame(nullptr);
    }
    m_model = nullptr;
    return 1;
}

rm::Animation* CAnimationSetBase::FindAnimationByPartName(const char* name) const {
    if (!name || !m_set) {
        return nullptr;
    }
    for (const auto& animation : m_set->Animations()) {
        if (scene::HasBaseName(animation->Name(), name)) {
            return animation.Get();
        }
    }
    return nullptr;
}

int CAnimationSetBase::GetTimeRange(float* first, float* last, TimeRange from) {
    if (from == TimeRange::Cached) {
        if (first) {
            *first = m_firstTime;
        }
        if (last) {
            *last = m_lastTime;
        }
        return 1;
    }
    float lo = FLT_MAX, hi = 0;
    if (m_set) {
        for (const auto& animation : m_set->Animations()) {
            std::uint32_t count = 0;
            animation->GetKeys(0, FLT_MAX, &count, nullptr);
            std::vector<rm::AnimationKey> keys(count);
            if (count) {
                animation->GetKeys(0, FLT_MAX, &count, keys.data());
            }
            for (std::uint32_t i = 0; i < count; ++i) {
                lo = keys[i].dvTime < lo ? keys[i].dvTime : lo;
                hi = keys[i].dvTime > hi ? keys[i].dvTime : hi;
            }
        }
    }
    if (lo == FLT_MAX || hi == 0) {
        if (first) {
            *first = 0;
        }
        if (last) {
            *last = 0;
        }
        return 0;
    }
    m_firstTime = lo;
    m_lastTime = hi;
    if (first) {
        *first = lo;
    }
    if (last) {
        *last = hi;
    }
    return 1;
}

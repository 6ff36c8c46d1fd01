#pragma once

#include <cstdint>

#include "platform/NonCopyable.h"
#include "platform/rm/AnimationSet.h"

class CModelData;

/// What every binding of an animation set to a model needs: the set itself, the model it
/// is bound to, the time last posed and the cached key-time range.
class CAnimationSetBase : private platform::NonCopyable {
public:
    CAnimationSetBase() = default;
    virtual ~CAnimationSetBase();

    /// Names every animation after the frame it drives ("<base>@<id>", or
    /// "PartsTempName_<n>@<id>" for an unnamed frame, counting with m_tempNameCount).
    virtual int NameAnimations();
    /// Unbinds, then attaches every animation to the frame of model whose base name it
    /// has, walking the model depth first. An unnamed frame shows "フレーム名がありません！"
    /// and its subtree stays unbound. 0 for a null model, a model without root, or no set.
    virtual int Bind(CModelData* model);
    /// Detaches every animation from its frame. 0 without a set or a bound model.
    int Unbind();
    /// The animation whose working name has the base name, or null (borrowed: valid while
    /// the set holds it).
    rm::Animation* FindAnimationByPartName(const char* name) const;
    /// Writes the first and last key time through the non-null pointers. With recompute 0
    /// the cached range; otherwise scans every key at time >= 0: with no key, or none
    /// after time 0, writes 0 to both and returns 0 leaving the cache alone.
    int GetTimeRange(float* first, float* last, int recompute);

    /// Shows the bound model at `time`: every frame of the model goes back to its rest
    /// transform (a frame this set does not drive must not keep another set's or an
    /// earlier time's pose), then the set poses the frames it drives. Records the time in
    /// m_time. 0 without a set.
    int Pose(float time);

    rm::AnimationSet* Set() const { return m_set.Get(); }
    CModelData* Model() const { return m_model; }

    rm::Ref<rm::AnimationSet> m_set;
    /// The model the set is bound to; borrowed, null when unbound.
    CModelData* m_model = nullptr;
    /// The time last given to the set with SetTime.
    float m_time = 0;
    float m_firstTime = 0;
    float m_lastTime = 0;
    int m_tempNameCount = 0;
};

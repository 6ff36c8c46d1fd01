#pragma once

#include <span>
#include <vector>

#include "platform/NonCopyable.h"

class CAnimationData;
class CModelData;

/// One character of the scene: a model and a fixed number of animation slots whose
/// animations are all bound to that model, one of them current. The model and the
/// animations belong to their libraries; a character that owns its data (m_ownsData)
/// removes them from the libraries when it lets go of them.
class CCharacterData : private platform::NonCopyable {
public:
    CCharacterData() = default;
    /// Frees the slot array only; the libraries own the model and the animations.
    virtual ~CCharacterData() = default;

    /// Gives the character model and binds every animation to it (the part records then
    /// name the current animation's). A null model, or the
    /// present one, rebinds to the present model. When the character owns its data the
    /// model it replaces is removed from the model library. 0 on failure.
    int SetModel(CModelData* model);
    /// Releases every animation (removing them from the library when the character owns
    /// them) and makes n empty slots.
    int SetCapacity(int n);
    /// Puts animation in the next slot, binds it to the model and makes it current.
    /// 0 when there is no free slot or animation is null.
    int AddAnimation(CAnimationData* animation);
    /// Makes the animation in slot index current (bound to the model, time 0). The part
    /// records then name the animations of this set: the key commands act on it.
    int SelectAnimation(int index);
    /// The animations added so far, in slot order (the order a save writes them in).
    std::span<CAnimationData* const> Animations() const {
        return {m_animations.data(), std::size_t(m_count)};
    }

    int m_multi = 0;
    int m_ownsData = 0;
    CModelData* m_model = nullptr;
    CModelData* m_sourceModel = nullptr;
    int m_currentIndex = -1;
    CAnimationData* m_current = nullptr;
    std::vector<CAnimationData*> m_animations;
    int m_capacity = 0;
    int m_count = 0;

private:
    /// Names the current animation's set in the model's part records.
    void RecordCurrentAnimation();
};

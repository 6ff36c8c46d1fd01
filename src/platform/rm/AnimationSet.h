#pragma once

#include <vector>

#include "platform/rm/Animation.h"
#include "platform/rm/Object.h"

namespace rm {

/// An ordered set of animations, posed together. Holds a reference to each.
class AnimationSet : public Object {
public:
    AnimationSet();
    ~AnimationSet() override;
    const char* ClassName() const override { return "AnimationSet"; }

    /// Loads the first AnimationSet of a .x file. Its animations drive frames created
    /// under `parent` with the names the file gives (see XFileLoader.h).
    HRESULT Load(const char* fileName, Frame* parent);

    /// One AnimationSet of a file and the frames its animations drive, made as children
    /// of `frames` (a frame of its own per set, so each set's frames can be named apart).
    struct Loaded {
        Ref<AnimationSet> set;
        Ref<Frame> frames;
    };
    /// Loads every AnimationSet of a .x file, in file order, reading the file once. Each
    /// set is what Load would make of it; all take the file's AnimTicksPerSecond. Results
    /// as for Load (D3DRMERR_NOTFOUND for a file without AnimationSet); on failure *sets
    /// is left empty.
    static HRESULT LoadAll(const char* fileName, std::vector<Loaded>* sets);

    HRESULT AddAnimation(Animation* animation);
    HRESULT DeleteAnimation(Animation* animation);
    /// A snapshot of the animations, in the order they were added.
    std::vector<Ref<Animation>> GetAnimations() const { return m_animations; }
    const std::vector<Ref<Animation>>& Animations() const { return m_animations; }

    /// SetTime on every animation.
    HRESULT SetTime(float time);

    /// Ticks per second the file declared (AnimTicksPerSecond), 0 when it named none.
    std::uint32_t TicksPerSecond() const { return m_ticksPerSecond; }
    void SetTicksPerSecond(std::uint32_t ticks) { m_ticksPerSecond = ticks; }

private:
    std::vector<Ref<Animation>> m_animations;
    std::uint32_t m_ticksPerSecond = 0;
};

} // namespace rm

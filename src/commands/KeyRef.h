#pragma once

#include <cstdint>

namespace rm {
class Animation;
} // namespace rm

/// One key of an animation, named by the identifier the animation gave it (its time may
/// change, the identifier does not; an undo puts keys back with theirs). The animation is
/// borrowed for as long as the command or caller that holds the reference runs.
struct KeyRef {
    rm::Animation* animation = nullptr;
    std::uint32_t id = 0;

    bool operator==(const KeyRef& other) const = default;
};

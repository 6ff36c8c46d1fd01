#pragma once

namespace session {

/// What playback does on each tick.
enum class PlayState {
    Stopped,
    /// Playing the current animation set.
    PlayingCurrent,
    /// Playing every animation set of the animation library.
    PlayingAll,
};

} // namespace session

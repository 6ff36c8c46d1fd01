#pragma once

#include <functional>

#include "session/KeyTimeList.h"
#include "session/PlayState.h"

namespace session {
class EditContext;
} // namespace session

/// Playback and time navigation of the current animation set, without any widget: the
/// play state, the play speed, the tick's clock and frame-rate count, and the moves of
/// the current time (play, play all, step, previous and next key, first and last key
/// time, a jump to a slider position). It works on the edit context it is given and
/// shows what it changed through its Display.
///
/// Two helpers carry every move: GoToTime (set the time, its key time, pose, refresh the
/// bar) and WrapPastLastKeyTime (KeyTimeRules.h) for the loop past the last key time.
/// Without a current animation set every move does nothing.
class Playback {
public:
    /// Seconds on a steady clock (any origin).
    using Clock = std::function<double()>;
    /// Pauses the user-interface thread for the given milliseconds.
    using Sleep = std::function<void(int milliseconds)>;

    /// What playback needs of the window: the time display and the two play buttons.
    class Display {
    public:
        virtual ~Display() = default;
        /// Shows the current time, key number and key length (see CMainFrame).
        virtual void RefreshTimeDisplay() = 0;
        /// Releases the check of the Play and Play All buttons.
        virtual void ReleasePlayButtons() = 0;
        /// Rebuilds the key-time list when `keyTimes` says so and shows the key range.
        virtual int RefreshKeyRange(session::KeyTimeList keyTimes) = 0;
    };

    /// `context` and `display` are borrowed and must outlive the playback.
    Playback(session::EditContext& context, Display& display);

    /// The speed factor: key-time units per tick unit (0.5 at start, "1/30").
    float GetPlaySpeed() const { return m_playSpeed; }
    /// Takes entry `index` of the Play Speed list ("1/120" … "1/10"); any other index
    /// leaves the speed as it is.
    void SetPlaySpeedIndex(int index);
    /// Takes a speed factor of the list's other entries (a file's tick rate).
    void SetPlaySpeed(float speed) { m_playSpeed = speed; }

    /// Stops: releases both play buttons, drops the fraction of the current time (the key
    /// time takes it) and refreshes the display. The set is not posed again.
    void Stop();
    /// Play (PlayingCurrent) or Play All (PlayingAll) when stopped; stops when playing.
    void TogglePlay(session::PlayState state);
    /// The play state follows the two buttons: Play All wins over Play.
    void FollowPlayButtons(bool play, bool playAll);
    /// The tick's playback with frame step `step`: playing the current set, it advances
    /// by step × speed and loops; playing all, every set of the animation library advances
    /// from its own time and loops over its own key times, except the sets a character
    /// holds but has not chosen (they drive the same parts as its current one).
    void Advance(float step);

    /// One step of the held step buttons: by the play speed, wrapping at either end.
    void StepForward();
    void StepBack();
    /// The key before (on a key) or the current key (between keys); the next key.
    void PreviousKey();
    void NextKey();
    void FirstKey();
    void LastKey();
    /// The time slider was let go at `position`: the time jumps there while stopped.
    void JumpTo(int position);
    /// Makes the current character's set at `index` the current animation set: playback
    /// stops, the key-time list and the bars follow it, and it is posed at its first key
    /// time. 0 for an index the character does not have.
    int SelectAnimationSet(int index);
    /// Goes to `time`: the current time, its key time, the pose and the display.
    void GoToTime(float time);

    /// The tick's clock: counts ticks per second (fps), takes the time since the last
    /// tick as the frame step (frameStep, seconds × 60) and returns it.
    float MeasureTick();
    /// Sleeps `milliseconds` with the tick's sleep.
    void Pause(int milliseconds);
    /// Replaces the clock and sleep (tests); an empty function puts the real one back.
    void SetTickServices(Clock clock, Sleep sleep);

private:
    void ShowTime(float time);
    void PlayAllStep(float step);
    double Now() const;

    session::EditContext& m_context;
    Display& m_display;
    float m_playSpeed = 0.5f;
    Clock m_clock;
    Sleep m_sleep;
    double m_clockOrigin = 0;
    double m_previousTick = 0;
    double m_lastFpsCount = 0;
    int m_ticksSinceCount = 0;
};

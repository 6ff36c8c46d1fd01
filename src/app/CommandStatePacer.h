#pragma once

/// Paces the command-state updates of the tool bars at a steady 60 a second, as a display
/// refreshes, whatever the speed of the loop: the step buttons act in those updates while
/// held down, so a held step moves the time at a rate a person can follow.
class CommandStatePacer {
public:
    static constexpr double kUpdatesPerSecond = 60.0;

    /// Whether an update is due at `now` (seconds on a steady clock, any origin). The
    /// first call is always due; after a due call the next update is due one period
    /// later, or one period after `now` when the loop fell more than a period behind (the
    /// missed updates are dropped, not caught up).
    bool Due(double now);

private:
    bool m_started = false;
    double m_next = 0;
};

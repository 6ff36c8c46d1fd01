#pragma once

class IKeyFrameHost;

namespace rm {
class Frame;
} // namespace rm

/// What the timeline needs of the window it is docked in. The main frame implements it;
/// tests and benchmarks give their own.
class ITimelineHost {
public:
    virtual ~ITimelineHost() = default;

    /// The host the timeline's key edits run on (their undo steps, refresh and the
    /// selected part, which the timeline reads through it only).
    virtual IKeyFrameHost& KeyFrameHost() = 0;
    /// Goes to `time` (key-time units) as the time slider does: playback stops and the
    /// view poses there.
    virtual void GoToTime(float time) = 0;
    /// Makes `part` the selected part of the view, as a click on it there does.
    virtual void SelectPart(rm::Frame* part) = 0;
    /// Opens the part key dialog on the selected part.
    virtual void EditPartKeys() = 0;
};

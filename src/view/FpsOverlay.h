#pragma once

#include <cstdint>

/// The program-wide state of the view's text overlay: whether the frame-rate lines are
/// shown, their pulsing grey level and the device's triangle count at the previous frame.
class FpsOverlay {
public:
    /// Highest grey level of the pulse; the level moves by kGreyStep per frame.
    static constexpr int kGreyTop = 208;
    static constexpr int kGreyStep = 8;

    /// The grey level for the next frame: up by 8 to 208, down by 8 to 0, and back, each
    /// end level used on two frames in a row (8, 16, …, 208, 208, 200, …, 0, 0, 8, …).
    int StepGrey();
    /// Triangles drawn in the frame that brought the device's running count to `total`,
    /// not counting the floor grid's 576. A count that went down (the device was rebuilt
    /// and counts from 0 again) counts from 0.
    int TrianglesThisFrame(std::uint32_t total) const;
    /// Remembers the device's running count after a frame.
    void SetPreviousTotal(std::uint32_t total) { m_previousTotal = total; }

    bool IsShown() const { return m_shown; }
    void SetShown(bool shown) { m_shown = shown; }
    void Toggle() { m_shown = !m_shown; }
    int Grey() const { return m_grey; }

private:
    bool m_shown = false;
    int m_grey = 0;
    bool m_falling = false;
    std::uint32_t m_previousTotal = 0;
};

#pragma once

namespace timeline {

/// The key sheet's time axis: which key time sits at the left edge of the key area and
/// how many pixels one time unit takes. Pixels count from the key area's left edge.
class TimeAxis {
public:
    static constexpr double kMinScale = 0.01;
    static constexpr double kMaxScale = 200;

    double Scale() const { return m_scale; }
    double Origin() const { return m_origin; }
    void SetOrigin(double time) { m_origin = time; }

    double ToX(double time) const { return (time - m_origin) * m_scale; }
    double ToTime(double x) const { return m_origin + x / m_scale; }
    /// The whole time unit nearest pixel `x`.
    int NearestTime(double x) const;

    /// Zooms by `factor` keeping the time under pixel `x` where it is; the scale stays
    /// within kMinScale..kMaxScale.
    void ZoomAround(double x, double factor);
    /// Shows first..last in `width` pixels with a little room at both ends.
    void Frame(double first, double last, double width);
    /// The step between labelled ticks: 1, 2 or 5 times a power of ten, at least
    /// `minPixels` apart.
    double TickStep(double minPixels) const;

private:
    double m_origin = 0;
    double m_scale = 8;
};

} // namespace timeline

#include "timeline/TimeAxis.h"

#include <algorithm>
#include <cmath>

namespace timeline {

int TimeAxis::NearestTime(double x) const {
    return static_cast<int>(std::lround(ToTime(x)));
}

void TimeAxis::ZoomAround(double x, double factor) {
    const double time = ToTime(x);
    m_scale = std::clamp(m_scale * factor, kMinScale, kMaxScale);
    m_origin = time - x / m_scale;
}

void TimeAxis::Frame(double first, double last, double width) {
    const double span = std::max(last - first, 1.0);
    // Room for half a key mark and a little more at either end.
    const double margin = std::min(24.0, width / 8);
    m_scale = std::clamp((width - 2 * margin) / span, kMinScale, kMaxScale);
    m_origin = first - margin / m_scale;
}

double TimeAxis::TickStep(double minPixels) const {
    const double units = minPixels / m_scale;
    double step = std::pow(10.0, std::floor(std::log10(std::max(units, 1e-9))));
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (step * factor >= units) {
            return std::max(1.0, step * factor);
        }
    }
    return std::max(1.0, step * 10);
}

} // namespace timeline

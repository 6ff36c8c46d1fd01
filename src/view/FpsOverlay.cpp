#include "view/FpsOverlay.h"

int FpsOverlay::StepGrey() {
    if (!m_falling) {
        m_grey += kGreyStep;
        if (m_grey > kGreyTop) {
            m_grey = kGreyTop;
            m_falling = true;
        }
    } else {
        m_grey -= kGreyStep;
        if (m_grey < 0) {
            m_grey = 0;
            m_falling = false;
        }
    }
    return m_grey;
}

int FpsOverlay::TrianglesThisFrame(std::uint32_t total) const {
    constexpr std::uint32_t kGridTriangles = 576;
    const std::uint32_t previous = total >= m_previousTotal ? m_previousTotal : 0;
    return static_cast<int>(total - previous) - static_cast<int>(kGridTriangles);
}

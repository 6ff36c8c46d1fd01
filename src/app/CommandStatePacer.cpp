#include "app/CommandStatePacer.h"

bool CommandStatePacer::Due(double now) {
    constexpr double period = 1.0 / kUpdatesPerSecond;
    if (m_started && now < m_next) {
        return false;
    }
    m_next = m_started && now < m_next + period ? m_next + period : now + period;
    m_started = true;
    return true;
}

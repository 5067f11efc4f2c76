#include "playback/SmoothPosition.h"

#include <algorithm>

double SmoothPosition::at(double reported, double nowSec, double speed)
{
    if (!m_base || reported < m_base->reported || reported - m_base->shown > MaxStepSec) {
        m_base = Base{reported, nowSec, reported};
        return reported;
    }
    if (reported > m_base->reported) {
        m_step = std::max(m_step, std::min(reported - m_base->reported, MaxStepSec));
        m_base->reported = reported;
        m_base->since = nowSec;
    }
    const double ahead = std::clamp((nowSec - m_base->since) * speed, 0.0, m_step);
    // A report a little behind what was shown holds the position until playback catches up.
    m_base->shown = std::max(m_base->shown, m_base->reported + ahead);
    return m_base->shown;
}

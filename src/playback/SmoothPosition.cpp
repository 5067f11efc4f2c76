#include "playback/SmoothPosition.h"

#include <algorithm>

double SmoothPosition::at(double reported, double nowSec, double speed)
{
    return atReport(reported, nowSec, nowSec, speed);
}

double SmoothPosition::atReport(double reported, double reportedAtSec, double nowSec, double speed)
{
    if (!m_base || reported < m_base->reported || reported - m_base->shown > JumpSec) {
        m_base = Base{reported, reportedAtSec, reported, nowSec};
        return reported;
    }
    Base &b = *m_base;
    if (reported > b.reported) {
        m_step = std::clamp(reported - b.reported, m_step, MaxStepSec);
        b.reported = reported;
        b.since = reportedAtSec;
    }
    const double limit = b.reported + 2 * m_step;
    const double extrapolated = b.reported + std::max(0.0, (nowSec - b.since) * speed);
    const double slower = b.shown + std::max(0.0, (nowSec - b.shownAt) * speed * CatchUpRate);
    b.shown = std::max(b.shown, std::min(std::max(extrapolated, slower), limit));
    b.shownAt = nowSec;
    return b.shown;
}

#include "doubles/VirtualClock.h"

#include <algorithm>
#include <cstdint>

class VirtualTimer final : public Timer {
public:
    VirtualTimer(VirtualClock &clock, const QString &name, int intervalMs, bool singleShot)
        : Timer(name, intervalMs, singleShot), m_clock(&clock)
    {
        clock.m_timers.push_back(this);
    }
    ~VirtualTimer() override
    {
        if (m_clock) std::erase(m_clock->m_timers, this);
    }
    bool isActive() const override { return m_active; }
    void start() override
    {
        m_active = true;
        // A running timer with interval 0 never fires.
        m_due = interval() <= 0 ? INT64_MAX : (m_clock ? m_clock->m_now : 0) + interval();
    }
    void stop() override { m_active = false; }

    void expire()
    {
        // Periods missed during a sleep are dropped, as a real timer drops them.
        m_due = std::max(m_due, m_clock->m_now) + interval();
        fire();
    }

    VirtualClock *m_clock;
    bool m_active = false;
    std::int64_t m_due = 0;
};

VirtualClock::~VirtualClock()
{
    for (auto *t : m_timers) t->m_clock = nullptr;
}

std::unique_ptr<Timer> VirtualClock::createTimer(const QString &name, int intervalMs, bool singleShot)
{
    return std::make_unique<VirtualTimer>(*this, name, intervalMs, singleShot);
}

void VirtualClock::advance(std::int64_t ms)
{
    const std::int64_t end = m_now + ms;
    for (;;) {
        VirtualTimer *next = nullptr;
        for (auto *t : m_timers)
            if (t->m_active && t->m_due <= end && (!next || t->m_due < next->m_due)) next = t;
        if (!next) break;
        m_now = std::max(m_now, next->m_due);
        next->expire();
    }
    m_now = std::max(m_now, end);
}

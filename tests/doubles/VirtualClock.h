#pragma once

#include "platform/Clock.h"

#include <vector>

// A clock for tests: time moves only when the test advances it, and due timers fire in
// order of their due time (creation order breaks ties), exactly once per period.
class VirtualClock : public Clock {
public:
    ~VirtualClock() override;
    std::unique_ptr<Timer> createTimer(const QString &name, int intervalMs, bool singleShot) override;
    std::int64_t nowMs() const override { return m_now; }
    // A sleep lets time pass without running timers, as a blocking sleep does.
    void sleepMs(int ms) override { m_now += ms; }
    // Runs the timers that are due by now.
    void processEvents() override { advance(0); }
    void waitMs(int ms) override { advance(ms); }

    // Moves time forward by ms, firing every timer that falls due on the way. A timer's
    // handler may wait in turn; time never goes back when it returns.
    void advance(std::int64_t ms);

private:
    friend class VirtualTimer;
    std::int64_t m_now = 0;
    std::vector<class VirtualTimer *> m_timers;
};

#include "doubles/VirtualClock.h"

#include <QStringList>
#include "QtPrinters.h"

#include <gtest/gtest.h>

TEST(VirtualClock, FiresDueTimersInTimeOrder)
{
    VirtualClock clock;
    QStringList log;
    auto fast = clock.timer(QStringLiteral("fast"), 10, false, true);
    auto slow = clock.timer(QStringLiteral("slow"), 25, false, true);
    auto once = clock.timer(QStringLiteral("once"), 15, true, true);
    for (Timer *t : {fast.get(), slow.get(), once.get()})
        t->onTimeout = [&log, &clock, t] { log << QStringLiteral("%1@%2").arg(t->name()).arg(clock.nowMs()); };
    clock.advance(30);
    EXPECT_EQ(log, QStringList({"fast@10", "once@15", "fast@20", "slow@25", "fast@30"}));
    EXPECT_FALSE(once->isActive());
    EXPECT_EQ(clock.nowMs(), 30);
}

TEST(VirtualClock, HandlersMayRestartAndStopTimers)
{
    VirtualClock clock;
    int fired = 0;
    auto t = clock.timer(QStringLiteral("t"), 100, true, true);
    t->onTimeout = [&] {
        if (++fired < 3) t->start(); // a one-shot re-armed from its own handler
    };
    clock.advance(1000);
    EXPECT_EQ(fired, 3);
    EXPECT_FALSE(t->isActive());

    // Changing the interval of a running timer restarts its count from now.
    t->start();
    clock.advance(60);
    t->setInterval(100);
    clock.advance(90);
    EXPECT_EQ(fired, 3);
    clock.advance(10);
    EXPECT_EQ(fired, 4);
}

TEST(VirtualClock, SleepRunsNoTimerUntilEventsAreProcessed)
{
    VirtualClock clock;
    int fired = 0;
    auto t = clock.timer(QStringLiteral("t"), 1, false, true);
    t->onTimeout = [&] { ++fired; };
    clock.sleepMs(10);
    EXPECT_EQ(fired, 0);
    clock.processEvents();
    EXPECT_EQ(fired, 1); // missed periods are dropped, as a real timer drops them
    clock.advance(5);
    EXPECT_EQ(fired, 6);
}

TEST(VirtualClock, TimerOutlivingItsClockIsHarmless)
{
    std::unique_ptr<Timer> t;
    {
        VirtualClock clock;
        t = clock.timer(QStringLiteral("t"), 5, false, true);
    }
    t->stop();
    EXPECT_FALSE(t->isActive());
}

#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

// A named timer of the program. Handlers are plain callbacks run on the UI thread.
// A one-shot timer stops itself before its handler runs, so the handler may start it again.
class Timer {
public:
    virtual ~Timer() = default;

    const QString &name() const { return m_name; }
    int interval() const { return m_interval; }
    bool singleShot() const { return m_singleShot; }
    virtual bool isActive() const = 0;

    // Changing the interval of a running timer restarts its count. A running timer with
    // interval 0 never fires.
    void setInterval(int ms);
    virtual void start() = 0; // (re)starts the count from now
    virtual void stop() = 0;
    void setActive(bool on) { on ? start() : stop(); }

    // Free-form value some timers carry (the deferred seek keeps its target here).
    int tag = 0;
    std::function<void()> onTimeout;

protected:
    Timer(QString name, int intervalMs, bool singleShot)
        : m_name(std::move(name)), m_interval(intervalMs), m_singleShot(singleShot)
    {
    }
    void fire();

private:
    QString m_name;
    int m_interval;
    bool m_singleShot;
};

// Time, timers, sleeps and "process pending events" go through this interface so that
// tests can run the program's timing on a virtual clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::unique_ptr<Timer> createTimer(const QString &name, int intervalMs, bool singleShot) = 0;
    virtual std::int64_t nowMs() const = 0;
    virtual void sleepMs(int ms) = 0;
    virtual void processEvents() = 0;
    // Waits while the program's events, timers among them, go on being handled.
    virtual void waitMs(int ms) = 0;

    // A timer created with the given running state at creation.
    std::unique_ptr<Timer> timer(const QString &name, int intervalMs, bool singleShot, bool running)
    {
        auto t = createTimer(name, intervalMs, singleShot);
        if (running) t->start();
        return t;
    }
};

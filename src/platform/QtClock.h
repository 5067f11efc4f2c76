#pragma once

#include "platform/Clock.h"

#include <QElapsedTimer>

// The production clock: QTimer and the Qt event loop.
class QtClock : public Clock {
public:
    QtClock() { m_elapsed.start(); }
    std::unique_ptr<Timer> createTimer(const QString &name, int intervalMs, bool singleShot) override;
    std::int64_t nowMs() const override { return m_elapsed.elapsed(); }
    void sleepMs(int ms) override;
    void processEvents() override;
    void waitMs(int ms) override;

private:
    QElapsedTimer m_elapsed;
};

#include "platform/QtClock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace {

class QtTimer final : public Timer {
public:
    QtTimer(const QString &name, int intervalMs, bool singleShot) : Timer(name, intervalMs, singleShot)
    {
        m_timer.setSingleShot(singleShot);
        // Coarse timers may fire 5 % early or late; the short ones drive playback loops.
        m_timer.setTimerType(intervalMs <= 50 ? Qt::PreciseTimer : Qt::CoarseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { fire(); });
    }
    bool isActive() const override { return m_timer.isActive() || m_idle; }
    void start() override
    {
        // A running timer with interval 0 never fires.
        m_idle = interval() <= 0;
        if (m_idle) m_timer.stop();
        else m_timer.start(interval());
    }
    void stop() override
    {
        m_idle = false;
        m_timer.stop();
    }

private:
    QTimer m_timer;
    bool m_idle = false;
};

} // namespace

std::unique_ptr<Timer> QtClock::createTimer(const QString &name, int intervalMs, bool singleShot)
{
    return std::make_unique<QtTimer>(name, intervalMs, singleShot);
}

void QtClock::sleepMs(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

void QtClock::processEvents() { QCoreApplication::processEvents(); }

void QtClock::waitMs(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

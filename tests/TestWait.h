#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

// Runs the Qt event loop until pred holds or ms have passed; returns whether it held.
inline bool WaitFor(const std::function<bool()> &pred, int ms = 3000)
{
    QElapsedTimer t;
    t.start();
    while (!pred() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return pred();
}

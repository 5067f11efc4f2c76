#include "platform/Clock.h"

void Timer::setInterval(int ms)
{
    m_interval = ms;
    if (isActive()) start();
}

void Timer::fire()
{
    if (m_singleShot) stop();
    if (onTimeout) onTimeout();
}

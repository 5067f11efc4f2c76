#include "platform/ApplicationEvents.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindowStateChangeEvent>

ApplicationEvents::ApplicationEvents(QWidget *mainWindow) : QObject(mainWindow), m_mainWindow(mainWindow)
{
    m_mainWindow->installEventFilter(this);
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive) emit activated();
        else if (s == Qt::ApplicationInactive) emit deactivated();
    });
}

bool ApplicationEvents::isMinimized() const { return m_mainWindow->isMinimized(); }

bool ApplicationEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_mainWindow && event->type() == QEvent::WindowStateChange) {
        const bool was = static_cast<QWindowStateChangeEvent *>(event)->oldState() & Qt::WindowMinimized;
        const bool now = m_mainWindow->windowState() & Qt::WindowMinimized;
        if (now && !was) emit minimized();
        else if (was && !now) emit restored();
    }
    return QObject::eventFilter(watched, event);
}

#include "platform/WindowAccessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

QAccessibleInterface *WindowInterface(const QString &className, QObject *object)
{
    auto *w = qobject_cast<QWidget *>(object);
    // Only for the class of the window itself, so that Qt's own interfaces of its widget
    // classes (dialogs, main windows) stay theirs.
    if (!w || !w->isWindow() || className != QLatin1String(w->metaObject()->className()) ||
        w->metaObject()->superClass() != &QWidget::staticMetaObject)
        return nullptr;
    return new QAccessibleWidget(w, QAccessible::Window);
}

} // namespace

void ExposeWindowsAsWindows()
{
    static const bool installed = [] {
        QAccessible::installFactory(WindowInterface);
        return true;
    }();
    (void)installed;
}

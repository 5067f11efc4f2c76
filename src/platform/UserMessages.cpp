#include "platform/UserMessages.h"

#include <QApplication>
#include <QMessageBox>

void QtUserMessages::error(const QString &caption, const QString &text)
{
    QMessageBox::critical(QApplication::activeWindow(), caption, text);
}

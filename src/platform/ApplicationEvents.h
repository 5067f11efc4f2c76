#pragma once

#include <QObject>

class QWidget;

// The application being minimised, restored, activated or deactivated. The main window's
// minimised state stands for the application's.
class ApplicationEvents : public QObject {
    Q_OBJECT
public:
    explicit ApplicationEvents(QWidget *mainWindow);
    bool isMinimized() const;

signals:
    void minimized();
    void restored();
    void activated();
    void deactivated();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_mainWindow;
};

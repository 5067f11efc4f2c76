#pragma once

#include <QToolBar>

class QAction;

// The player's button bar: Play, Pause, Stop, Next, Prev, Step, Back.
class MediaButtonBar : public QToolBar {
    Q_OBJECT
public:
    enum Button { Play, Pause, Stop, Next, Prev, Step, Back, ButtonCount };
    explicit MediaButtonBar(const QString &objectName, QWidget *parent);
    QAction *action(Button b) const { return m_actions[b]; }

signals:
    void buttonClicked(MediaButtonBar::Button button);

private:
    QAction *m_actions[ButtonCount];
};

#include "playback/MediaButtonBar.h"

#include <QAction>
#include <QStyle>

MediaButtonBar::MediaButtonBar(const QString &objectName, QWidget *parent) : QToolBar(parent)
{
    setObjectName(objectName);
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(20, 20));
    setAccessibleName(QStringLiteral("Проигрыватель"));
    struct Spec {
        const char *name;
        const char *hint;
        QStyle::StandardPixmap icon;
    };
    static const Spec specs[ButtonCount] = {
        {"Play", "Воспроизвести", QStyle::SP_MediaPlay},
        {"Pause", "Пауза", QStyle::SP_MediaPause},
        {"Stop", "Стоп", QStyle::SP_MediaStop},
        {"Next", "В конец", QStyle::SP_MediaSkipForward},
        {"Prev", "В начало", QStyle::SP_MediaSkipBackward},
        {"Step", "Шаг вперед", QStyle::SP_MediaSeekForward},
        {"Back", "Шаг назад", QStyle::SP_MediaSeekBackward},
    };
    for (int b = 0; b < ButtonCount; ++b) {
        QAction *a = addAction(style()->standardIcon(specs[b].icon), QString::fromUtf8(specs[b].hint));
        a->setObjectName(QLatin1String(specs[b].name));
        connect(a, &QAction::triggered, this, [this, b] { emit buttonClicked(Button(b)); });
        m_actions[b] = a;
    }
}

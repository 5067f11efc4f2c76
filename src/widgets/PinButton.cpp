#include "widgets/PinButton.h"

#include <QEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>

namespace {

const char *const PinHint = "Закрепить окно поверх всех";
const char *const UnpinHint = "Открепить окно";

// Image 0 of the pair: a pin lying down (not pinned); image 1: a pin stuck in (pinned).
QIcon PinImage(bool pinned)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(pinned ? QColor(200, 30, 30) : QColor(150, 150, 150));
    if (pinned) {
        p.drawEllipse(QRectF(4, 1, 8, 7));
        p.drawLine(QPointF(8, 8), QPointF(8, 15));
    } else {
        p.drawEllipse(QRectF(1, 4, 7, 8));
        p.drawLine(QPointF(8, 8), QPointF(15, 8));
    }
    return QIcon(pixmap);
}

} // namespace

PinButton::PinButton(QWidget *window, QMenuBar *bar)
    : QToolButton(bar ? static_cast<QWidget *>(bar) : window), m_window(window), m_overlay(!bar)
{
    setObjectName(QStringLiteral("JvCaptionButton1"));
    setCheckable(true);
    setFixedWidth(24);
    setIcon(PinImage(false));
    setToolTip(QString::fromUtf8(PinHint));
    setAccessibleName(toolTip());
    setFocusPolicy(Qt::NoFocus);
    setAutoRaise(true);
    connect(this, &QToolButton::toggled, this, &PinButton::JvCaptionButton1Click);
    if (bar) {
        bar->setCornerWidget(this, Qt::TopRightCorner);
    } else {
        window->installEventFilter(this);
        placeAtTopRight();
    }
}

void PinButton::JvCaptionButton1Click()
{
    const bool pinned = isChecked();
    if (!pinned && beforeRelease) beforeRelease();
    setToolTip(QString::fromUtf8(pinned ? UnpinHint : PinHint));
    setAccessibleName(toolTip());
    setIcon(PinImage(pinned));
    // Changing the flag maps the window anew: keep its place and size, and do not activate it
    // when pinning.
    const QRect geometry = m_window->geometry();
    const bool visible = m_window->isVisible();
    const bool quiet = m_window->testAttribute(Qt::WA_ShowWithoutActivating);
    m_window->setWindowFlag(Qt::WindowStaysOnTopHint, pinned);
    m_window->setGeometry(geometry);
    m_window->setAttribute(Qt::WA_ShowWithoutActivating, pinned || quiet);
    if (visible || !pinned) m_window->show();
    m_window->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
}

bool PinButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) placeAtTopRight();
    return QToolButton::eventFilter(watched, event);
}

void PinButton::placeAtTopRight()
{
    if (!m_overlay) return;
    resize(24, 22);
    move(m_window->width() - width() - 2, 2);
    raise();
}

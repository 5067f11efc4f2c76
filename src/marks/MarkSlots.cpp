#include "marks/MarkSlots.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QPolygon>

MarkStrip::MarkStrip(MarkSlots &marks, QWidget *parent) : QWidget(parent), m_slots(marks)
{
    setFixedHeight(MarkSize + 4);
    setCursor(Qt::PointingHandCursor);
}

void MarkStrip::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < m_slots.size(); ++i) {
        const MarkSlot &s = m_slots[i];
        if (!s.visible) continue;
        // A downward triangle pointing at the bookmark's column of the bar.
        const QPolygon tri({QPoint(s.left, s.top), QPoint(s.left + MarkSize - 1, s.top),
                            QPoint(s.left + MarkSize / 2, s.top + MarkSize - 1)});
        p.setPen(Qt::NoPen);
        p.setBrush(s.blue ? Qt::blue : Qt::red);
        p.drawPolygon(tri);
    }
}

int MarkStrip::slotAt(const QPoint &p) const
{
    // The mark placed last wins, as the later mark is drawn on top.
    for (int i = m_slots.size() - 1; i >= 0; --i) {
        const MarkSlot &s = m_slots[i];
        if (s.visible && QRect(s.left, s.top, MarkSize, MarkSize).contains(p)) return i;
    }
    return -1;
}

void MarkStrip::mousePressEvent(QMouseEvent *event)
{
    const int slot = slotAt(event->position().toPoint());
    if (slot >= 0) emit markPressed(slot, event->button());
    else QWidget::mousePressEvent(event);
}

bool MarkStrip::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int slot = slotAt(help->pos());
        if (slot >= 0) QToolTip::showText(help->globalPos(), m_slots[slot].hint, this);
        else QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

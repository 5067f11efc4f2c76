#include "marks/MarkSlots.h"

#include <QPainter>
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

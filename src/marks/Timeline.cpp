#include "marks/Timeline.h"

#include "base/MediaTime.h"
#include "base/SeekKind.h"
#include "marks/BookmarkTable.h"
#include "marks/MarkSlots.h"
#include "playback/PlayerFacade.h"
#include "widgets/BusyCursor.h"
#include "widgets/Controls.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

void SetBold(QWidget *w, bool bold)
{
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
}

void SetColour(QWidget *w, QPalette::ColorRole role, const QColor &colour)
{
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

} // namespace

Timeline::Timeline(const Controls &controls, BookmarkTable &bookmarks, PlayerFacade &player)
    : m_c(controls), m_bookmarks(bookmarks), m_player(player)
{
    m_c.LabelTrack->installEventFilter(this);
}

bool Timeline::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_c.LabelTrack && event->type() == QEvent::MouseButtonPress) {
        LabelTrackClick();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void Timeline::LabelTrackClick() { m_c.CheckBoxTrack->toggle(); }

std::optional<int> Timeline::column(int ms) const
{
    const TrackBar *bar = m_c.TrackBar1;
    const int min = bar->minimum(), max = bar->maximum();
    // A bar zoomed to an interval of no length shows its one time at the start.
    if (max <= min) return ms == min ? std::optional<int>(0) : std::nullopt;
    const int columns = bar->width() - 23;
    const double x = std::trunc(static_cast<double>(ms - min) * columns / (max - min));
    // A bar wider than the strip's 1000 columns still shows its far end: B of a zoomed bar
    // stands there.
    if (x < 0 || x > std::max(MarkSlots::Count - 1, columns)) return std::nullopt;
    return static_cast<int>(x);
}

void Timeline::redrawABMarks()
{
    placeLetters(column(TimeTextToMs(m_c.MaskEdit1->text())).value_or(0),
                 column(TimeTextToMs(m_c.MaskEdit2->text())).value_or(0));
}

void Timeline::placeLetters(int columnA, int columnB)
{
    const Controls &f = m_c;
    const bool loop = f.CheckBox7->isChecked();
    for (QLabel *l : {f.LabelA, f.LabelB}) {
        SetColour(l, QPalette::WindowText, loop ? QColor(0, 0, 255) : QColor(128, 128, 128));
        l->adjustSize();
        l->show();
        l->raise();
    }
    // The letters stand in the strip's columns; the band reaches a little past them.
    const int left = f.Panel3->x();
    f.LabelA->move(left + columnA, 0);
    f.LabelB->move(left + columnB, 0);
    f.LabelA->setToolTip(f.MaskEdit1->text());
    f.LabelB->setToolTip(f.MaskEdit2->text());
    const int a = f.LabelA->x(), b = f.LabelB->x();
    const int width = b < a ? 20 : std::abs(b - a) + f.LabelB->width() + 10;
    SetColour(f.ShapeAB, QPalette::Window, loop ? QColor(234, 255, 255) : QColor(222, 222, 222));
    f.ShapeAB->setGeometry(a - 5, 0, width, f.Panel3->y() + f.Panel3->height());
    f.ShapeAB->show();
    f.ShapeAB->lower();
}

void Timeline::CheckBoxTrackClick()
{
    BusyCursor busy;
    const Controls &f = m_c;
    const bool zoomed = f.CheckBoxTrack->isChecked();
    SetBold(f.CheckBoxTrack, zoomed);
    SetBold(f.LabelTrack, zoomed);
    TrackBar *bar = f.TrackBar1;
    // A position the new range cannot hold moves to its nearer end, and the player with it,
    // so that the bar and the player never disagree.
    bar->tag = SeekUser;
    if (zoomed) {
        const int a = TimeTextToMs(f.MaskEdit1->text()), b = TimeTextToMs(f.MaskEdit2->text());
        if (a <= b) bar->setRange(a, b);
    } else {
        const int length = m_player.LengthMs();
        f.Label5->setText(MsToTimeText(length));
        bar->setRange(0, std::max(0, length - 1));
        // A player that played on past B was shown at B; now the bar can show its own place.
        const int position = m_player.PositionMs();
        if (bar->value() != position) {
            bar->tag = SeekDisplay;
            bar->setValue(position);
            bar->tag = SeekUser;
        }
    }

    const int outside = zoomed ? OutOfView : 0;
    placeLetters(column(TimeTextToMs(f.MaskEdit1->text())).value_or(0),
                 column(TimeTextToMs(f.MaskEdit2->text())).value_or(outside));
    MarkSlots &marks = *f.MarkImages;
    for (int row = 1; row < m_bookmarks.rowCount(); ++row) {
        const int slot = m_bookmarks.slot(row);
        if (slot < 0 || marks[slot].tag != row) continue;
        const int x = column(TimeTextToMs(m_bookmarks.cell(BookmarkTable::Time, row))).value_or(outside);
        // As the bookmark's own placing does, so that zooming out puts every mark back.
        marks[slot].left = x - 1;
    }
    f.Panel3->update();
}

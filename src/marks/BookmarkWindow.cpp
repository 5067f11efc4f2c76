#include "marks/BookmarkWindow.h"

#include "base/MediaTime.h"
#include "base/SeekKind.h"
#include "marks/BookmarkNavigator.h"
#include "marks/IntervalList.h"
#include "marks/MarkSlots.h"
#include "marks/TForm2.h"
#include "platform/UserMessages.h"
#include "playback/PlayerFacade.h"
#include "widgets/BusyCursor.h"
#include "widgets/Controls.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

BookmarkWindow::BookmarkWindow(const Controls &controls, TForm2 &window, BookmarkNavigator &navigator,
                               PlayerFacade &player, TimelineZoom &zoom, UserMessages &messages)
    : m_c(controls), m_window(window), m_navigator(navigator), m_player(player), m_zoom(zoom), m_messages(messages)
{
    QObject::connect(window.BitBtn1, &QPushButton::clicked, &window, [this] { BitBtn1Click(); });
    QObject::connect(window.BitBtn2, &QPushButton::clicked, &window, [this] { BitBtn2Click(); });
    QObject::connect(window.BitBtn3, &QPushButton::clicked, &window, [this] { BitBtn3Click(); });
    QObject::connect(window.BitBtn4, &QPushButton::clicked, &window, [this] { m_navigator.BitBtn1Click(); });
    QObject::connect(window.BitBtn5, &QPushButton::clicked, &window, [this] { BitBtn5Click(); });
    QObject::connect(&window, &TForm2::cellPressed, &window, [this](int column, int row, Qt::MouseButton button) {
        StringGrid1MouseDown(column, row, button);
    });
    QObject::connect(&window, &TForm2::enterPressed, &window, [this] { StringGrid1KeyDownEnter(); });
}

BookmarkTable &BookmarkWindow::table() const { return m_window.StringGrid1; }

void BookmarkWindow::N12Click()
{
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
}

int BookmarkWindow::markOf(int row) const
{
    const MarkSlots &marks = *m_c.MarkImages;
    for (int i = 0; i < marks.size(); ++i)
        if (marks[i].visible && marks[i].tag == row) return i;
    return -1;
}

// The mark moves to the column of the row's time, or stays and takes the row's hint.
void BookmarkWindow::replaceMark(int row)
{
    const int old = markOf(row);
    if (old < 0) return;
    const TrackBar *bar = m_c.TrackBar1;
    const int x = BookmarkNavigator::TimelineColumn(TimeTextToMs(table().cell(BookmarkTable::Time, row)),
                                                    bar->minimum(), bar->maximum(), bar->width());
    if (x != old) (*m_c.MarkImages)[old].visible = false;
    m_navigator.PlaceBookmarkMark(row);
}

void BookmarkWindow::seekTo(int row)
{
    m_c.TrackBar1->tag = SeekUser;
    m_c.TrackBar1->setValue(TimeTextToMs(table().cell(BookmarkTable::Time, row)));
}

void BookmarkWindow::StringGrid1MouseDown(int column, int row, Qt::MouseButton button)
{
    if (button != Qt::LeftButton) {
        m_player.TogglePlayPause();
        return;
    }
    if (column == BookmarkTable::Number && row >= 1) seekTo(row);
}

void BookmarkWindow::StringGrid1KeyDownEnter() { replaceMark(table().row()); }

void BookmarkWindow::BitBtn1Click() { m_navigator.DeleteSelectedBookmark(); }

void BookmarkWindow::BitBtn3Click()
{
    if (!m_messages.question(QStringLiteral("Внимание!"), QStringLiteral("Удалить ВСЕ? (номера закладок будут с 1)")))
        return;
    m_navigator.ResetBookmarkNumbering();
    m_navigator.DeleteAllBookmarks();
}

void BookmarkWindow::BitBtn2Click() { seekTo(table().row()); }

// Hand edits are tidied: blanks trimmed, every mark placed at its time, and the rows sorted by
// time, each mark going with its bookmark.
void BookmarkWindow::BitBtn5Click()
{
    BusyCursor busy;
    BookmarkTable &t = table();
    const int last = t.rowCount() - 1;
    for (int row = 1; row <= last; ++row)
        for (int column : {BookmarkTable::Name, BookmarkTable::Time, BookmarkTable::Comment})
            t.setCell(column, row, t.cell(column, row).trimmed());
    for (int row = 1; row <= last; ++row) replaceMark(row);
    if (last > 1) {
        MarkSlots &marks = *m_c.MarkImages;
        for (int pass = 1; pass < last; ++pass)
            for (int b = last; b > pass; --b) {
                if (TimeTextToMs(t.cell(BookmarkTable::Time, b)) >= TimeTextToMs(t.cell(BookmarkTable::Time, b - 1)))
                    continue;
                const int upper = markOf(b - 1), lower = markOf(b);
                for (int column : {BookmarkTable::Name, BookmarkTable::Time, BookmarkTable::Comment}) {
                    const QString above = t.cell(column, b - 1);
                    t.setCell(column, b - 1, t.cell(column, b));
                    t.setCell(column, b, above);
                }
                if (upper >= 0) marks[upper].tag = b;
                if (lower >= 0) marks[lower].tag = b - 1;
                t.setSlot(b - 1, lower);
                t.setSlot(b, upper);
            }
    }
    if (m_c.CheckBoxTrack->isChecked()) m_zoom.CheckBoxTrackClick();
}

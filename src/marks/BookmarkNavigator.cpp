#include "marks/BookmarkNavigator.h"

#include "widgets/Controls.h"
#include "base/MediaTime.h"
#include "base/SeekKind.h"
#include "marks/MarkSlots.h"
#include "marks/TForm2.h"
#include "platform/ProgramFolder.h"
#include "platform/ScrollLock.h"
#include "platform/SoundPlayer.h"
#include "platform/TextTarget.h"
#include "playback/LoopState.h"
#include "playback/PlayerFacade.h"

#include <QAction>
#include <QPushButton>
#include <QToolButton>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <cmath>
#include <optional>

namespace {

std::optional<int> ReadInt(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

QString SoundPath() { return WorkFolder() + QStringLiteral("/Zakl.wav"); }

} // namespace

BookmarkNavigator::BookmarkNavigator(const Controls &controls, TForm2 &bookmarks, LoopState &loop, PlayerFacade &player,
                                     ScrollLock &scrollLock, SoundPlayer &sound, TextTarget &text)
    : m_c(controls), m_bookmarks(bookmarks), m_loop(loop), m_player(player), m_scrollLock(scrollLock), m_sound(sound),
      m_text(text)
{
    m_soundAvailable = QFileInfo(SoundPath()).isFile();
    const auto wire = [](QAbstractButton *hidden, QAbstractButton *visible, auto handler) {
        for (QAbstractButton *b : {hidden, visible}) QObject::connect(b, &QAbstractButton::clicked, b, handler);
    };
    wire(m_c.BitBtn1, m_c.SpeedButton1, [this] { BitBtn1Click(); });
    wire(m_c.BitBtn3, m_c.SpeedButton3, [this] { BitBtn3Click(); });
    wire(m_c.BitBtn4, m_c.SpeedButton4, [this] { BitBtn4Click(); });
    QObject::connect(m_c.N20, &QAction::triggered, m_c.N20, [this] { N20Click(); });
}

BookmarkTable &BookmarkNavigator::table() { return m_bookmarks.StringGrid1; }

QString BookmarkNavigator::positionText() const { return m_c.Label1->text() + u'.' + m_c.Label11->text(); }

int BookmarkNavigator::TimelineColumn(int ms, int minimum, int maximum, int width)
{
    if (maximum <= minimum) return 0;
    const int x = static_cast<int>(std::trunc(static_cast<double>(ms - minimum) * (width - 23) / (maximum - minimum)));
    return x < 0 || x > 999 ? 0 : x;
}

QString BookmarkNavigator::nextName(int row) const
{
    const auto number = ReadInt(m_bookmarks.EditNZ->text());
    return number ? QStringLiteral("z%1").arg(*number) : QStringLiteral("z0%1").arg(row);
}

void BookmarkNavigator::BitBtn1Click()
{
    BookmarkTable &grid = table();
    QString t = positionText();
    // The external player works in tenths of a second.
    if (m_player.ActiveEngine() == Engine::Mpc)
        t = m_c.Label1->text() + u'.' + m_c.Label11->text().left(1) + QStringLiteral("00");

    bool duplicate = false;
    for (int r = 1; r < grid.rowCount() && !duplicate; ++r) {
        const QString time = grid.cell(BookmarkTable::Time, r);
        duplicate = !time.trimmed().isEmpty() && MediaTimeWithin(t, time, 20);
    }
    if (!duplicate) {
        if (m_c.N20->isChecked() && m_soundAvailable) m_sound.playAsync(SoundPath());
        if (grid.rowCount() > 2 || !grid.cell(BookmarkTable::Time, 1).trimmed().isEmpty())
            grid.insertRow(grid.rowCount());
        const int last = grid.rowCount() - 1;
        grid.setCell(BookmarkTable::Name, last, nextName(last));
        grid.setCell(BookmarkTable::Time, last, t);
        grid.setCell(BookmarkTable::Number, last, QString::number(last));
        grid.setCell(BookmarkTable::Comment, last, {});
        PlaceBookmarkMark(last);
        grid.select(BookmarkTable::Comment, last);
        const QString name = grid.cell(BookmarkTable::Name, last);
        if (m_c.CheckBox9->isChecked() && m_text.hasTextWindow())
            m_text.InsertText(QChar(0x00A0) + u'{' + name + u'}' + QChar(0x00A0));

        // Keep the table in time order: the new bookmark moves up before the first later one.
        if (grid.rowCount() > 2) {
            int l = 1;
            while (l < last && grid.cell(BookmarkTable::Time, l) <= t) ++l;
            if (l < last) {
                const int slot = grid.slot(last);
                for (int r = last; r > l; --r) {
                    for (int c : {BookmarkTable::Name, BookmarkTable::Time, BookmarkTable::Comment})
                        grid.setCell(c, r, grid.cell(c, r - 1));
                    grid.setSlot(r, grid.slot(r - 1));
                }
                grid.setCell(BookmarkTable::Name, l, name);
                grid.setCell(BookmarkTable::Time, l, t);
                grid.setCell(BookmarkTable::Comment, l, {});
                grid.setSlot(l, slot);
                grid.select(BookmarkTable::Comment, l);
                for (int i = 0; i < m_c.MarkImages->size(); ++i) {
                    MarkSlot &s = (*m_c.MarkImages)[i];
                    if (s.tag == last) s.tag = l;
                    else if (s.tag >= l && s.visible) ++s.tag;
                }
            }
        }
        const auto number = ReadInt(m_bookmarks.EditNZ->text());
        m_bookmarks.EditNZ->setText(QString::number(number ? *number + 1 : grid.rowCount()));
    }
    if (m_c.CheckBox8->isChecked()) CheckBox8Click();
}

void BookmarkNavigator::PlaceBookmarkMark(int row)
{
    BookmarkTable &grid = table();
    const QString time = grid.cell(BookmarkTable::Time, row);
    const TrackBar *bar = m_c.TrackBar1;
    const int x = TimelineColumn(TimeTextToMs(time), bar->minimum(), bar->maximum(), bar->width());
    MarkSlot &slot = (*m_c.MarkImages)[x];
    slot.tag = row;
    grid.setSlot(row, x);
    const QString comment = grid.cell(BookmarkTable::Comment, row);
    slot.hint = time + QStringLiteral(" {") + grid.cell(BookmarkTable::Name, row) + QStringLiteral("} ") + comment;
    slot.left = x - 1;
    slot.top = 3;
    slot.blue = comment.startsWith(u'#');
    slot.visible = true;
    m_c.Panel3->update();
}

void BookmarkNavigator::seekUser(const QString &timeText)
{
    m_c.TrackBar1->tag = SeekUser;
    m_c.TrackBar1->setValue(TimeTextToMs(timeText));
}

void BookmarkNavigator::repeatSeekAndRecompute()
{
    m_player.SeekFromTrackBar();
    if (m_c.CheckBox8->isChecked()) CheckBox8Click();
}

void BookmarkNavigator::BitBtn3Click(bool bookmarkOrA)
{
    BookmarkTable &grid = table();
    const QString p = positionText();
    m_loop.BookmarkRepeatsLeft = m_c.UpDown6->position();
    const bool playing = m_player.IsPlaying();
    const QString a = m_c.MaskEdit1->text();

    const int pMs = TimeTextToMs(p);
    int r = grid.rowCount() - 1;
    bool toA = false, found = false;
    for (; r >= 1; --r) {
        const QString time = grid.cell(BookmarkTable::Time, r);
        if (bookmarkOrA && a <= p && a > time) {
            toA = found = true;
            break;
        }
        // Paused, the row reached last time is passed over, so each press goes one further
        // back; playing, a bookmark reached less than 0.7 s ago is passed over.
        if (time <= p && (playing ? pMs - TimeTextToMs(time) > 700 : r != m_lastBackRow || r == 1)) {
            found = true;
            break;
        }
    }
    if (found) {
        m_lastBackRow = playing ? -1 : r;
        if (playing) m_player.Pause();
        seekUser(toA ? a : grid.cell(BookmarkTable::Time, r));
        if (!toA) grid.select(BookmarkTable::Comment, r);
        if (playing) m_player.Play();
    }
    repeatSeekAndRecompute();
}

void BookmarkNavigator::BitBtn4Click()
{
    BookmarkTable &grid = table();
    const QString p = positionText();
    m_loop.BookmarkRepeatsLeft = m_c.UpDown6->position();
    const int n = grid.rowCount() - 1;
    for (int i = 1; i <= n; ++i) {
        const QString time = grid.cell(BookmarkTable::Time, i);
        if (time > p && (i != m_lastForwardRow || i == n)) {
            m_lastForwardRow = i;
            seekUser(time);
            grid.select(BookmarkTable::Comment, i);
            break;
        }
    }
    repeatSeekAndRecompute();
}

void BookmarkNavigator::CheckBox8Click()
{
    const Controls &f = m_c;
    const bool on = f.CheckBox8->isChecked();
    m_loop.SkipHashSegment = false;
    f.CheckBox10->setEnabled(on);
    if (m_scrollLock.available() && m_scrollLock.isOn() != on) m_scrollLock.pressAndRelease();
    if (on && !m_loop.LoopPaused) m_loop.BookmarkRepeatsLeft = f.UpDown6->position();
    f.Panel3->setAutoFillBackground(on);
    f.Panel3->setPalette(on ? QPalette(QColor(255, 251, 240)) : f.Panel3->parentWidget()->palette());
    if (!on) return;

    BookmarkTable &grid = table();
    const QString p = positionText();
    QString start = QLatin1String(ZeroTimeText);
    QString end = f.Label5->text();
    int k = 1;
    const int n = grid.rowCount() - 1;
    while (k <= n && !(grid.cell(BookmarkTable::Time, k).trimmed().size() > 0 && grid.cell(BookmarkTable::Time, k) > p))
        ++k;
    if (k <= n) {
        end = grid.cell(BookmarkTable::Time, k);
        if (k > 1) start = grid.cell(BookmarkTable::Time, k - 1);
        m_loop.SkipHashSegment = grid.cell(BookmarkTable::Comment, k - 1).startsWith(u'#');
    } else {
        start = grid.cell(BookmarkTable::Time, n);
        if (start.trimmed().isEmpty()) start = QLatin1String(ZeroTimeText);
        m_loop.SkipHashSegment = grid.cell(BookmarkTable::Comment, n).startsWith(u'#');
    }
    if (f.CheckBox7->isChecked() && m_loop.ABRepeatsLeft != -1) {
        const QString a = f.MaskEdit1->text(), b = f.MaskEdit2->text();
        if (p < a && a < end) end = a;
        else if (p < b && b < end) end = b;
        if (b <= p && b > start) start = b;
        else if (a <= p && a > start) start = a;
    }
    f.MaskEdit3->setText(start);
    f.MaskEdit4->setText(end);
}

void BookmarkNavigator::ImageZkMouseDown(int slot, Qt::MouseButton button)
{
    if (button != Qt::LeftButton) {
        m_player.TogglePlayPause();
        return;
    }
    const QString hint = (*m_c.MarkImages)[slot].hint.trimmed();
    if (hint.size() < 12) return;
    const QString time = hint.left(12);
    BookmarkTable &grid = table();
    for (int r = 1; r < grid.rowCount(); ++r) {
        if (grid.cell(BookmarkTable::Time, r) == time) {
            grid.select(BookmarkTable::Comment, r);
            seekUser(time);
            return;
        }
    }
}

void BookmarkNavigator::N20Click() { m_soundAvailable = QFileInfo(SoundPath()).isFile(); }

void BookmarkNavigator::DeleteSelectedBookmark()
{
    BookmarkTable &grid = table();
    const int row = grid.row();
    if (const int slot = grid.slot(row); slot >= 0 && (*m_c.MarkImages)[slot].tag == row)
        (*m_c.MarkImages)[slot].visible = false;
    for (int i = 0; i < m_c.MarkImages->size(); ++i) {
        MarkSlot &s = (*m_c.MarkImages)[i];
        if (s.visible && s.tag >= row) --s.tag;
    }
    grid.removeRow(row); // rows below move up with their marks; the placeholder row stays
    for (int r = 1; r < grid.rowCount(); ++r) grid.setCell(BookmarkTable::Number, r, QString::number(r));
    if (grid.cell(BookmarkTable::Time, 1).isEmpty()) grid.setCell(BookmarkTable::Number, 1, {});
    m_c.Panel3->update();
}

void BookmarkNavigator::DeleteAllBookmarks()
{
    BookmarkTable &grid = table();
    grid.select(BookmarkTable::Comment, 1);
    while (!grid.cell(BookmarkTable::Number, grid.row()).trimmed().isEmpty()) {
        DeleteSelectedBookmark();
        grid.select(BookmarkTable::Comment, 1);
    }
}

void BookmarkNavigator::ClearTableAndMarks()
{
    BookmarkTable &grid = table();
    grid.setRowCount(2);
    for (int column = 0; column < BookmarkTable::ColumnCount; ++column) grid.setCell(column, 1, QString());
    grid.setSlot(1, -1);
    for (int i = 0; i < m_c.MarkImages->size(); ++i) (*m_c.MarkImages)[i] = MarkSlot{};
    m_c.Panel3->update();
}

void BookmarkNavigator::ResetBookmarkNumbering() { m_bookmarks.EditNZ->setText(QStringLiteral("1")); }

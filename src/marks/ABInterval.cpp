#include "marks/ABInterval.h"

#include "widgets/Controls.h"
#include "base/MediaTime.h"
#include "base/SeekKind.h"
#include "marks/IntervalList.h"
#include "platform/Clock.h"
#include "playback/LoopState.h"
#include "marks/BookmarkNavigator.h"
#include "marks/BookmarkTable.h"
#include "playback/PlayerFacade.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace {

// Presses with any button on a label: left goes there, others start or pause.
class LabelPress : public QObject {
public:
    LabelPress(QObject *parent, std::function<void(Qt::MouseButton)> onPress)
        : QObject(parent), m_onPress(std::move(onPress))
    {
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::MouseButtonPress) return false;
        m_onPress(static_cast<QMouseEvent *>(event)->button());
        return true;
    }

private:
    std::function<void(Qt::MouseButton)> m_onPress;
};

} // namespace

ABInterval::ABInterval(const Controls &controls, BookmarkTable &bookmarks, LoopState &loop, PlayerFacade &player,
                       BookmarkNavigator &navigator, IntervalList &intervals, TimelineZoom &zoom)
    : m_c(controls), m_table(bookmarks), m_loop(loop), m_player(player), m_navigator(navigator), m_intervals(intervals),
      m_zoom(zoom)
{
    const Controls &f = m_c;
    QObject::connect(f.SpeedButton5, &QToolButton::clicked, f.SpeedButton5, [this] { SpeedButton5Click(); });
    QObject::connect(f.SpeedButton6, &QToolButton::clicked, f.SpeedButton6, [this] { SpeedButton6Click(); });
    QObject::connect(f.SpeedButton10, &QToolButton::clicked, f.SpeedButton10, [this] { SpeedButton10Click(); });
    QObject::connect(f.SpeedButton11, &QToolButton::clicked, f.SpeedButton11, [this] { SpeedButton11Click(); });
    QObject::connect(f.CheckBox14, &QCheckBox::toggled, f.CheckBox14, [this] { CheckBox14Click(); });
    QObject::connect(f.Edit8, &QLineEdit::textChanged, f.Edit8, [this] {
        if (m_c.CheckBox14->isChecked()) CheckBox14Click();
    });
    // Checking the list mode leaves the by-N mode.
    QObject::connect(f.CheckBox16, &QCheckBox::toggled, f.CheckBox16, [this](bool on) {
        if (on) m_c.CheckBox14->setChecked(false);
    });
    for (QLineEdit *e : {f.MaskEdit1, f.MaskEdit2})
        QObject::connect(e, &QLineEdit::textChanged, e, [this] { redrawMarks(); });
    auto *toA = new LabelPress(f.LabelA, [this](Qt::MouseButton b) { LabelAMouseDown(b); });
    auto *toB = new LabelPress(f.LabelB, [this](Qt::MouseButton b) { LabelBMouseDown(b); });
    f.LabelA->installEventFilter(toA);
    f.Label9->installEventFilter(toA);
    f.LabelB->installEventFilter(toB);
    f.Label13->installEventFilter(toB);
}

QString ABInterval::a() const { return m_c.MaskEdit1->text(); }
QString ABInterval::b() const { return m_c.MaskEdit2->text(); }

void ABInterval::setAB(const QString &a, const QString &b)
{
    m_c.MaskEdit1->setText(a);
    m_c.MaskEdit2->setText(b);
}

QString ABInterval::rowTime(int row) const { return m_table.cell(BookmarkTable::Time, row); }

int ABInterval::findRow(const QString &time) const
{
    for (int r = 1; r < m_table.rowCount(); ++r)
        if (rowTime(r) == time) return r;
    return -1;
}

void ABInterval::CheckBox7Click()
{
    const Controls &f = m_c;
    const bool on = f.CheckBox7->isChecked();
    f.CheckBox15->setEnabled(on);
    f.GroupBox4->setStyleSheet(on ? QStringLiteral("QGroupBox#GroupBox4::title { color: rgb(0, 0, 255); }")
                                  : QString());
    if (on) m_loop.ABRepeatsLeft = f.UpDown7->position();
    redrawMarks();
    if (f.CheckBox8->isChecked()) m_navigator.CheckBox8Click();
}

void ABInterval::SpeedButton5Click()
{
    const QString text = m_c.Label1->text() + u'.' + m_c.Label11->text();
    m_c.MaskEdit1->setText(text);
    m_c.LabelA->setToolTip(text);
    m_c.LabelA->show();
    m_c.TimerInt->start();
    m_c.TimerZk->start();
}

void ABInterval::SpeedButton6Click()
{
    const QString text = m_c.Label1->text() + u'.' + m_c.Label11->text();
    m_c.MaskEdit2->setText(text);
    m_c.LabelB->setToolTip(text);
    m_c.LabelB->show();
    m_c.TimerInt->start();
    m_c.TimerZk->start();
}

void ABInterval::goTo(const QString &time, Qt::MouseButton button)
{
    if (button != Qt::LeftButton) {
        m_player.TogglePlayPause();
        return;
    }
    m_c.TrackBar1->tag = SeekUser;
    m_c.TrackBar1->setValue(TimeTextToMs(time));
}

void ABInterval::LabelAMouseDown(Qt::MouseButton button) { goTo(a(), button); }
void ABInterval::LabelBMouseDown(Qt::MouseButton button) { goTo(b(), button); }

void ABInterval::CheckBox14Click()
{
    const Controls &f = m_c;
    const bool on = f.CheckBox14->isChecked();
    if (on && f.CheckBox16->isChecked()) f.CheckBox16->setChecked(false);
    f.SpeedButton5->setEnabled(!on);
    f.SpeedButton6->setEnabled(!on);
    if (on && !rowTime(1).trimmed().isEmpty()) {
        const int n = m_table.rowCount() - 1;
        const int N = f.UpDown8->position();
        int c = n;
        while (c >= 1 && !(rowTime(c) <= a())) --c;
        if (c == n) {
            // At or after the last bookmark: the one before it (none: the start) and the last.
            setAB(n > 1 ? rowTime(n - 1) : QLatin1String(ZeroTimeText), rowTime(n));
        } else {
            if (c < 1) c = 1;
            f.MaskEdit1->setText(rowTime(c));
            f.MaskEdit2->setText(rowTime(std::min(c + N, n)));
        }
    }
    if (f.CheckBoxTrack->isChecked()) m_zoom.CheckBoxTrackClick();
}

void ABInterval::afterShift()
{
    if (m_c.CheckBoxTrack->isChecked()) m_zoom.CheckBoxTrackClick();
    m_c.TimerInt->start();
    m_c.TimerZk->start();
}

void ABInterval::SpeedButton10Click()
{
    const Controls &f = m_c;
    if (f.CheckBox14->isChecked()) {
        const int i = findRow(a());
        if (i < 0) {
            CheckBox14Click();
            return;
        }
        if (i == 1) return;
        setAB(rowTime(std::max(1, i - f.UpDown8->position())), a());
    } else if (f.CheckBox16->isChecked()) {
        const int row = f.ListBoxAB->currentRow();
        if (row >= 0) {
            if (row > 0) f.ListBoxAB->setCurrentRow(row - 1);
            m_intervals.ListBoxABClick();
        }
    } else {
        if (a() == QLatin1String(ZeroTimeText)) return;
        const int am = TimeTextToMs(a()), bm = TimeTextToMs(b());
        const int d = std::abs(am - bm);
        setAB(MsToTimeText(std::max(0, am - d)), MsToTimeText(std::max(0, bm - d)));
    }
    afterShift();
}

void ABInterval::SpeedButton11Click()
{
    const Controls &f = m_c;
    if (f.CheckBox14->isChecked()) {
        const int i = findRow(b());
        if (i < 0) {
            CheckBox14Click();
            return;
        }
        const int n = m_table.rowCount() - 1;
        if (i == n) return;
        setAB(b(), rowTime(std::min(n, i + f.UpDown8->position())));
    } else if (f.CheckBox16->isChecked()) {
        const int row = f.ListBoxAB->currentRow();
        if (row >= 0) {
            if (row < f.ListBoxAB->count() - 1) f.ListBoxAB->setCurrentRow(row + 1);
            else if (f.CheckBox6->isChecked()) f.ListBoxAB->setCurrentRow(0);
            m_intervals.ListBoxABClick();
        }
    } else {
        const QString length = f.Label5->text();
        if (b() == length) return;
        const int am = TimeTextToMs(a()), bm = TimeTextToMs(b()), lm = TimeTextToMs(length);
        const int d = std::abs(am - bm);
        setAB(MsToTimeText(std::min(lm, am + d)), MsToTimeText(std::min(lm, bm + d)));
    }
    afterShift();
}

void ABInterval::redrawMarks() { m_zoom.redrawABMarks(); }

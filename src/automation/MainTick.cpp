#include "automation/MainTick.h"

#include "widgets/Controls.h"
#include "platform/Logging.h"
#include "base/MediaTime.h"
#include "base/SeekKind.h"
#include "marks/ABInterval.h"
#include "marks/BookmarkNavigator.h"
#include "playback/LoopState.h"
#include "marks/TForm2.h"
#include "platform/Clock.h"
#include "playback/PlayerFacade.h"
#include "playback/TMPCHC.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <cmath>

MainTick::MainTick(const Controls &controls, LoopState &loop, PlayerFacade &player, Clock &clock, TForm2 &bookmarks,
                   BookmarkNavigator &navigator, ABInterval &ab)
    : m_c(controls), m_loop(loop), m_player(player), m_clock(clock), m_bookmarks(bookmarks), m_navigator(navigator),
      m_ab(ab)
{
    m_c.Timer1->onTimeout = [this] { Timer1Timer(); };
    m_c.TimerZk->onTimeout = [this] { TimerZkTimer(); };
    m_c.TimerInt->onTimeout = [this] { TimerIntTimer(); };
    m_c.TimerPlayNoRefrN->onTimeout = [this] { TimerPlayNoRefrNTimer(); };
    m_c.TimerGoto->onTimeout = [this] { TimerGotoTimer(); };
    QObject::connect(&player, &PlayerFacade::playbackChanged, m_c.Edit6, [this] { wake(); });
    for (QCheckBox *box : {m_c.CheckBox6, m_c.CheckBox7, m_c.CheckBox8, m_c.CheckBox10, m_c.CheckBox13, m_c.CheckBox15})
        QObject::connect(box, &QCheckBox::toggled, box, [this] { wake(); });
    for (QLineEdit *edit : {m_c.Edit6, m_c.Edit7, m_c.MaskEdit1, m_c.MaskEdit2, m_c.MaskEdit3, m_c.MaskEdit4})
        QObject::connect(edit, &QLineEdit::textChanged, edit, [this] { wake(); });
    QObject::connect(m_c.Edit6, &QLineEdit::textChanged, m_c.Edit6,
                     [this] { m_loop.BookmarkRepeatsLeft = m_c.UpDown6->position(); });
    QObject::connect(m_c.Edit7, &QLineEdit::textChanged, m_c.Edit7,
                     [this] { m_loop.ABRepeatsLeft = m_c.UpDown7->position(); });
}

void MainTick::Timer1Timer()
{
    m_c.Timer1->stop();
    // A failing tick is abandoned; the next one runs normally.
    try {
        tick();
    } catch (const std::exception &e) {
        qCWarning(lcAutomation) << "main tick abandoned:" << e.what();
    } catch (...) {
        qCWarning(lcAutomation) << "main tick abandoned: unknown exception";
    }
    if (nothingToWatch() && ++m_stillTicks >= RestAfterStillTicks) {
        m_resting = true;
        m_c.Timer2->stop();
        return;
    }
    m_c.Timer1->start();
}

// The in-process players change only on the program's commands; the external player can be
// driven from its own window, and its refresh also follows the system volume.
bool MainTick::nothingToWatch()
{
    const bool still = m_loop.TickDeltaMs == 0 && m_player.ActiveEngine() != Engine::Mpc && m_player.PlayState() != 3 &&
                       !m_c.TimerZk->isActive() && !m_c.TimerInt->isActive() && !m_c.TimerGoto->isActive();
    if (!still) m_stillTicks = 0;
    return still;
}

void MainTick::wake()
{
    if (!m_resting) return;
    m_resting = false;
    m_stillTicks = 0;
    m_c.Timer1->start();
    m_c.Timer2->start();
}

void MainTick::tick()
{
    const Controls &f = m_c;
    LoopState &st = m_loop;
    const double position = m_player.PositionMs();
    st.TickDeltaMs = static_cast<int>(std::trunc(position - st.PrevPositionMs));
    st.PrevPositionMs = position;

    // Tolerances follow the movement per tick, so a boundary is caught at any tick rate and
    // not caught twice.
    struct Tolerances {
        int arrive, skipLead, zk, in;
    };
    const int delta = st.TickDeltaMs;
    const Tolerances tol = delta >= 6 && delta <= 149 ? Tolerances{150, 250, 200, 250} // playing
                           : delta >= 1 && delta <= 5 ? Tolerances{50, 100, 70, 70}
                           : delta <= 0               ? Tolerances{25, 50, 40, 40} // still or back
                                        : Tolerances{50, 100, f.TimerZk->interval(), f.TimerInt->interval()}; // a jump
    // The re-arm timers wait out the rest of the arrival window, which is media time: at
    // another speed it passes in another wall time. A jump keeps the intervals they have.
    const bool jump = delta > 149;
    const auto wall = [&](int media) { return jump ? media : static_cast<int>(std::ceil(media / m_player.Speed())); };
    const int arrive = tol.arrive, skipLead = tol.skipLead, zk = wall(tol.zk), in = wall(tol.in);
    if (f.TimerZk->interval() != zk) f.TimerZk->setInterval(zk);
    if (f.TimerInt->interval() != in) f.TimerInt->setInterval(in);

    const MediaTime t = MsToMediaTime(static_cast<std::int64_t>(position));
    const QString clock = MediaTimeToStr(t, TimePattern::Clock);
    if (f.Label1->text() != clock) f.Label1->setText(clock);
    f.Label11->setText(MediaTimeToStr(t, TimePattern::Millis));
    const QString positionText = MediaTimeToStr(t);

    const bool playing = m_player.IsPlaying();
    if (!playing) return;
    if (m_bookmarks.CheckBoxOZ->isChecked()) followBookmark(positionText);
    if ((f.CheckBox8->isChecked() || f.CheckBox7->isChecked()) && checkLoops(positionText, arrive, skipLead)) return;
    checkEndOfFile(positionText, arrive);
}

void MainTick::followBookmark(const QString &positionText)
{
    BookmarkTable &grid = m_bookmarks.StringGrid1;
    const int r = grid.row();
    const int n = grid.rowCount();
    const QString zero = QLatin1String(ZeroTimeText);
    const QString start =
        grid.cell(BookmarkTable::Time, r).trimmed().isEmpty() ? zero : grid.cell(BookmarkTable::Time, r);
    QString end = r < n - 1 ? grid.cell(BookmarkTable::Time, r + 1) : QString();
    if (end.isEmpty()) end = m_c.Label5->text();

    int step = 0;
    if (positionText < start && r > 1) step = -1;
    else if (positionText >= end) step = 1;
    if (step == 0) return;
    // Row k holds the position when its time <= position < the next row's time.
    const auto holds = [&](int k) {
        const QString next = grid.cell(BookmarkTable::Time, k + 1);
        return grid.cell(BookmarkTable::Time, k) <= positionText && !next.isEmpty() && positionText < next;
    };
    const int steps = step < 0 ? r - 1 : n - 1 - r;
    int found = step < 0 ? 1 : n - 1;
    for (int i = 1, k = r + step; i <= steps; ++i, k += step) {
        if (holds(k)) {
            found = k;
            break;
        }
    }
    grid.select(BookmarkTable::Comment, found);
}

bool MainTick::checkLoops(const QString &positionText, int arriveToleranceMs, int skipLeadMs)
{
    const Controls &f = m_c;
    LoopState &st = m_loop;
    const bool betweenBookmarks = f.CheckBox8->isChecked();
    const QString segStart = f.MaskEdit3->text(), segEnd = f.MaskEdit4->text();
    const QString a = f.MaskEdit1->text(), b = f.MaskEdit2->text();

    if (betweenBookmarks && f.CheckBox10->isChecked() && st.SkipHashSegment && !f.TimerZk->isActive() &&
        !f.TimerInt->isActive()) {
        st.SkipHashSegment = false;
        seek(SeekLoop, TimeTextToMs(segEnd) - skipLeadMs, true);
        st.BookmarkRepeatsLeft = 0;
    }

    if (betweenBookmarks && st.BookmarkRepeatsLeft != -1 && MediaTimeWithin(positionText, segEnd, -arriveToleranceMs) &&
        segStart != segEnd && !(segStart == a && segEnd == b) && !f.TimerZk->isActive()) {
        if (st.BookmarkRepeatsLeft > 0) --st.BookmarkRepeatsLeft;
        if (f.UpDown6->position() > 0 && st.BookmarkRepeatsLeft < 1) {
            st.BookmarkRepeatsLeft = -1;
            f.TimerZk->start();
            return true; // playback runs on into the next segment
        }
        seek(SeekLoop, TimeTextToMs(segStart));
        pauseAtLoopStart();
        return true;
    }

    if (f.CheckBox7->isChecked() && st.ABRepeatsLeft != -1 && !f.TimerInt->isActive() &&
        MediaTimeWithin(positionText, b, -arriveToleranceMs) && positionText < b && a != b) {
        if (st.ABRepeatsLeft > 0) --st.ABRepeatsLeft;
        if (f.UpDown7->position() > 0 && st.ABRepeatsLeft < 1) {
            st.ABRepeatsLeft = -1;
            if (f.CheckBox15->isChecked()) {
                m_ab.SpeedButton11Click();
                if (f.MaskEdit1->text() != b) seek(SeekUser, TimeTextToMs(f.MaskEdit1->text()));
            }
            f.TimerInt->start();
            return true;
        }
        seek(SeekLoop, TimeTextToMs(a));
        f.TimerZk->start(); // the between-bookmarks state is re-armed for the new place
        pauseAtLoopStart();
        return true;
    }
    return false;
}

void MainTick::checkEndOfFile(const QString &positionText, int arriveToleranceMs)
{
    const Controls &f = m_c;
    if (!f.CheckBox6->isChecked() || !MediaTimeWithin(positionText, f.Label5->text(), -arriveToleranceMs)) return;
    seek(SeekUser, 0);
    if (f.CheckBox13->isChecked()) {
        pauseAtLoopStart();
        return;
    }
    m_player.Stop();
    if (m_player.ActiveEngine() == Engine::Mpc) m_clock.sleepMs(20);
    m_player.Play();
}

void MainTick::seek(int kind, int ms, bool evenIfShown)
{
    TrackBar *bar = m_c.TrackBar1;
    bar->tag = kind;
    if (evenIfShown && bar->value() == ms) m_player.SeekFromTrackBar();
    else bar->setValue(ms);
}

void MainTick::pauseAtLoopStart()
{
    if (!m_c.CheckBox13->isChecked()) return;
    m_player.Pause();
    m_loop.LoopPaused = true;
}

void MainTick::TimerZkTimer()
{
    m_loop.BookmarkRepeatsLeft = m_c.UpDown6->position();
    if (m_c.CheckBox8->isChecked()) m_navigator.CheckBox8Click();
}

void MainTick::TimerIntTimer()
{
    m_loop.ABRepeatsLeft = m_c.UpDown7->position();
    if (m_c.CheckBox8->isChecked()) m_navigator.CheckBox8Click();
}

void MainTick::TimerPlayNoRefrNTimer() { m_loop.LoopPaused = false; }

void MainTick::TimerGotoTimer() { seek(SeekUser, m_c.TimerGoto->tag); }

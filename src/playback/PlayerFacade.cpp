#include "playback/PlayerFacade.h"

#include "widgets/Controls.h"
#include "platform/Logging.h"
#include "base/MediaTime.h"
#include "base/SeekKind.h"
#include "playback/LoopState.h"
#include "playback/MediaSession.h"
#include "playback/Volume.h"
#include "platform/Clock.h"
#include "playback/Engines.h"
#include "playback/TMPCHC.h"
#include "widgets/SpeedBox.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <cstdlib>

PlayerFacade::PlayerFacade(const Controls &controls, MediaSession &session, LoopState &loop, Volume &volume,
                           Clock &clock, MciPlayer &mci, WmpPlayer &wmp)
    : m_c(controls), m_session(session), m_loop(loop), m_volume(volume), m_clock(clock), m_mci(mci), m_wmp(wmp)
{
    connect(m_c.TrackBar1, &QSlider::valueChanged, this, [this] { SeekFromTrackBar(); });
    m_c.Timer2->onTimeout = [this] { RefreshPositionDisplay(); };
    m_c.TrackBar1->setMouseTracking(true);
    m_c.TrackBar1->setPageStep(0); // a click seeks to where it lands, never by a page
    m_c.TrackBar1->installEventFilter(this);
    for (QLabel *l : {m_c.Label1, m_c.Label1t, m_c.Label11, m_c.Label5}) l->installEventFilter(this);
    for (MediaButtonBar *bar : {m_c.MediaPlayer1, m_c.MediaPlayer2})
        connect(bar, &MediaButtonBar::buttonClicked, this, &PlayerFacade::ButtonClick);
    connect(m_c.SpinSpeed, &QDoubleSpinBox::valueChanged, this, &PlayerFacade::SetSpeed);
    connect(this, &PlayerFacade::speedChanged, m_c.SpinSpeed, &QDoubleSpinBox::setValue);
}

PlayerFacade::~PlayerFacade() { m_c.Timer2->onTimeout = nullptr; }

Engine PlayerFacade::ActiveEngine() const
{
    if (m_c.NMPC->isChecked()) return Engine::Mpc;
    return m_session.VideoFlag ? Engine::Wmp : Engine::Mci;
}

int PlayerFacade::PlayState()
{
    switch (ActiveEngine()) {
    case Engine::Mpc: return m_c.MPCHC->GetPlayState();
    case Engine::Wmp: {
        const int s = m_wmp.playState();
        return s >= wmppsStopped && s <= wmppsPlaying ? s : 0;
    }
    case Engine::Mci:
        switch (m_mci.Mode()) {
        case mpPlaying: return 3;
        case mpPaused: return 2;
        case mpStopped: return 1;
        default: return 0;
        }
    }
    return 0;
}

int PlayerFacade::PositionMs()
{
    switch (ActiveEngine()) {
    case Engine::Mpc: return EngineSecondsToMs(m_c.MPCHC->GetPosition());
    case Engine::Wmp: return EngineSecondsToMs(m_wmp.currentPosition());
    case Engine::Mci: return m_mci.Position();
    }
    return 0;
}

int PlayerFacade::LengthMs()
{
    switch (ActiveEngine()) {
    case Engine::Mpc: return EngineLengthToMs(m_c.MPCHC->DurationSec);
    case Engine::Wmp: return EngineLengthToMs(m_wmp.duration());
    case Engine::Mci: return m_mci.Length();
    }
    return 0;
}

void PlayerFacade::SetSpeed(double speed)
{
    speed = std::round(std::clamp(speed, MinSpeed, MaxSpeed) * 10) / 10;
    if (speed == m_speed) return;
    m_speed = speed;
    applySpeed();
    emit speedChanged(speed);
}

void PlayerFacade::applySpeed()
{
    const Engine engine = ActiveEngine();
    double &applied = m_applied[static_cast<int>(engine)];
    if (applied == m_speed) return;
    applied = m_speed;
    switch (engine) {
    case Engine::Mpc: m_c.MPCHC->SetSpeed(m_speed); break;
    case Engine::Wmp: m_wmp.setRate(m_speed); break;
    case Engine::Mci: m_mci.SetSpeed(m_speed); break;
    }
}

void PlayerFacade::Play()
{
    applySpeed();
    switch (ActiveEngine()) {
    case Engine::Mpc: m_c.MPCHC->Play(); break;
    case Engine::Wmp: m_wmp.play(); break;
    case Engine::Mci: m_mci.Play(); break;
    }
    emit playbackChanged();
}

void PlayerFacade::Pause()
{
    applySpeed(); // pausing a paused player plays it
    switch (ActiveEngine()) {
    case Engine::Mpc: m_c.MPCHC->Pause(); break;
    case Engine::Wmp: m_wmp.pause(); break;
    case Engine::Mci: m_mci.Pause(); break;
    }
    emit playbackChanged();
}

void PlayerFacade::Stop()
{
    switch (ActiveEngine()) {
    case Engine::Mpc: m_c.MPCHC->Stop(); break;
    case Engine::Wmp: m_wmp.stop(); break;
    case Engine::Mci: m_mci.Stop(); break;
    }
    emit playbackChanged();
}

void PlayerFacade::SetPositionMs(int ms)
{
    switch (ActiveEngine()) {
    case Engine::Mpc: m_c.MPCHC->SetPosition(ms / 1000.0); break;
    case Engine::Wmp: m_wmp.setCurrentPosition(ms / 1000.0); break;
    case Engine::Mci: m_mci.SetPosition(ms); break;
    }
    emit seeked();
    emit playbackChanged();
}

void PlayerFacade::RestartAutoPausePeriod()
{
    if (m_c.CheckBox1->isChecked()) m_c.TimerPeriod->start();
    else m_c.TimerPeriod->stop();
    m_c.TimerPause->stop();
}

void PlayerFacade::SeekFromTrackBar()
{
    const Controls &f = m_c;
    const int tag = f.TrackBar1->tag;
    if (tag == SeekUser && f.CheckBox8->isChecked() && !m_loop.LoopPaused)
        m_loop.BookmarkRepeatsLeft = f.UpDown6->position();
    if (tag == SeekDisplay) {
        f.TrackBar1->tag = SeekUser;
        return;
    }
    RestartAutoPausePeriod();
    f.Timer2->stop();
    const int p = f.TrackBar1->value();
    f.Label1->setText(MediaTimeToStr(MsToMediaTime(p), TimePattern::Clock));
    f.Label11->setText(MediaTimeToStr(MsToMediaTime(p), TimePattern::Millis));
    f.Label1->repaint();
    f.Label11->repaint();

    const int state = PlayState();
    switch (ActiveEngine()) {
    case Engine::Mpc:
        if (state == 3) {
            f.MPCHC->Pause();
            m_clock.sleepMs(20);
            f.MPCHC->SetPosition(p / 1000.0);
            m_clock.sleepMs(20);
            f.MPCHC->Play();
        } else if (state == 1 || state == 2) {
            f.MPCHC->SetPosition(p / 1000.0);
        }
        break;
    case Engine::Wmp:
        if (state == 3) {
            m_wmp.setCurrentPosition(p / 1000.0);
            m_wmp.play();
        } else if (state == 1 || state == 2) {
            m_wmp.setCurrentPosition(p / 1000.0);
        }
        break;
    case Engine::Mci:
        if (state == 3) {
            m_mci.SetPosition(p);
            m_mci.Play();
        } else if (state == 1 || state == 2) {
            m_mci.SetPosition(p);
        }
        break;
    }
    if (tag == SeekUser && f.CheckBox8->isChecked()) emit bookmarkLoopRestart();
    f.Timer2->start();
    emit seeked();
    emit playbackChanged();
}

void PlayerFacade::RefreshPositionDisplay()
{
    m_c.Timer2->stop();
    try {
        m_volume.VolumeFollow();
        m_c.TrackBar1->tag = SeekDisplay;
        m_c.TrackBar1->setValue(PositionMs());
    } catch (const std::exception &e) {
        // A failing refresh is skipped; the next one comes 100 ms later.
        qCWarning(lcPlayback) << "position refresh skipped:" << e.what();
    } catch (...) {
        qCWarning(lcPlayback) << "position refresh skipped: unknown exception";
    }
    m_c.Timer2->start();
    emit playbackChanged(); // the player may have stopped by itself
}

void PlayerFacade::TogglePlayPause()
{
    applySpeed();
    const int state = PlayState();
    if (ActiveEngine() == Engine::Mci) {
        if (state == 3) {
            m_mci.Pause();
        } else if (state == 1 || state == 2) {
            // Continue from the position shown, not from wherever the player stopped.
            m_mci.SetPosition(m_c.TrackBar1->value());
            m_mci.Play();
        }
    } else if (state == 3) {
        Pause();
    } else if (state == 1 || state == 2) {
        Play();
    }
    emit playbackChanged();
}

int PlayerFacade::ClickPosition(int x, int width, int minimum, int maximum)
{
    if (x < 12) x = 7;
    if (x > width - 14) x = width - 9;
    const double span = static_cast<double>(maximum) - minimum;
    return static_cast<int>(std::trunc(span * (x - 7) / (width - 16) + minimum));
}

QString PlayerFacade::PositionHint(int c, int current, bool tenths)
{
    const auto tenth = [](int ms) { return static_cast<int>(std::lround(ms / 100.0) * 100); };
    int d = std::abs(c - current);
    const bool forward = c >= current;
    if (tenths) {
        c = tenth(c);
        d = tenth(d);
    }
    return u' ' + MsToTimeText(c) + QStringLiteral("   t") + (forward ? u'+' : u'-') + MsToTimeText(d);
}

bool PlayerFacade::eventFilter(QObject *watched, QEvent *event)
{
    TrackBar *bar = m_c.TrackBar1;
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton) {
            TogglePlayPause();
            return true;
        }
        if (watched == bar) {
            const int x = static_cast<int>(mouse->position().x());
            bar->tag = SeekUser;
            bar->setValue(ClickPosition(x, bar->width(), bar->minimum(), bar->maximum()));
        }
    } else if (event->type() == QEvent::MouseMove && watched == bar) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const int c =
            ClickPosition(static_cast<int>(mouse->position().x()), bar->width(), bar->minimum(), bar->maximum());
        const QString hint = PositionHint(c, bar->value(), ActiveEngine() == Engine::Mpc);
        bar->setToolTip(hint);
        QToolTip::showText(mouse->globalPosition().toPoint(), hint, bar);
    }
    return QObject::eventFilter(watched, event);
}

int PlayerFacade::stepMs() const { return m_c.UpDown1->position() * 1000; }

void PlayerFacade::StepForward()
{
    const int s = stepMs();
    const int cur = PositionMs();
    if (ActiveEngine() == Engine::Mci) {
        if (static_cast<std::int64_t>(cur) + s <= m_mci.Length()) {
            const bool wasPlaying = m_mci.Mode() == mpPlaying;
            m_mci.SetPosition(cur + s);
            if (wasPlaying) m_mci.Play();
        } else {
            m_mci.SetPosition(0);
            m_mci.Stop();
        }
        emit seeked(); // the other engines seek through SetPositionMs, which says so
    } else if (LengthMs() >= cur + s) {
        SetPositionMs(cur + s);
    } else {
        SetPositionMs(0);
        Stop();
    }
    emit playbackChanged();
}

void PlayerFacade::StepBack()
{
    const int s = stepMs();
    const int cur = PositionMs();
    if (ActiveEngine() == Engine::Mci) {
        if (cur - s >= 0) {
            const bool wasPlaying = m_mci.Mode() == mpPlaying;
            m_mci.SetPosition(cur - s);
            if (wasPlaying) m_mci.Play();
        } else {
            m_mci.SetPosition(0);
            m_mci.Play();
        }
        emit seeked(); // the other engines seek through SetPositionMs, which says so
    } else if (cur - s >= 0) {
        SetPositionMs(cur - s);
    } else {
        SetPositionMs(0);
        Play();
    }
    emit playbackChanged();
}

void PlayerFacade::GoToEnd()
{
    switch (ActiveEngine()) {
    case Engine::Mpc:
        m_c.MPCHC->Pause();
        m_c.MPCHC->SetPosition(m_c.MPCHC->DurationSec);
        m_c.MPCHC->Pause();
        break;
    case Engine::Wmp:
        m_wmp.pause();
        m_wmp.setCurrentPosition(m_wmp.duration());
        m_wmp.pause();
        break;
    case Engine::Mci: m_mci.SetPosition(m_mci.Length()); break;
    }
    emit seeked();
    emit playbackChanged();
}

void PlayerFacade::GoToStart()
{
    switch (ActiveEngine()) {
    case Engine::Mpc:
        m_c.MPCHC->SetPosition(0);
        m_c.MPCHC->Stop();
        break;
    case Engine::Wmp:
        m_wmp.setCurrentPosition(0);
        m_wmp.stop();
        break;
    case Engine::Mci: m_mci.SetPosition(0); break;
    }
    emit seeked();
    emit playbackChanged();
}

// The external player was closed by the user: start it again on the same file.
void PlayerFacade::playExternalAgain()
{
    TMPCHC &mpc = *m_c.MPCHC;
    if (!QFileInfo(mpc.LoadedFile).isFile() || mpc.OpenInPlayer(mpc.LoadedFile) != 0) return;
    // Reports come through the event loop, so the waits process events.
    for (int i = 0; i < 2000 && mpc.LoadState == 1; ++i) {
        m_clock.sleepMs(10);
        m_clock.processEvents();
    }
    for (int i = 0; i < 2000 && mpc.DurationSec < 1 && mpc.LoadState != 0; ++i) {
        m_clock.sleepMs(10);
        m_clock.processEvents();
    }
    mpc.Play();
}

void PlayerFacade::ButtonClick(MediaButtonBar::Button button)
{
    if (button != MediaButtonBar::Stop) RestartAutoPausePeriod();
    const Engine engine = ActiveEngine();
    const int state = PlayState();
    switch (button) {
    case MediaButtonBar::Play:
        if (engine == Engine::Mpc && m_c.MPCHC->LoadState == 0) playExternalAgain();
        else if (engine == Engine::Mci || state == 1 || state == 2) Play();
        break;
    case MediaButtonBar::Pause:
        if (engine == Engine::Mci || state == 3) Pause();
        break;
    case MediaButtonBar::Stop: Stop(); break;
    case MediaButtonBar::Next: GoToEnd(); break;
    case MediaButtonBar::Prev: GoToStart(); break;
    case MediaButtonBar::Step: StepForward(); break;
    case MediaButtonBar::Back: StepBack(); break;
    case MediaButtonBar::ButtonCount: break;
    }
    if (m_c.CheckBox8->isChecked()) emit bookmarkLoopRestart();
    if (button == MediaButtonBar::Play) m_c.TimerPlayNoRefrN->start();
}

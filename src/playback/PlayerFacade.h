#pragma once

#include "playback/MediaButtonBar.h"

#include <QObject>
#include <QString>

class Clock;
class MciPlayer;
class WmpPlayer;
class QAction;
class QCheckBox;
class QLabel;
class TMPCHC;
class Timer;
class TrackBar;
class UpDown;
class SpeedBox;
class Volume;
struct LoopState;
struct MediaSession;

enum class Engine { Mci, Wmp, Mpc };

// The one set of operations through which the program reads and drives playback, whatever
// engine plays the open file: the audio player, the video window's player or the external
// player. It also owns the position bar's seeks, clicks and hint, and the button bars.
class PlayerFacade : public QObject {
    Q_OBJECT
public:
    // The main window's controls it reads and drives.
    struct Controls {
        TMPCHC *MPCHC;
        TrackBar *TrackBar1;
        QLabel *Label1, *Label1t, *Label11, *Label5;
        MediaButtonBar *MediaPlayer1, *MediaPlayer2;
        QCheckBox *CheckBox1, *CheckBox8;
        UpDown *UpDown1, *UpDown6;
        SpeedBox *SpinSpeed;
        QAction *NMPC;
        Timer *Timer2, *TimerPeriod, *TimerPause, *TimerPlayNoRefrN;
    };

    PlayerFacade(const Controls &controls, MediaSession &session, LoopState &loop, Volume &volume, Clock &clock,
                 MciPlayer &mci, WmpPlayer &wmp);
    ~PlayerFacade() override;

    Engine ActiveEngine() const;
    int PlayState(); // 0 other, 1 stopped, 2 paused, 3 playing
    bool IsPlaying() { return PlayState() == 3; }
    int PositionMs();
    int LengthMs();
    void Play();
    void Pause();
    void Stop();
    void SetPositionMs(int ms);

    void SeekFromTrackBar();
    void RefreshPositionDisplay(); // Timer2
    void TogglePlayPause();
    void ButtonClick(MediaButtonBar::Button button);
    void StepForward();
    void StepBack();
    void GoToEnd();
    void GoToStart();

    // Where a left click at x on a bar of the given width seeks to.
    static int ClickPosition(int x, int width, int minimum, int maximum);
    // The hint over the position bar for the position c under the mouse.
    static QString PositionHint(int c, int current, bool tenths);

    // The auto-pause period counts again from now; a running pause is cancelled.
    void RestartAutoPausePeriod();
    // Playback speed, 1 = normal, with the pitch kept: 0.3 … 3.0, to a tenth. The active
    // player takes it at once, another one when it next plays.
    static constexpr double MinSpeed = 0.3, MaxSpeed = 3.0;
    double Speed() const { return m_speed; }
    void SetSpeed(double speed);

signals:
    // The play state or position may have changed: after commands and every display refresh.
    void playbackChanged();
    // The position was moved by a seek or a step, not by playing.
    void seeked();
    // The user moved the position or pressed a button while the bookmark loop is on: the
    // loop takes its bookmarks again from the new place.
    void bookmarkLoopRestart();
    void speedChanged(double speed);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int stepMs() const;
    void applySpeed();
    void playExternalAgain();

    const Controls m_c;
    MediaSession &m_session;
    LoopState &m_loop;
    Volume &m_volume;
    Clock &m_clock;
    MciPlayer &m_mci;
    WmpPlayer &m_wmp;
    double m_speed = 1.0;
    double m_applied[3] = {1.0, 1.0, 1.0}; // what each engine plays at, by Engine
};

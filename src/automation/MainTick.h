#pragma once

#include <QString>

class ABInterval;
class BookmarkNavigator;
class Clock;
class PlayerFacade;
class QCheckBox;
class QLabel;
class QLineEdit;
class TForm2;
class Timer;
class TrackBar;
class UpDown;
struct LoopState;

// The 10 ms heartbeat: shows the position, follows the played bookmark in the bookmarks
// window, and enforces the between-bookmarks, AB and whole-file loops. It only detects and
// decides; seeks go through the position bar.
class MainTick {
public:
    struct Controls {
        Timer *Timer1, *Timer2, *TimerZk, *TimerInt, *TimerPlayNoRefrN, *TimerGoto;
        QCheckBox *CheckBox6, *CheckBox7, *CheckBox8, *CheckBox10, *CheckBox13, *CheckBox15;
        QLineEdit *Edit6, *Edit7, *MaskEdit1, *MaskEdit2, *MaskEdit3, *MaskEdit4;
        UpDown *UpDown6, *UpDown7;
        QLabel *Label1, *Label11, *Label5;
        TrackBar *TrackBar1;
    };

    MainTick(const Controls &controls, LoopState &loop, PlayerFacade &player, Clock &clock, TForm2 &bookmarks,
             BookmarkNavigator &navigator, ABInterval &ab);

    void Timer1Timer();
    // While nothing plays and nothing moves, the tick and the display refresh rest; any
    // change of the player or of a control the tick reads wakes them.
    bool resting() const { return m_resting; }
    void wake();
    static constexpr int RestAfterStillTicks = 20; // 200 ms: the refresh has shown the last move
    void TimerZkTimer();
    void TimerIntTimer();
    void TimerPlayNoRefrNTimer();
    void TimerGotoTimer();

private:
    bool nothingToWatch();
    void tick();
    void followBookmark(const QString &positionText);
    // Returns true when a check acted and the tick ends.
    bool checkLoops(const QString &positionText, int arriveToleranceMs, int skipLeadMs);
    void checkEndOfFile(const QString &positionText, int arriveToleranceMs);
    void seek(int kind, int ms, bool evenIfShown = false);
    void pauseAtLoopStart();

    const Controls m_c;
    LoopState &m_loop;
    PlayerFacade &m_player;
    Clock &m_clock;
    TForm2 &m_bookmarks;
    BookmarkNavigator &m_navigator;
    ABInterval &m_ab;
    int m_stillTicks = 0;
    bool m_resting = false;
};

#pragma once

#include <QString>

class Clock;
class PlayerFacade;
class TForm1;
class TForm2;
struct MainOperations;

// The 10 ms heartbeat: shows the position, follows the played bookmark in the bookmarks
// window, and enforces the between-bookmarks, AB and whole-file loops. It only detects and
// decides; seeks go through the position bar.
class MainTick {
public:
    MainTick(TForm1 &form, PlayerFacade &player, Clock &clock, MainOperations &ops);
    void setBookmarksWindow(TForm2 *window) { m_bookmarks = window; }

    void Timer1Timer();
    void TimerZkTimer();
    void TimerIntTimer();
    void TimerPlayNoRefrNTimer();
    void TimerGotoTimer();

private:
    void tick();
    void followBookmark(const QString &positionText);
    // Returns true when a check acted and the tick ends.
    bool checkLoops(const QString &positionText, int arriveToleranceMs, int skipLeadMs);
    void checkEndOfFile(const QString &positionText, int arriveToleranceMs);
    void seek(int kind, int ms, bool evenIfShown = false);
    void pauseAtLoopStart();

    TForm1 &m_form;
    PlayerFacade &m_player;
    Clock &m_clock;
    MainOperations &m_ops;
    TForm2 *m_bookmarks = nullptr;
};

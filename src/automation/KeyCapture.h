#pragma once

#include "platform/Desktop.h"

class BookmarkNavigator;
class BookmarkTable;
class Clock;
class PlayerFacade;
class QCheckBox;
class QLabel;
class QLineEdit;
class QWidget;
class TMPCHC;
class TextInjection;
class Timer;
class TrackBar;
class UpDown;

// The keys the keyboard capture watches, as the system-wide observer last saw them.
struct HeldKeys {
    bool Shift = false, Ctrl = false, Alt = false, Win = false;
    bool Esc = false, Space = false, ScrollLock = false;
    void clearModifiers() { Shift = Ctrl = Alt = Win = false; }
    bool anyWatched() const { return Esc || Space || ScrollLock; }
    void clear() { *this = HeldKeys{}; }
};

// ESC, Space and Scroll Lock typed in any program control playback without taking the keys
// away from that program. The observer records which keys are held; a poll turns a held key
// into a pending request when no modifier is held and the 330 ms lock-out is over; an
// executor 50 ms later performs it. The poll runs only when a key event or the end of the
// lock-out gives it something to look at, so nothing runs while no key is pressed.
class KeyCapture {
public:
    struct Controls {
        QWidget *window; // the main window, never the text window
        TMPCHC *MPCHC;
        Timer *TimerHotKey, *TimerRunHotKey, *TimerESC, *TimerPlayNoRefrN;
        QCheckBox *CheckBox3, *CheckBox4, *CheckBox5, *CheckBox7, *CheckBox8, *CheckBox11, *CheckBox12;
        QLineEdit *Edit5;
        UpDown *UpDown5;
        QLabel *Label10;
        TrackBar *TrackBar1;
    };

    // Keys are ignored while appMinimized is true.
    KeyCapture(const Controls &controls, const bool &appMinimized, BookmarkTable &bookmarks,
               BookmarkNavigator &navigator, PlayerFacade &player, Clock &clock, Desktop desktop,
               TextInjection &injection);
    ~KeyCapture();

    // The video window, which, like the main window, is never taken as the text window.
    void setVideoWindow(QWidget *video) { m_video = video; }

    void HookProc(int virtualKey, bool down);
    void TimerHotKeyTimer();
    void TimerRunHotKeyTimer();
    void CaptureTextWindow();
    void TakeTextWindow(); // the foreground window, if another program's, becomes the text window
    // The window the playing file is shown in: the external player's or the video window;
    // 0 when there is none or it is not visible.
    WindowId playerWindow() const;
    // The external player's window comes to the front, restored if it was minimised.
    void ShowExternalPlayerWindow();
    void EscStart();
    void EscStop();

    HeldKeys held;
    // Keys seen by the poll and waiting for the executor.
    bool EscPending = false, SpacePending = false, ScrollLockPending = false;

private:
    bool lockedOut() const;
    bool isOwnWindow(WindowId w) const;
    WindowId externalPlayerWindow() const; // 0 while no external player is connected
    void jumpToSelectedMarker();
    void showTextWindow();
    void stepBack();

    const Controls m_c;
    const bool &m_appMinimized;
    BookmarkTable &m_bookmarks;
    BookmarkNavigator &m_navigator;
    PlayerFacade &m_player;
    Clock &m_clock;
    Desktop m_desktop;
    TextInjection &m_injection;
    QWidget *m_video = nullptr;
};

// The bookmark name a selected text stands for: "{z3}" or "z3" gives "z3"; anything that is
// not a "z" followed by a digit gives an empty text.
QString MarkerName(QString selected);

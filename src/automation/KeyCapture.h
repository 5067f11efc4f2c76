#pragma once

#include "platform/Desktop.h"

class Clock;
class PlayerFacade;
class TForm1;
class BookmarkTable;
class QWidget;
class TextInjection;
struct MainOperations;

// ESC, Space and Scroll Lock typed in any program control playback without taking the keys
// away from that program. The observer records which keys are held; a poll turns a held key
// into a pending request when no modifier is held and the 330 ms lock-out is over; an
// executor 50 ms later performs it. The poll runs only when a key event or the end of the
// lock-out gives it something to look at, so nothing runs while no key is pressed.
class KeyCapture {
public:
    KeyCapture(TForm1 &form, BookmarkTable &bookmarks, PlayerFacade &player, Clock &clock, Desktop desktop,
               TextInjection &injection, MainOperations &ops);
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
    void EscStart();
    void EscStop();

private:
    bool lockedOut() const;
    bool isOwnWindow(WindowId w) const;
    WindowId externalPlayerWindow() const; // 0 while no external player is connected
    void jumpToSelectedMarker();
    void showTextWindow();
    void stepBack();

    TForm1 &m_form;
    BookmarkTable &m_bookmarks;
    PlayerFacade &m_player;
    Clock &m_clock;
    Desktop m_desktop;
    TextInjection &m_injection;
    MainOperations &m_ops;
    QWidget *m_video = nullptr;
};

// The bookmark name a selected text stands for: "{z3}" or "z3" gives "z3"; anything that is
// not a "z" followed by a digit gives an empty text.
QString MarkerName(QString selected);

#pragma once

#include "platform/Desktop.h"

#include <QString>

class Clock;
struct MainState;

// Whether a key is sent with the extended-key flag.
bool IsExtendedKey(int virtualKey);
// The scan code a key event carries for a virtual key (0 for a key that has none).
int KeyScanCode(int virtualKey);

// Typing into the text window of another program and reading its selection, both through
// the clipboard and a synthesized Ctrl+V or Ctrl+C into the control that had the focus when
// the window was captured. The focus and the clipboard's text are given back afterwards.
class TextInjection {
public:
    TextInjection(MainState &state, Clock &clock, Desktop desktop);

    void InsertText(const QString &text);
    QString CopySelection();
    // Modifiers: the HotKeyModifier bits (Alt, Ctrl, Shift, Win).
    void SendKeyCombo(int delayMs, unsigned modifiers, int virtualKey);

private:
    void sendKey(int virtualKey, bool up);
    void focusTextWindow();

    MainState &m_state;
    Clock &m_clock;
    Desktop m_desktop;
};

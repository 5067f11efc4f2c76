#pragma once

#include "platform/Desktop.h"
#include "platform/TextTarget.h"

#include <QString>

class Clock;

// Whether a key is sent with the extended-key flag.
bool IsExtendedKey(int virtualKey);
// The scan code a key event carries for a virtual key (0 for a key that has none).
int KeyScanCode(int virtualKey);

// Typing into the text window of another program and reading its selection, both through
// the clipboard and a synthesized Ctrl+V or Ctrl+C into the control that had the focus when
// the window was captured. The focus and the clipboard's text are given back afterwards.
class TextInjection : public TextTarget {
public:
    TextInjection(Clock &clock, Desktop desktop);

    bool hasTextWindow() const override { return TextFocusWindow != 0; }
    void InsertText(const QString &text) override;
    void BringTextWindowForward() override;
    bool ShowTextWindow() override;
    QString CopySelection();
    // The text window's selection: read directly where the desktop can tell it exactly,
    // else copied.
    QString SelectedText();
    // Modifiers: the HotKeyModifier bits (Alt, Ctrl, Shift, Win).
    void SendKeyCombo(int delayMs, unsigned modifiers, int virtualKey);

    // The text window's top-level window and the control in it that had the keyboard focus.
    WindowId TextWindow = 0;
    WindowId TextFocusWindow = 0;

private:
    void sendKey(int virtualKey, bool up);
    void focusTextWindow();

    Clock &m_clock;
    Desktop m_desktop;
};

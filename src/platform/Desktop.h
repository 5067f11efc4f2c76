#pragma once

#include <QString>
#include <functional>
#include <optional>

// A top-level or focus window of any program on the desktop; 0 is none.
using WindowId = unsigned long;

// The keyboard as the whole desktop sees it, observed only: every program still gets every
// key. Keys are reported as virtual-key numbers (the numbering the key tables use).
class KeyboardHook {
public:
    virtual ~KeyboardHook() = default;
    // Every key press and release of every program.
    std::function<void(int virtualKey, bool down)> onKey;
    // Whether the key is held now (asked of the keyboard, not of the observed events).
    virtual bool isKeyDown(int virtualKey) = 0;
};

// System-wide hot keys: a registered combination reaches this program alone, whichever
// program has the focus. Modifiers are the bits of HotKeyModifier.
class HotKeyRegistrar {
public:
    virtual ~HotKeyRegistrar() = default;
    std::function<void(unsigned modifiers, int virtualKey)> onHotKey;
    // False when the combination cannot be had (another program holds it).
    virtual bool registerHotKey(unsigned modifiers, int virtualKey) = 0;
    virtual void unregisterHotKey(unsigned modifiers, int virtualKey) = 0;
};

// One synthesized key press or release, as the key-event record describes it.
struct KeyEvent {
    int virtualKey;
    int scanCode;
    bool extended;
    bool up;
};

// Synthesized key presses and releases, delivered like the user's own.
class KeySender {
public:
    virtual ~KeySender() = default;
    virtual void sendKey(const KeyEvent &e) = 0;
};

// The windows of other programs. Operations on a window that no longer exists do nothing.
class WindowServices {
public:
    virtual ~WindowServices() = default;
    virtual WindowId foreground() = 0;          // the active top-level window
    virtual void setForeground(WindowId w) = 0; // activates and raises it
    virtual bool isMinimized(WindowId w) = 0;
    virtual void restore(WindowId w) = 0; // shown again, no longer minimised
    virtual void setTopmost(WindowId w, bool on) = 0;
    virtual WindowId focusWindow() = 0; // the window with the keyboard focus
    virtual void setFocus(WindowId w) = 0;
    virtual WindowId windowOfProcess(long long pid) = 0; // its top-level window, or 0
};

// The clipboard as plain text; other formats are not kept.
class ClipboardText {
public:
    virtual ~ClipboardText() = default;
    virtual QString text() = 0;
    virtual void setText(const QString &text) = 0;
    // The text selected in a window of another program, read without the clipboard: empty
    // when nothing is selected; nullopt when the desktop cannot tell it exactly, and the
    // selection has to be copied instead.
    virtual std::optional<QString> selectedText(WindowId window) = 0;
};

// The desktop services together, as the platform hands them to the program.
struct Desktop {
    KeyboardHook &keyboard;
    HotKeyRegistrar &hotKeys;
    KeySender &keys;
    WindowServices &windows;
    ClipboardText &clipboard;
};

// A volume from 0 to 100: the program's own sound or the system's output.
class VolumeControl {
public:
    virtual ~VolumeControl() = default;
    virtual bool setLevel(int level) = 0; // false when it could not be applied
    virtual int level() = 0;              // −1 when it cannot be read
};

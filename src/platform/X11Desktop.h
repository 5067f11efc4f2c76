#pragma once

#include "platform/Desktop.h"
#include "platform/X11PrimarySelection.h"

#include <QObject>
#include <vector>

struct _XDisplay;
class QSocketNotifier;

// Virtual-key number ↔ X keysym, through one table. 0 where the key has no counterpart.
int VirtualKeyOfKeysym(unsigned long keysym);
unsigned long KeysymOfVirtualKey(int virtualKey);

// The desktop services of an X11 session. Keys are observed as XInput 2 raw events on the
// root window (observe-only: the focused program still gets them), hot keys are passive key
// grabs on the root window, keys are synthesized with XTest, windows are handled through the
// window manager's EWMH protocol, and the clipboard is Qt's. Two connections of its own: one
// only reads events (so that no reply of a query can leave an event unread in its queue),
// the other makes the queries. Without a display every operation does nothing.
class X11Desktop : public QObject,
                   public KeyboardHook,
                   public HotKeyRegistrar,
                   public KeySender,
                   public WindowServices,
                   public ClipboardText {
public:
    X11Desktop();
    ~X11Desktop() override;
    operator Desktop() { return {*this, *this, *this, *this, *this}; }

    bool available() const { return m_events && m_display; }
    bool observing() const { return m_xiOpcode >= 0; }

    bool isKeyDown(int virtualKey) override;
    bool registerHotKey(unsigned modifiers, int virtualKey) override;
    void unregisterHotKey(unsigned modifiers, int virtualKey) override;
    void sendKey(const KeyEvent &e) override; // the server needs no scan code

    WindowId foreground() override;
    void setForeground(WindowId w) override;
    bool isMinimized(WindowId w) override;
    void restore(WindowId w) override;
    void setTopmost(WindowId w, bool on) override;
    WindowId focusWindow() override;
    void setFocus(WindowId w) override;
    WindowId windowOfProcess(long long pid) override; // by the window manager's client list

    QString text() override;
    void setText(const QString &text) override;
    std::optional<QString> selectedText(WindowId window) override { return m_primary.selectedText(window); }

    // Reads every event that has arrived (the socket notifier calls it).
    void readEvents();

private:
    struct Grab {
        unsigned modifiers;
        int virtualKey;
        unsigned keycode;
        unsigned mask;
    };
    bool grabAll(const Grab &g, bool grab);
    unsigned keycodeOf(int virtualKey) const;
    WindowId clientOf(WindowId w);
    void clientMessage(WindowId w, const char *type, long l0, long l1, long l2);

    _XDisplay *m_events = nullptr;
    _XDisplay *m_display = nullptr;
    QSocketNotifier *m_notifier = nullptr;
    int m_xiOpcode = -1;
    unsigned m_numLockMask = 0;
    std::vector<Grab> m_grabs;
    X11PrimarySelection m_primary;
};

#pragma once

#include "platform/Desktop.h"

#include <QStringList>
#include <map>
#include <set>
#include <utility>

// Test double of the desktop: windows, focus, held keys, hot keys and the clipboard in
// memory. A synthesized key is observed like a real one and logged with the window that has
// the focus at that moment, so a test can tell where a paste went.
class FakeDesktop : public KeyboardHook,
                    public HotKeyRegistrar,
                    public KeySender,
                    public WindowServices,
                    public ClipboardText {
public:
    operator Desktop() { return {*this, *this, *this, *this, *this}; }

    // The user's keyboard.
    void press(int vk) { key(vk, true); }
    void release(int vk) { key(vk, false); }
    void tap(int vk)
    {
        press(vk);
        release(vk);
    }
    void key(int vk, bool down)
    {
        if (down) held.insert(vk);
        else held.erase(vk);
        if (onKey) onKey(vk, down);
    }
    // The system reports a registered combination (nothing when it is not registered).
    void hotKey(unsigned modifiers, int vk)
    {
        if (registered.count({modifiers, vk}) && onHotKey) onHotKey(modifiers, vk);
    }

    bool isKeyDown(int vk) override { return held.count(vk) > 0; }

    bool registerHotKey(unsigned modifiers, int vk) override
    {
        if (refused.count({modifiers, vk})) return false;
        registered.insert({modifiers, vk});
        return true;
    }
    void unregisterHotKey(unsigned modifiers, int vk) override { registered.erase({modifiers, vk}); }

    void sendKey(const KeyEvent &e) override
    {
        const int vk = e.virtualKey;
        const bool down = !e.up;
        sent << QStringLiteral("%1%2@%3").arg(down ? '+' : '-').arg(vk).arg(focus);
        if (down && vk == 'V' && held.count(17) && onPaste) onPaste(focus, clipboard);
        if (down && vk == 'C' && held.count(17) && onCopy) onCopy(focus);
        key(vk, down);
    }

    WindowId foreground() override { return active; }
    void setForeground(WindowId w) override
    {
        if (!exists(w)) return;
        active = w;
        minimized.erase(w);
        if (!owner.count(focus) || owner[focus] != w) focus = w;
        ++activations;
    }
    bool isMinimized(WindowId w) override { return minimized.count(w) > 0; }
    void restore(WindowId w) override { minimized.erase(w); }
    void setTopmost(WindowId w, bool on) override
    {
        if (on) topmost.insert(w);
        else topmost.erase(w);
    }
    WindowId focusWindow() override { return focus; }
    void setFocus(WindowId w) override
    {
        if (exists(w)) focus = w;
    }

    WindowId windowOfProcess(long long pid) override { return processWindows.count(pid) ? processWindows[pid] : 0; }

    QString text() override { return clipboard; }
    void setText(const QString &t) override { clipboard = t; }

    // A top-level window with a control inside that takes the focus.
    void addWindow(WindowId w, WindowId control = 0)
    {
        windows.insert(w);
        if (control) owner[control] = w;
    }
    bool exists(WindowId w) const { return windows.count(w) || owner.count(w); }
    // The user activates a window and clicks into one of its controls.
    void activate(WindowId w, WindowId control = 0)
    {
        active = w;
        focus = control ? control : w;
    }

    std::set<int> held;
    std::set<std::pair<unsigned, int>> registered, refused;
    QStringList sent;
    std::set<WindowId> windows, minimized, topmost;
    std::map<WindowId, WindowId> owner; // control → its top-level window
    std::map<long long, WindowId> processWindows;
    WindowId active = 0, focus = 0;
    int activations = 0;
    QString clipboard;
    // What the focused program does with a Ctrl+V or a Ctrl+C.
    std::function<void(WindowId focus, const QString &pasted)> onPaste;
    std::function<void(WindowId focus)> onCopy;
};

// Test double of a volume: a level that can be refused or missing.
class FakeVolume : public VolumeControl {
public:
    bool setLevel(int l) override
    {
        if (!present) return false;
        value = l;
        ++sets;
        return true;
    }
    int level() override { return present ? value : -1; }
    bool present = true;
    int value = 50;
    int sets = 0;
};

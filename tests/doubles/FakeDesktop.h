#pragma once

#include "base/KeyCodes.h"
#include "platform/Desktop.h"

#include <QStringList>
#include <algorithm>
#include <map>
#include <set>
#include <utility>

// Test double of the desktop: windows, focus, held keys, hot keys and the clipboard in
// memory. A synthesized key is observed like a real one and logged with the window that has
// the focus at that moment, so a test can tell where a paste went. As on the X11 desktop, a
// modifier without a side is the left one, and a registered combination, typed or
// synthesized, is reported as a hot key.
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
        vk = Sided(vk);
        if (down) held.insert(vk);
        else held.erase(vk);
        if (onKey) onKey(vk, down);
        if (down && !IsModifier(vk)) hotKey(modifiers(), vk);
    }
    // The system reports a registered combination (nothing when it is not registered).
    void hotKey(unsigned modifiers, int vk)
    {
        if (registered.count({modifiers, vk}) && onHotKey) onHotKey(modifiers, vk);
    }

    bool isKeyDown(int vk) override { return held.count(Sided(vk)) > 0; }

    bool registerHotKey(unsigned modifiers, int vk) override
    {
        if (vk <= 0 || vk >= 255 || refused.count({modifiers, vk})) return false; // no such key
        registered.insert({modifiers, vk});
        return true;
    }
    void unregisterHotKey(unsigned modifiers, int vk) override { registered.erase({modifiers, vk}); }

    void sendKey(const KeyEvent &e) override
    {
        const int vk = e.virtualKey;
        const bool down = !e.up;
        sent << QStringLiteral("%1%2@%3").arg(down ? '+' : '-').arg(vk).arg(focus);
        const bool ctrl = held.count(VK::LCtrl) || held.count(VK::RCtrl);
        if (down && vk == 'V' && ctrl && onPaste) onPaste(focus, clipboard);
        if (down && vk == 'C' && ctrl && onCopy) onCopy(focus);
        key(vk, down);
    }

    WindowId foreground() override { return active; }
    // Activating a control activates its window. The window takes the focus unless the focus
    // is in it already.
    void setForeground(WindowId w) override
    {
        if (!exists(w)) return;
        active = topOf(w);
        minimized.erase(active);
        if (topOf(focus) != active) focus = active;
        ++activations;
    }
    bool isMinimized(WindowId w) override { return minimized.count(topOf(w)) > 0; }
    void restore(WindowId w) override { minimized.erase(topOf(w)); }
    void setTopmost(WindowId w, bool on) override
    {
        if (!exists(w)) return;
        if (on) topmost.insert(topOf(w));
        else topmost.erase(topOf(w));
    }
    WindowId focusWindow() override { return focus; }
    void setFocus(WindowId w) override
    {
        if (exists(w)) focus = w;
    }

    WindowId windowOfProcess(long long pid) override { return processWindows.count(pid) ? processWindows[pid] : 0; }

    QString text() override { return clipboard; }
    void setText(const QString &t) override { clipboard = t; }
    // What a window's program holds in PRIMARY, where it can be read exactly.
    std::optional<QString> selectedText(WindowId w) override
    {
        const auto it = primary.find(topOf(w));
        if (it == primary.end()) return std::nullopt;
        ++primaryReads;
        return it->second;
    }

    // A top-level window with a control inside that takes the focus.
    void addWindow(WindowId w, WindowId control = 0)
    {
        windows.insert(w);
        if (control) owner[control] = w;
    }
    bool exists(WindowId w) const { return windows.count(w) || owner.count(w); }
    // The top-level window of a control; a top-level window is its own.
    WindowId topOf(WindowId w) const
    {
        const auto it = owner.find(w);
        return it == owner.end() ? w : it->second;
    }
    // The left key for a modifier without a side; any other key as it is.
    static int Sided(int vk)
    {
        if (vk == VK::Shift) return VK::LShift;
        if (vk == VK::Ctrl) return VK::LCtrl;
        if (vk == VK::Alt) return VK::LAlt;
        return vk;
    }
    static bool IsModifier(int vk) { return (vk >= VK::LShift && vk <= RAlt) || vk == VK::LWin || vk == VK::RWin; }
    // The modifiers held now, as hot keys name them.
    unsigned modifiers() const
    {
        const auto any = [this](int a, int b) { return held.count(a) || held.count(b); };
        unsigned m = 0;
        if (any(VK::LShift, VK::RShift)) m |= ModShift;
        if (any(VK::LCtrl, VK::RCtrl)) m |= ModCtrl;
        if (any(VK::LAlt, RAlt)) m |= ModAlt;
        if (any(VK::LWin, VK::RWin)) m |= ModWin;
        return m;
    }
    // The user activates a window and clicks into one of its controls.
    void activate(WindowId w, WindowId control = 0)
    {
        active = w;
        focus = control ? control : w;
    }

    static constexpr int RAlt = 165;
    std::map<WindowId, QString> primary;
    int primaryReads = 0;
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

// Test double of a volume: a level that can be refused or missing. Like the real volumes, it
// refuses a level outside the scale and reads a level set beyond it (an amplified output) as
// the nearest end.
class FakeVolume : public VolumeControl {
public:
    bool setLevel(int l) override
    {
        if (!present || l < 0 || l > 100) return false;
        value = l;
        ++sets;
        return true;
    }
    int level() override { return present ? std::clamp(value, 0, 100) : -1; }
    bool present = true;
    int value = 50;
    int sets = 0;
};

// The test double of the desktop and the X11 desktop through the same cases, so that a double
// that no longer behaves like the real desktop fails here. Runs on the virtual X server with a
// window manager that the test script starts. The X server and the window manager answer in
// the background: every case waits with WaitFor, which the double satisfies at once.
#include "QtPrinters.h"
#include "TestWait.h"
#include "doubles/FakeDesktop.h"

#include "base/KeyCodes.h"
#include "platform/X11Desktop.h"

#include <QProcess>
#include <gtest/gtest.h>

// Xlib last: its macros clash with names in the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

void Wait(int ms)
{
    WaitFor([] { return false; }, ms);
}

// A top-level window of another program, with a control in it that can take the focus.
struct TestWindow {
    WindowId top, control;
};

// The double, and what the world around it does to it.
struct Fake {
    static constexpr const char *name = "Fake";
    FakeDesktop desktop;
    long long pid = 4242; // the program the windows belong to
    bool ready() { return true; }

    TestWindow open()
    {
        const TestWindow w{next, next + 1};
        next += 2;
        desktop.addWindow(w.top, w.control);
        desktop.processWindows.emplace(pid, w.top); // its first window
        return w;
    }
    void close(const TestWindow &w)
    {
        desktop.windows.erase(w.top);
        desktop.owner.erase(w.control);
        desktop.processWindows.erase(pid);
        if (!desktop.windows.empty()) desktop.processWindows[pid] = *desktop.windows.begin();
    }
    void minimize(const TestWindow &w) { desktop.minimized.insert(w.top); }
    bool above(const TestWindow &w) { return desktop.topmost.count(w.top) > 0; }
    // Another program holds a hot key, then lets it go.
    bool holdElsewhere(unsigned modifiers, int vk)
    {
        desktop.refused.insert({modifiers, vk});
        return true;
    }
    void releaseElsewhere(unsigned modifiers, int vk) { desktop.refused.erase({modifiers, vk}); }

    WindowId next = 0x1000;
};

// The X server: plain X windows of a connection of its own (no toolkit that moves the focus
// by itself), another connection for another program's hot keys.
struct X11 {
    static constexpr const char *name = "X11";
    X11() : display(XOpenDisplay(nullptr)) {}
    ~X11()
    {
        if (display) XCloseDisplay(display);
    }
    X11Desktop desktop;
    X11Desktop other;
    Display *display;
    long long pid = 4242; // the windows say they belong to it
    bool ready()
    {
        return display && desktop.observing() &&
               property(DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    }

    // Shown and activated by the window manager, as a program's new window is.
    TestWindow open()
    {
        const Window root = DefaultRootWindow(display);
        const Window top = XCreateSimpleWindow(display, root, 0, 0, 300, 120, 0, 0, 0);
        const Window control = XCreateSimpleWindow(display, top, 10, 10, 200, 30, 0, 0, 0);
        XWMHints hints{};
        hints.flags = InputHint;
        hints.input = True;
        XSetWMHints(display, top, &hints);
        const unsigned long owner = static_cast<unsigned long>(pid);
        XChangeProperty(display, top, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(&owner), 1);
        XMapWindow(display, control);
        XMapWindow(display, top);
        XFlush(display);
        // Managed (the id of a window of an earlier case may come again), then activated.
        const Atom state = XInternAtom(display, "WM_STATE", False);
        WaitFor(
            [&] { return property(top, "WM_STATE", state) && property(root, "_NET_ACTIVE_WINDOW", XA_WINDOW) == top; },
            5000);
        return {top, control};
    }
    void close(const TestWindow &w)
    {
        XDestroyWindow(display, w.top);
        XSync(display, False);
        Wait(50);
    }
    // As the user minimises it, through the window manager.
    void minimize(const TestWindow &w)
    {
        QProcess::execute(QStringLiteral("xdotool"), {"windowminimize", QString::number(w.top)});
    }
    bool above(const TestWindow &w)
    {
        const Atom above = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
        Atom type;
        int format;
        unsigned long count = 0, after;
        unsigned char *data = nullptr;
        bool found = false;
        if (XGetWindowProperty(display, w.top, XInternAtom(display, "_NET_WM_STATE", False), 0, 64, False, XA_ATOM,
                               &type, &format, &count, &after, &data) == Success &&
            data && format == 32) {
            const auto *atoms = reinterpret_cast<const unsigned long *>(data);
            for (unsigned long i = 0; i < count; ++i) found = found || atoms[i] == above;
        }
        if (data) XFree(data);
        return found;
    }
    bool holdElsewhere(unsigned modifiers, int vk) { return other.registerHotKey(modifiers, vk); }
    void releaseElsewhere(unsigned modifiers, int vk) { other.unregisterHotKey(modifiers, vk); }

    unsigned long property(Window w, const char *name, Atom wanted)
    {
        Atom type;
        int format;
        unsigned long count = 0, after, value = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(display, w, XInternAtom(display, name, False), 0, 1, False, wanted, &type, &format,
                               &count, &after, &data) == Success &&
            data && count == 1 && format == 32)
            value = *reinterpret_cast<const unsigned long *>(data);
        if (data) XFree(data);
        return value;
    }
};

struct KindName {
    template <class T> static std::string GetName(int) { return T::name; }
};

using Kinds = ::testing::Types<Fake, X11>;

template <class World> class DesktopContract : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(world.ready()) << "run on an X server with a window manager"; }
    void TearDown() override
    {
        keyboard.onKey = nullptr;
        hotKeys.onHotKey = nullptr;
        // No key stays down for the next case.
        for (int vk : {VK::Ctrl, VK::Shift, VK::Alt, VK::RCtrl, VK::F11, int('G')}) keys.sendKey({vk, 0, false, true});
        Wait(20);
    }
    void send(int vk, bool down) { keys.sendKey({vk, 0, false, !down}); }
    // Presses the keys in order and lets them go in reverse.
    void combo(std::initializer_list<int> vks)
    {
        for (int vk : vks) send(vk, true);
        for (auto it = std::rbegin(vks); it != std::rend(vks); ++it) send(*it, false);
    }

    World world;
    KeyboardHook &keyboard = world.desktop;
    HotKeyRegistrar &hotKeys = world.desktop;
    KeySender &keys = world.desktop;
    WindowServices &windows = world.desktop;
    ClipboardText &clipboard = world.desktop;
};
TYPED_TEST_SUITE(DesktopContract, Kinds, KindName);

} // namespace

TYPED_TEST(DesktopContract, ASynthesizedKeyIsHeldUntilReleased)
{
    KeyboardHook &keyboard = this->keyboard;
    EXPECT_FALSE(keyboard.isKeyDown('G'));
    this->send('G', true);
    EXPECT_TRUE(keyboard.isKeyDown('G'));
    EXPECT_FALSE(keyboard.isKeyDown('H'));
    this->send('G', false);
    EXPECT_FALSE(keyboard.isKeyDown('G'));

    // A modifier without a side is the left one.
    this->send(VK::Ctrl, true);
    EXPECT_TRUE(keyboard.isKeyDown(VK::Ctrl));
    EXPECT_TRUE(keyboard.isKeyDown(VK::LCtrl));
    EXPECT_FALSE(keyboard.isKeyDown(VK::RCtrl));
    this->send(VK::Ctrl, false);
    EXPECT_FALSE(keyboard.isKeyDown(VK::LCtrl));
    this->send(VK::LAlt, true);
    EXPECT_TRUE(keyboard.isKeyDown(VK::Alt));
    this->send(VK::LAlt, false);
    EXPECT_FALSE(keyboard.isKeyDown(VK::Alt));
}

TYPED_TEST(DesktopContract, SynthesizedKeysAreObservedWithTheirSide)
{
    QStringList seen;
    this->keyboard.onKey = [&](int vk, bool down) { seen << QStringLiteral("%1%2").arg(down ? '+' : '-').arg(vk); };
    this->combo({VK::Ctrl, 'G'});
    this->combo({VK::RShift});
    const QStringList expected{"+162", "+71", "-71", "-162", "+161", "-161"};
    EXPECT_TRUE(WaitFor([&] { return seen.size() >= expected.size(); }));
    EXPECT_EQ(seen, expected);
}

TYPED_TEST(DesktopContract, ARegisteredCombinationReachesThisProgramAlone)
{
    HotKeyRegistrar &hotKeys = this->hotKeys;
    std::vector<std::pair<unsigned, int>> reported;
    hotKeys.onHotKey = [&](unsigned m, int vk) { reported.emplace_back(m, vk); };
    ASSERT_TRUE(hotKeys.registerHotKey(ModCtrl | ModShift, VK::F11));
    this->combo({VK::Ctrl, VK::Shift, VK::F11});
    ASSERT_TRUE(WaitFor([&] { return !reported.empty(); }));
    EXPECT_EQ(reported, (std::vector<std::pair<unsigned, int>>{{ModCtrl | ModShift, VK::F11}}));

    // Other modifiers are another combination.
    this->combo({VK::Ctrl, VK::F11});
    this->combo({VK::Ctrl, VK::Shift, VK::Alt, VK::F11});
    Wait(150);
    EXPECT_EQ(reported.size(), 1u);

    hotKeys.unregisterHotKey(ModCtrl | ModShift, VK::F11);
    this->combo({VK::Ctrl, VK::Shift, VK::F11});
    Wait(150);
    EXPECT_EQ(reported.size(), 1u);
}

TYPED_TEST(DesktopContract, ACombinationAnotherProgramHoldsIsRefused)
{
    HotKeyRegistrar &hotKeys = this->hotKeys;
    ASSERT_TRUE(this->world.holdElsewhere(ModCtrl | ModShift, VK::F11));
    EXPECT_FALSE(hotKeys.registerHotKey(ModCtrl | ModShift, VK::F11));
    EXPECT_TRUE(hotKeys.registerHotKey(ModCtrl | ModAlt, VK::F11)); // another combination
    this->world.releaseElsewhere(ModCtrl | ModShift, VK::F11);
    EXPECT_TRUE(hotKeys.registerHotKey(ModCtrl | ModShift, VK::F11));
    hotKeys.unregisterHotKey(ModCtrl | ModShift, VK::F11);
    hotKeys.unregisterHotKey(ModCtrl | ModAlt, VK::F11);
}

TYPED_TEST(DesktopContract, AKeyWithoutCounterpartCannotBeAHotKey)
{
    EXPECT_FALSE(this->hotKeys.registerHotKey(ModCtrl, 0));
    EXPECT_FALSE(this->hotKeys.registerHotKey(ModCtrl, 255));
}

TYPED_TEST(DesktopContract, ClipboardTextRoundTrip)
{
    ClipboardText &clipboard = this->clipboard;
    clipboard.setText(QStringLiteral("Расшифровка: «Ёлка», 1–2"));
    EXPECT_EQ(clipboard.text(), "Расшифровка: «Ёлка», 1–2");
    clipboard.setText(QStringLiteral("две\nстроки"));
    EXPECT_EQ(clipboard.text(), "две\nстроки");
    clipboard.setText(QString());
    EXPECT_EQ(clipboard.text(), "");
}

TYPED_TEST(DesktopContract, ForegroundAndFocus)
{
    WindowServices &windows = this->windows;
    const TestWindow a = this->world.open(), b = this->world.open();
    windows.setForeground(a.top);
    ASSERT_TRUE(WaitFor([&] { return windows.foreground() == a.top; }));
    EXPECT_TRUE(WaitFor([&] { return windows.focusWindow() == a.top; }));

    windows.setFocus(a.control);
    EXPECT_TRUE(WaitFor([&] { return windows.focusWindow() == a.control; }));
    EXPECT_EQ(windows.foreground(), a.top);

    windows.setForeground(b.top);
    ASSERT_TRUE(WaitFor([&] { return windows.foreground() == b.top; }));
    EXPECT_TRUE(WaitFor([&] { return windows.focusWindow() == b.top; }));

    // Activating a control activates its window, and the window takes the focus. (Whether the
    // focus leaves a control of the window that is activated is up to the program in it.)
    windows.setForeground(a.control);
    EXPECT_TRUE(WaitFor([&] { return windows.foreground() == a.top; }));
    EXPECT_TRUE(WaitFor([&] { return windows.focusWindow() == a.top; }));
}

TYPED_TEST(DesktopContract, MinimizedTopmostAndTheWindowOfAProcess)
{
    WindowServices &windows = this->windows;
    const TestWindow w = this->world.open();
    EXPECT_TRUE(WaitFor([&] { return windows.windowOfProcess(this->world.pid) == w.top; }));
    EXPECT_EQ(windows.windowOfProcess(999999999), 0u);

    this->world.minimize(w);
    ASSERT_TRUE(WaitFor([&] { return windows.isMinimized(w.top); }));
    EXPECT_TRUE(windows.isMinimized(w.control)); // a control is as its window
    windows.restore(w.top);
    EXPECT_TRUE(WaitFor([&] { return !windows.isMinimized(w.top); }));

    this->world.minimize(w);
    ASSERT_TRUE(WaitFor([&] { return windows.isMinimized(w.top); }));
    windows.setForeground(w.top); // activation restores it
    EXPECT_TRUE(WaitFor([&] { return !windows.isMinimized(w.top) && windows.foreground() == w.top; }));

    windows.setTopmost(w.top, true);
    EXPECT_TRUE(WaitFor([&] { return this->world.above(w); }));
    windows.setTopmost(w.top, false);
    EXPECT_TRUE(WaitFor([&] { return !this->world.above(w); }));
    windows.setTopmost(w.control, true);
    EXPECT_TRUE(WaitFor([&] { return this->world.above(w); }));
    windows.setTopmost(w.control, false);
    EXPECT_TRUE(WaitFor([&] { return !this->world.above(w); }));
}

TYPED_TEST(DesktopContract, AWindowThatIsGoneIsLeftAlone)
{
    WindowServices &windows = this->windows;
    const TestWindow gone = this->world.open(), kept = this->world.open();
    windows.setForeground(kept.top);
    ASSERT_TRUE(WaitFor([&] { return windows.foreground() == kept.top; }));
    this->world.close(gone);

    windows.setForeground(gone.top);
    windows.setFocus(gone.control);
    windows.restore(gone.top);
    windows.setTopmost(gone.top, true);
    Wait(150);
    EXPECT_EQ(windows.foreground(), kept.top);
    EXPECT_EQ(windows.focusWindow(), kept.top);
    EXPECT_FALSE(windows.isMinimized(gone.top));
    EXPECT_FALSE(this->world.above(gone));
    EXPECT_TRUE(WaitFor([&] { return windows.windowOfProcess(this->world.pid) == kept.top; }));
}

#include "platform/X11Desktop.h"

#include "base/KeyCodes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <iterator>

namespace {

struct KeyName {
    int vk;
    KeySym keysym;
};

// The side-specific modifier keys come before the generic ones: an observed Shift_L is 160,
// a synthesized 16 is Shift_L.
constexpr KeyName KeyTable[] = {
    {8, XK_BackSpace},     {9, XK_Tab},          {13, XK_Return},        {160, XK_Shift_L},
    {161, XK_Shift_R},     {162, XK_Control_L},  {163, XK_Control_R},    {164, XK_Alt_L},
    {165, XK_Alt_R},       {16, XK_Shift_L},     {17, XK_Control_L},     {18, XK_Alt_L},
    {19, XK_Pause},        {20, XK_Caps_Lock},   {27, XK_Escape},        {32, XK_space},
    {33, XK_Prior},        {34, XK_Next},        {35, XK_End},           {36, XK_Home},
    {37, XK_Left},         {38, XK_Up},          {39, XK_Right},         {40, XK_Down},
    {44, XK_Print},        {45, XK_Insert},      {46, XK_Delete},        {91, XK_Super_L},
    {92, XK_Super_R},      {93, XK_Menu},        {106, XK_KP_Multiply},  {107, XK_KP_Add},
    {109, XK_KP_Subtract}, {110, XK_KP_Decimal}, {111, XK_KP_Divide},    {144, XK_Num_Lock},
    {145, XK_Scroll_Lock}, {186, XK_semicolon},  {187, XK_equal},        {188, XK_comma},
    {189, XK_minus},       {190, XK_period},     {191, XK_slash},        {192, XK_grave},
    {219, XK_bracketleft}, {220, XK_backslash},  {221, XK_bracketright}, {222, XK_apostrophe},
};

// Xlib's default error handler ends the process; a window that has gone away or a grab that
// another program holds must not. Errors on the desktop's connections are remembered and
// ignored; others go to the handler that was there before.
XErrorHandler previousHandler = nullptr;
std::vector<Display *> ownDisplays;
int lastErrorCode = 0;

int OnXError(Display *display, XErrorEvent *error)
{
    if (std::find(ownDisplays.begin(), ownDisplays.end(), display) != ownDisplays.end()) {
        lastErrorCode = error->error_code;
        return 0;
    }
    return previousHandler ? previousHandler(display, error) : 0;
}

Display *OpenDisplay()
{
    Display *d = XOpenDisplay(nullptr);
    if (!d) return nullptr;
    if (ownDisplays.empty()) {
        XErrorHandler old = XSetErrorHandler(OnXError);
        if (old != OnXError) previousHandler = old;
    }
    ownDisplays.push_back(d);
    return d;
}

void CloseDisplay(Display *d)
{
    if (!d) return;
    XCloseDisplay(d);
    ownDisplays.erase(std::remove(ownDisplays.begin(), ownDisplays.end(), d), ownDisplays.end());
}

unsigned MaskOf(unsigned modifiers)
{
    return ((modifiers & ModShift) ? ShiftMask : 0) | ((modifiers & ModCtrl) ? ControlMask : 0) |
           ((modifiers & ModAlt) ? Mod1Mask : 0);
}

// The window property of one 32-bit item (a window or a state), or 0.
unsigned long CardinalProperty(Display *d, Window w, const char *name, Atom type)
{
    Atom actualType;
    int format;
    unsigned long count, after;
    unsigned char *data = nullptr;
    unsigned long value = 0;
    if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 1, False, type, &actualType, &format, &count, &after,
                           &data) == Success &&
        data && count == 1 && format == 32)
        value = *reinterpret_cast<unsigned long *>(data);
    if (data) XFree(data);
    return value;
}

bool HasProperty(Display *d, Window w, const char *name)
{
    Atom actualType;
    int format;
    unsigned long count, after;
    unsigned char *data = nullptr;
    const bool has = XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 0, False, AnyPropertyType, &actualType,
                                        &format, &count, &after, &data) == Success &&
                     actualType != None;
    if (data) XFree(data);
    return has;
}

} // namespace

int VirtualKeyOfKeysym(unsigned long keysym)
{
    if (keysym >= XK_0 && keysym <= XK_9) return static_cast<int>('0' + (keysym - XK_0));
    if (keysym >= XK_a && keysym <= XK_z) return static_cast<int>('A' + (keysym - XK_a));
    if (keysym >= XK_A && keysym <= XK_Z) return static_cast<int>('A' + (keysym - XK_A));
    if (keysym >= XK_F1 && keysym <= XK_F24) return static_cast<int>(112 + (keysym - XK_F1));
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return static_cast<int>(96 + (keysym - XK_KP_0));
    for (const auto &k : KeyTable)
        if (k.keysym == keysym) return k.vk;
    return 0;
}

unsigned long KeysymOfVirtualKey(int vk)
{
    if (vk >= '0' && vk <= '9') return XK_0 + static_cast<unsigned>(vk - '0');
    if (vk >= 'A' && vk <= 'Z') return XK_a + static_cast<unsigned>(vk - 'A');
    if (vk >= 112 && vk <= 135) return XK_F1 + static_cast<unsigned>(vk - 112);
    if (vk >= 96 && vk <= 105) return XK_KP_0 + static_cast<unsigned>(vk - 96);
    for (const auto &k : KeyTable)
        if (k.vk == vk) return k.keysym;
    return 0;
}

X11Desktop::X11Desktop()
{
    m_events = OpenDisplay();
    m_display = OpenDisplay();
    if (!available()) return;

    int event, error, major = 2, minor = 2;
    if (XQueryExtension(m_events, "XInputExtension", &m_xiOpcode, &event, &error) &&
        XIQueryVersion(m_events, &major, &minor) == Success) {
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawKeyRelease);
        XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
        XISelectEvents(m_events, DefaultRootWindow(m_events), &mask, 1);
    } else {
        m_xiOpcode = -1;
    }

    // The modifier Num Lock is bound to, so that hot keys work with it on.
    const KeyCode numLock = XKeysymToKeycode(m_display, XK_Num_Lock);
    if (XModifierKeymap *map = XGetModifierMapping(m_display)) {
        for (int m = 0; m < 8; ++m)
            for (int i = 0; i < map->max_keypermod; ++i)
                if (numLock && map->modifiermap[m * map->max_keypermod + i] == numLock) m_numLockMask = 1u << m;
        XFreeModifiermap(map);
    }
    XFlush(m_events);

    m_notifier = new QSocketNotifier(ConnectionNumber(m_events), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11Desktop::readEvents);
}

X11Desktop::~X11Desktop()
{
    delete m_notifier;
    for (const Grab &g : m_grabs) grabAll(g, false);
    CloseDisplay(m_events);
    CloseDisplay(m_display);
}

void X11Desktop::readEvents()
{
    if (!m_events) return;
    while (XPending(m_events)) {
        XEvent e;
        XNextEvent(m_events, &e);
        if (e.type == KeyPress) {
            // The grab that reported the key would hold the keyboard until the key is let
            // go, and keys typed into the text window meanwhile would come back here.
            XUngrabKeyboard(m_events, CurrentTime);
            XFlush(m_events);
            const unsigned mods = e.xkey.state & (ShiftMask | ControlMask | Mod1Mask);
            for (const Grab &g : m_grabs)
                if (g.keycode == e.xkey.keycode && g.mask == mods && onHotKey) {
                    onHotKey(g.modifiers, g.virtualKey);
                    break;
                }
            continue;
        }
        if (e.type != GenericEvent || e.xcookie.extension != m_xiOpcode) continue;
        if (!XGetEventData(m_events, &e.xcookie)) continue;
        const int type = e.xcookie.evtype;
        if (type == XI_RawKeyPress || type == XI_RawKeyRelease) {
            const auto *raw = static_cast<const XIRawEvent *>(e.xcookie.data);
            const int vk = VirtualKeyOfKeysym(XkbKeycodeToKeysym(m_events, static_cast<KeyCode>(raw->detail), 0, 0));
            XFreeEventData(m_events, &e.xcookie);
            if (vk && onKey) onKey(vk, type == XI_RawKeyPress);
            continue;
        }
        XFreeEventData(m_events, &e.xcookie);
    }
}

unsigned X11Desktop::keycodeOf(int vk) const
{
    const unsigned long keysym = KeysymOfVirtualKey(vk);
    return keysym && m_display ? XKeysymToKeycode(m_display, keysym) : 0;
}

bool X11Desktop::isKeyDown(int vk)
{
    const unsigned code = keycodeOf(vk);
    if (!code) return false;
    char keys[32];
    XQueryKeymap(m_display, keys);
    return (keys[code / 8] >> (code % 8)) & 1;
}

// Grabs or releases the combination with every state of Caps Lock and Num Lock. False when
// the server refused any of the grabs; those that were made are then given back.
bool X11Desktop::grabAll(const Grab &g, bool grab)
{
    const Window root = DefaultRootWindow(m_events);
    const unsigned locks[] = {0, LockMask, m_numLockMask, LockMask | m_numLockMask};
    lastErrorCode = 0;
    for (unsigned lock : locks) {
        if (grab)
            XGrabKey(m_events, static_cast<int>(g.keycode), g.mask | lock, root, False, GrabModeAsync, GrabModeAsync);
        else XUngrabKey(m_events, static_cast<int>(g.keycode), g.mask | lock, root);
    }
    XSync(m_events, False);
    // The reply may have brought events along: read them on the next turn of the loop.
    QTimer::singleShot(0, this, &X11Desktop::readEvents);
    if (grab && lastErrorCode) {
        grabAll(g, false);
        return false;
    }
    return true;
}

bool X11Desktop::registerHotKey(unsigned modifiers, int vk)
{
    if (!available()) return false;
    const Grab g{modifiers, vk, keycodeOf(vk), MaskOf(modifiers)};
    if (!g.keycode || !grabAll(g, true)) return false;
    m_grabs.push_back(g);
    return true;
}

void X11Desktop::unregisterHotKey(unsigned modifiers, int vk)
{
    const auto it = std::find_if(m_grabs.begin(), m_grabs.end(),
                                 [&](const Grab &g) { return g.modifiers == modifiers && g.virtualKey == vk; });
    if (it == m_grabs.end()) return;
    grabAll(*it, false);
    m_grabs.erase(it);
}

void X11Desktop::sendKey(const KeyEvent &e)
{
    const unsigned code = keycodeOf(e.virtualKey);
    if (!code) return;
    XTestFakeKeyEvent(m_display, code, e.up ? False : True, CurrentTime);
    XFlush(m_display);
}

WindowId X11Desktop::foreground()
{
    if (!m_display) return 0;
    return CardinalProperty(m_display, DefaultRootWindow(m_display), "_NET_ACTIVE_WINDOW", XA_WINDOW);
}

// The top-level window of the program that owns w: w itself or the nearest ancestor that the
// window manager manages (it carries WM_STATE).
WindowId X11Desktop::clientOf(WindowId w)
{
    if (!m_display || !w) return 0;
    for (Window cur = w; cur;) {
        if (HasProperty(m_display, cur, "WM_STATE")) return cur;
        Window root, parent, *children = nullptr;
        unsigned n;
        if (!XQueryTree(m_display, cur, &root, &parent, &children, &n)) break;
        if (children) XFree(children);
        if (parent == root) break;
        cur = parent;
    }
    return w;
}

// A request to the window manager about w, as a pager would send it.
void X11Desktop::clientMessage(WindowId w, const char *type, long l0, long l1, long l2)
{
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(m_display, type, False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = l0;
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    XSendEvent(m_display, DefaultRootWindow(m_display), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XFlush(m_display);
}

void X11Desktop::setForeground(WindowId w)
{
    const WindowId client = clientOf(w);
    if (!client) return;
    clientMessage(client, "_NET_ACTIVE_WINDOW", 2, CurrentTime, 0);
}

bool X11Desktop::isMinimized(WindowId w)
{
    const WindowId client = clientOf(w);
    if (!client) return false;
    return CardinalProperty(m_display, client, "WM_STATE", XInternAtom(m_display, "WM_STATE", False)) == IconicState;
}

void X11Desktop::restore(WindowId w)
{
    const WindowId client = clientOf(w);
    if (!client) return;
    XMapRaised(m_display, client);
    XFlush(m_display);
}

void X11Desktop::setTopmost(WindowId w, bool on)
{
    const WindowId client = clientOf(w);
    if (!client) return;
    clientMessage(client, "_NET_WM_STATE", on ? 1 : 0,
                  static_cast<long>(XInternAtom(m_display, "_NET_WM_STATE_ABOVE", False)), 0);
}

WindowId X11Desktop::focusWindow()
{
    if (!m_display) return 0;
    Window focus = 0;
    int revert;
    XGetInputFocus(m_display, &focus, &revert);
    return focus == PointerRoot ? 0 : focus;
}

void X11Desktop::setFocus(WindowId w)
{
    if (!m_display || !w) return;
    XSetInputFocus(m_display, w, RevertToParent, CurrentTime);
    XSync(m_display, False); // a window that cannot take the focus only gives an error, ignored
}

WindowId X11Desktop::windowOfProcess(long long pid)
{
    if (!m_display || pid <= 0) return 0;
    const Window root = DefaultRootWindow(m_display);
    Atom actualType;
    int format;
    unsigned long count = 0, after;
    unsigned char *data = nullptr;
    WindowId found = 0;
    if (XGetWindowProperty(m_display, root, XInternAtom(m_display, "_NET_CLIENT_LIST", False), 0, 4096, False,
                           XA_WINDOW, &actualType, &format, &count, &after, &data) == Success &&
        data && format == 32) {
        const auto *clients = reinterpret_cast<const unsigned long *>(data);
        for (unsigned long i = 0; i < count && !found; ++i)
            if (CardinalProperty(m_display, clients[i], "_NET_WM_PID", XA_CARDINAL) == static_cast<unsigned long>(pid))
                found = clients[i];
    }
    if (data) XFree(data);
    return found;
}

QString X11Desktop::text() { return QGuiApplication::clipboard()->text(); }

void X11Desktop::setText(const QString &t) { QGuiApplication::clipboard()->setText(t); }

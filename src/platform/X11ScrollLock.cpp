#include "platform/X11ScrollLock.h"

#include <X11/Xlib.h>
#include <X11/XKBlib.h>

X11ScrollLock::X11ScrollLock(_XDisplay *display) : m_display(display)
{
    if (!m_display) return;
    int major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!XkbLibraryVersion(&major, &minor)) return;
    int opcode = 0, event = 0, error = 0;
    if (!XkbQueryExtension(m_display, &opcode, &event, &error, &major, &minor)) return;
    m_indicator = XInternAtom(m_display, "Scroll Lock", False);
    Bool state = False;
    int index = -1;
    m_available = XkbGetNamedIndicator(m_display, m_indicator, &index, &state, nullptr, nullptr) && index >= 0;
}

bool X11ScrollLock::isOn() const
{
    if (!m_available) return false;
    Bool state = False;
    XkbGetNamedIndicator(m_display, m_indicator, nullptr, &state, nullptr, nullptr);
    return state;
}

void X11ScrollLock::pressAndRelease()
{
    if (!m_available) return;
    XkbSetNamedIndicator(m_display, m_indicator, True, isOn() ? False : True, False, nullptr);
    XSync(m_display, False);
}

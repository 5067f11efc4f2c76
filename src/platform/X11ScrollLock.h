#pragma once

#include "platform/ScrollLock.h"

struct _XDisplay;

// Scroll Lock through the XKB indicator "Scroll Lock". Many servers bind no modifier to
// the key, so a synthesized key press would not switch the light; the indicator is set
// directly instead.
class X11ScrollLock : public ScrollLock {
public:
    explicit X11ScrollLock(_XDisplay *display);
    bool available() const override { return m_available; }
    bool isOn() const override;
    void pressAndRelease() override;

private:
    _XDisplay *m_display;
    unsigned long m_indicator = 0; // the indicator's name atom
    bool m_available = false;
};

#pragma once

#include "platform/ScrollLock.h"

// Test double: a toggle in memory that counts the presses.
class FakeScrollLock : public ScrollLock {
public:
    bool available() const override { return true; }
    bool isOn() const override { return on; }
    void pressAndRelease() override
    {
        on = !on;
        ++presses;
    }
    bool on = false;
    int presses = 0;
};

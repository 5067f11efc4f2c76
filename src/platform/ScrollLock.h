#pragma once

// The Scroll Lock toggle state and its light, which mirror the between-bookmarks loop.
class ScrollLock {
public:
    virtual ~ScrollLock() = default;
    // False where the display has no Scroll Lock indicator; the light is then left alone.
    virtual bool available() const = 0;
    virtual bool isOn() const = 0;
    // One press and release of the key: flips the toggle state.
    virtual void pressAndRelease() = 0;
};

// Where the display has no Scroll Lock light.
class NoScrollLock : public ScrollLock {
public:
    bool available() const override { return false; }
    bool isOn() const override { return false; }
    void pressAndRelease() override {}
};

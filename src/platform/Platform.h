#pragma once

class Clock;
class ScrollLock;
class UserMessages;
class MpcTransport;

// The services the program runs on: real ones in main(), doubles in tests.
struct Platform {
    Clock &clock;
    ScrollLock &scrollLock;
    UserMessages &messages;
    MpcTransport &mpc;
};

#pragma once

class Clock;
class ScrollLock;
class UserMessages;
class MpcTransport;
class MciPlayer;
class WmpPlayer;
class MpvInstance;

// The services the program runs on: real ones in main(), doubles in tests.
struct Platform {
    Clock &clock;
    ScrollLock &scrollLock;
    UserMessages &messages;
    MpcTransport &mpc;
    MciPlayer &mci;
    WmpPlayer &wmp;
    MpvInstance *videoSource = nullptr; // the video player's picture, where GL draws it
};

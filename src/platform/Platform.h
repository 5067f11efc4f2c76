#pragma once

class Clock;
class ScrollLock;
class UserMessages;
class MpcTransport;
class MciPlayer;
class WmpPlayer;
class MpvInstance;
class SoundPlayer;

// The services the program runs on: real ones in main(), doubles in tests.
struct Platform {
    Clock &clock;
    ScrollLock &scrollLock;
    UserMessages &messages;
    MpcTransport &mpc;
    MciPlayer &mci;
    WmpPlayer &wmp;
    SoundPlayer &sound;
    MpvInstance *videoSource = nullptr; // the video player's picture, where GL draws it
};

#pragma once

#include "platform/Desktop.h"

class Clock;
class ScrollLock;
class UserMessages;
class MpcTransport;
class MciPlayer;
class WmpPlayer;
class MpvInstance;
class SoundPlayer;

// How the video window draws the picture: through GL, or with mpv's software renderer.
enum class VideoDrawing { Gl, Software };

// The services the program runs on: real ones in main(), doubles in tests.
struct Platform {
    Clock &clock;
    ScrollLock &scrollLock;
    UserMessages &messages;
    MpcTransport &mpc;
    MciPlayer &mci;
    WmpPlayer &wmp;
    SoundPlayer &sound;
    Desktop desktop;                    // keys, hot keys, other programs' windows, the clipboard
    VolumeControl &mixer;               // the program's own sound
    VolumeControl &masterVolume;        // the system's default output
    MpvInstance *videoSource = nullptr; // the video player's picture, where it can be drawn
    VideoDrawing videoDrawing = VideoDrawing::Gl;
};

#pragma once

#include "app/Program.h"
#include "platform/PulseVolume.h"
#include "platform/QtClock.h"
#include "platform/UserMessages.h"
#include "platform/X11Desktop.h"
#include "playback/LibmpvEngines.h"
#include "playback/MpvIpcBridge.h"
#include "playback/MpvMixer.h"
#include "playback/MpvSoundPlayer.h"

#include <memory>

class EndSignals;
class ScrollLock;

// Options of the players, for running without sound (the tests give the null audio output).
struct PlayerOptions {
    MpvOptions inProcess;           // for the in-process players
    QStringList externalPlayerArgs; // added to the external player's command line
};

// The program on the real services: the players on libmpv and the external mpv, the X11
// desktop, PulseAudio, Qt's timers and dialogs. main() runs it; the end-to-end tests start
// the same thing.
class RealProgram {
public:
    explicit RealProgram(const QStringList &arguments, const PlayerOptions &options = {});
    ~RealProgram();
    Program &program() { return *m_program; }
    // main() calls it just before it runs the event loop.
    static void MainLoopStarting();

private:
    void endMainLoop();

    QtClock m_clock;
    QtUserMessages m_messages;
    MpvIpcBridge m_mpc;
    LibmpvMci m_mci;
    LibmpvWmp m_wmp;
    MpvSoundPlayer m_sound;
    MpvMixer m_mixer;
    PulseVolume m_masterVolume;
    X11Desktop m_desktop;
    std::unique_ptr<ScrollLock> m_scrollLock;
    std::unique_ptr<Program> m_program;
    std::unique_ptr<EndSignals> m_endSignals;
};

#pragma once

#include "ProgramFixture.h"
#include "doubles/RecordingMpcTransport.h"

#include "playback/PlayerFacade.h"

#include <QAction>
#include <memory>

// A scripted external player behind the remote control: it keeps a play mode and a position
// that moves with the virtual clock, and answers position requests at once.
struct ScriptedExternalPlayer {
    ScriptedExternalPlayer(RecordingMpcTransport &t, VirtualClock &clock) : transport(t), clock(clock)
    {
        transport.onSend = [this](std::uint32_t code, const QString &text) { handle(code, text); };
    }
    void connect(double duration)
    {
        report(Mpc::RepConnect, {}, 4242);
        report(Mpc::RepLoadState, QStringLiteral("2"));
        durationSec = duration;
        report(Mpc::RepNowPlaying, QStringLiteral("|||f.mp3|%1").arg(duration));
        setMode(1);
    }
    double position()
    {
        if (mode == 0) positionSec = std::min(durationSec, positionSec + (clock.nowMs() - since) * speed / 1000.0);
        since = clock.nowMs();
        return positionSec;
    }
    void setMode(int m)
    {
        position();
        mode = m;
        report(Mpc::RepPlayMode, QString::number(m));
    }
    void handle(std::uint32_t code, const QString &text)
    {
        switch (code) {
        case Mpc::CmdPlay: setMode(0); break;
        case Mpc::CmdPause: setMode(1); break;
        case Mpc::CmdStop:
            positionSec = 0;
            setMode(2);
            break;
        case Mpc::CmdSetPosition:
            position();
            positionSec = text.toDouble();
            break;
        case Mpc::CmdGetPosition: report(Mpc::RepCurrentPosition, QString::number(position(), 'f', 3)); break;
        case Mpc::CmdSetSpeed:
            position();
            speed = text.toDouble();
            break;
        default: break;
        }
    }
    void report(std::uint32_t code, const QString &text, std::int64_t sender = 4242)
    {
        transport.onReport(code, text, sender);
    }

    RecordingMpcTransport &transport;
    VirtualClock &clock;
    int mode = 2;
    double positionSec = 0, durationSec = 0, speed = 1.0;
    std::int64_t since = 0;
};

// The program with a file open in a chosen engine.
class EngineTest : public ProgramTest {
protected:
    // The program goes first: its shutdown still talks to the scripted player.
    ~EngineTest() override { program.reset(); }
    PlayerFacade &player() { return program->player(); }
    // Opens a 60 s file in the given engine through the open operation.
    void openIn(Engine engine, int lengthMs = 60000)
    {
        const QString path = mediaFile(engine == Engine::Mci ? QStringLiteral("a.wav") : QStringLiteral("a.mp3"));
        mci.lengths[path] = lengthMs;
        wmp.lengths[path] = lengthMs;
        if (engine == Engine::Mpc) {
            form().NMPC->setChecked(true);
            external = std::make_unique<ScriptedExternalPlayer>(mpc, clock);
            // The player connects as soon as it is started.
            mpc.onStart = [this, lengthMs] { external->connect(lengthMs / 1000.0); };
            form().MPCHC->PlayerPath = mediaFile(QStringLiteral("mpv"));
        }
        program->session().PendingMediaPath = path;
        program->opener().OpenMediaFile();
        ASSERT_EQ(player().ActiveEngine(), engine);
    }
    void seekUser(int ms)
    {
        form().TrackBar1->tag = SeekUser;
        form().TrackBar1->setValue(ms);
    }
    std::unique_ptr<ScriptedExternalPlayer> external;
};

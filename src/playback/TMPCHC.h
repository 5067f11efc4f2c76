#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class Clock;
class UserMessages;

// Command and report codes of the external player's remote control.
namespace Mpc {
inline constexpr std::uint32_t CmdPlay = 0xA0000004, CmdPause = 0xA0000005, CmdStop = 0xA0000001,
                               CmdSetPosition = 0xA0002000, CmdGetPosition = 0xA0003004, CmdClose = 0xA0004006,
                               CmdSetSpeed = 0xA0004008;
inline constexpr std::uint32_t RepConnect = 0x50000000, RepLoadState = 0x50000001, RepPlayMode = 0x50000002,
                               RepNowPlaying = 0x50000003, RepCurrentPosition = 0x50000007, RepNotifySeek = 0x50000008,
                               RepDisconnect = 0x5000000B;
} // namespace Mpc

// How commands reach the external player and its reports come back.
class MpcTransport {
public:
    virtual ~MpcTransport() = default;
    // Starts the player program on a media file, reporting to hostWindow (an IPC socket path).
    // False when it could not be started.
    virtual bool startPlayer(const QString &program, const QString &mediaPath, const QString &hostWindow) = 0;
    // Sends one command synchronously: reports the player makes while handling it are
    // delivered through onReport before this returns.
    virtual void send(std::uint32_t code, const QString &text) = 0;
    // Where reports go: code, text, and the sender (the player's id for the connect report).
    std::function<void(std::uint32_t code, const QString &text, std::int64_t sender)> onReport;
};

// The client of the external player's remote control.
class TMPCHC {
public:
    TMPCHC(MpcTransport &transport, Clock &clock, UserMessages &messages);
    ~TMPCHC(); // tells a connected player to close

    static QString DefaultPlayerPath() { return QStringLiteral("/usr/bin/mpv"); }

    QString PlayerPath = DefaultPlayerPath();
    QString LoadedFile;
    QString HostWindow;            // where the player reports: the IPC socket path
    std::int64_t PlayerWindow = 0; // the player's id; 0 = not connected
    std::int32_t LoadState = 0;    // 0 closed, 1 loading, 2 loaded, 3 closing, 4 failing
    std::int32_t PlayMode = 0;     // 0 playing, 1 paused, 2 stopped
    double DurationSec = 0;
    double PositionSec = 0;

    bool connected() const { return !HostWindow.isEmpty() && PlayerWindow != 0; }
    void SendCommand(std::uint32_t code, const QString &text);
    void Play();
    void Pause();
    void Stop();
    void SetSpeed(double speed); // 1 = normal, the pitch kept; sent again to each new player
    double Speed = 1.0;
    double GetPosition();
    void SetPosition(double seconds);
    int GetPlayState() const;
    int OpenInPlayer(const QString &path);
    void HandleMessage(std::uint32_t code, const QString &text, std::int64_t sender);

    // The text SetPosition sends for a position in seconds.
    static QString PositionText(double seconds, double durationSec);

private:
    MpcTransport &m_transport;
    Clock &m_clock;
    UserMessages &m_messages;
    bool m_awaitingConnect = false; // a new player was started and has not connected yet
    bool m_speedSent = true;
    void sendSpeed();
};

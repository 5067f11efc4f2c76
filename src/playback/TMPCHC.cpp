#include "playback/TMPCHC.h"

#include "platform/Clock.h"
#include "platform/UserMessages.h"

#include <QFileInfo>
#include <cmath>

TMPCHC::TMPCHC(MpcTransport &transport, Clock &clock, UserMessages &messages)
    : m_transport(transport), m_clock(clock), m_messages(messages)
{
    m_transport.onReport = [this](std::uint32_t code, const QString &text, std::int64_t sender) {
        HandleMessage(code, text, sender);
    };
}

TMPCHC::~TMPCHC()
{
    if (connected()) SendCommand(Mpc::CmdClose, {});
    m_transport.onReport = nullptr;
}

void TMPCHC::SendCommand(std::uint32_t code, const QString &text)
{
    if (connected()) m_transport.send(code, text);
}

void TMPCHC::Play()
{
    sendSpeed();
    SendCommand(Mpc::CmdPlay, {});
}
void TMPCHC::Pause()
{
    sendSpeed();
    SendCommand(Mpc::CmdPause, {});
}
void TMPCHC::Stop() { SendCommand(Mpc::CmdStop, {}); }

void TMPCHC::SetSpeed(double speed)
{
    Speed = speed;
    m_speedSent = false;
    sendSpeed();
}

// A player started since the speed was set gets it before it plays.
void TMPCHC::sendSpeed()
{
    if (m_speedSent || !connected()) return;
    m_speedSent = true;
    m_transport.send(Mpc::CmdSetSpeed, QString::number(Speed, 'f', 2));
}

double TMPCHC::GetPosition()
{
    // The answer arrives while the command is being sent.
    SendCommand(Mpc::CmdGetPosition, {});
    return PositionSec;
}

QString TMPCHC::PositionText(double seconds, double durationSec)
{
    double x = seconds;
    if (x < 0) x = 0;
    else if (x > durationSec) x -= 0.001;
    return QString::number(std::round(x * 10) / 10, 'f', 1) + QStringLiteral("00000");
}

void TMPCHC::SetPosition(double seconds)
{
    if (!connected()) return;
    SendCommand(Mpc::CmdSetPosition, PositionText(seconds, DurationSec));
}

int TMPCHC::GetPlayState() const
{
    switch (PlayMode) {
    case 0: return 3;
    case 1: return 2;
    case 2: return 1;
    default: return 0;
    }
}

int TMPCHC::OpenInPlayer(const QString &path)
{
    if (!QFileInfo(path).isFile()) return -1;
    // The old player's last reports (its file closed, it disconnected) come while it is
    // closed here; they must not be taken for the new player's.
    m_awaitingConnect = true;
    if (connected()) {
        SendCommand(Mpc::CmdClose, {});
        m_clock.sleepMs(20);
        PlayerWindow = 0;
    }
    LoadState = 1; // the new file loads until the new player says otherwise
    if (QFileInfo(PlayerPath).isFile()) {
        LoadedFile = path;
        if (m_transport.startPlayer(PlayerPath, path, HostWindow)) return 0;
    }
    m_awaitingConnect = false;
    LoadState = 0;
    return -1;
}

void TMPCHC::HandleMessage(std::uint32_t code, const QString &text, std::int64_t sender)
{
    const auto number = [&](const QString &s, double &field) {
        bool ok = false;
        const double v = s.trimmed().toDouble(&ok); // QString::toDouble always reads "." as the separator
        if (ok) field = v;
        else m_messages.standardError(QStringLiteral("'%1' is not a valid floating point value").arg(s));
    };
    const auto digit = [&](std::int32_t &field) { field = text.isEmpty() ? -48 : text[0].unicode() - u'0'; };
    if (m_awaitingConnect) {
        if (code != Mpc::RepConnect) return;
        m_awaitingConnect = false;
    }
    switch (code) {
    case Mpc::RepConnect:
        PlayerWindow = sender;
        m_speedSent = Speed == 1.0; // a new player plays at normal speed
        DurationSec = 0;
        PositionSec = 0;
        break;
    case Mpc::RepLoadState: digit(LoadState); break;
    case Mpc::RepPlayMode: digit(PlayMode); break;
    case Mpc::RepNowPlaying: {
        // Title, author, description, file name: the rest after the fourth bar is the duration.
        qsizetype at = 0;
        for (int bars = 0; bars < 4 && at >= 0; ++bars) {
            at = text.indexOf(u'|', at);
            if (at >= 0) ++at;
        }
        if (at >= 0) number(text.mid(at), DurationSec);
        else number(QString(), DurationSec);
        break;
    }
    case Mpc::RepCurrentPosition:
    case Mpc::RepNotifySeek: number(text, PositionSec); break;
    case Mpc::RepDisconnect:
        PlayerWindow = 0;
        DurationSec = 0;
        PositionSec = 0;
        break;
    default: break;
    }
}

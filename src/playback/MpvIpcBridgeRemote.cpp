// The remote-control side of the bridge: what mpv reports becomes the reports of Mpc, and
// the commands of Mpc become requests to mpv.
#include "playback/MpvIpcBridge.h"

#include <QJsonArray>

#include <algorithm>

namespace {

// Observed properties; the ids only matter to mpv (for unobserving). mpv reports time-pos
// whenever playback moves it (every audio buffer step) and at once after a seek.
const char *const ObservedProperties[] = {MpvIpc::Pause,      MpvIpc::Duration, MpvIpc::Metadata, MpvIpc::MediaTitle,
                                          MpvIpc::IdleActive, MpvIpc::Speed,    MpvIpc::TimePos};

bool succeeded(const QJsonObject &reply)
{
    return reply.value(QStringLiteral("error")).toString() == QStringLiteral("success");
}

// The number a successful reply carries, if any.
std::optional<double> replyNumber(const QJsonObject &reply)
{
    const QJsonValue data = reply.value(QStringLiteral("data"));
    if (!succeeded(reply) || !data.isDouble()) return std::nullopt;
    return data.toDouble();
}

QString secondsText(double seconds) { return QString::number(seconds, 'f', 6); }

// A field of the now-playing report: the client splits the report at bars, so a bar inside a
// field must not survive.
QString nowPlayingField(QString text)
{
    text.replace(u'|', QChar(0x00A6)); // broken bar
    return text;
}

QString metadataValue(const QJsonObject &metadata, std::initializer_list<const char *> keys)
{
    // Tag names differ in case between containers (ID3 "TITLE", Matroska "title"...).
    for (const char *key : keys)
        for (auto it = metadata.begin(); it != metadata.end(); ++it)
            if (it.key().compare(QLatin1String(key), Qt::CaseInsensitive) == 0) return it.value().toString();
    return {};
}

} // namespace

void MpvIpcBridge::beginFollowing()
{
    int id = 1;
    for (const char *name : ObservedProperties)
        command(QJsonArray{QLatin1String(MpvIpc::ObserveProperty), id++, QLatin1String(name)});

    // Events from before the connection are lost, so ask where mpv is with its file. The
    // replies come in order: idle first, then whether a file format is known (a file is open).
    auto idle = std::make_shared<bool>(false);
    command(QJsonArray{QLatin1String(MpvIpc::GetProperty), QLatin1String(MpvIpc::IdleActive)},
            [idle](const QJsonObject &reply) { *idle = reply.value(QStringLiteral("data")).toBool(); });
    command(QJsonArray{QLatin1String(MpvIpc::GetProperty), QLatin1String(MpvIpc::FileFormat)},
            [this, idle, generation = m_fileGeneration](const QJsonObject &reply) {
                if (generation != m_fileGeneration) return; // a newer file event already told
                if (*idle) setLoadState(0);
                else if (succeeded(reply)) beginLoaded();
                else setLoadState(1);
            });
}

void MpvIpcBridge::report(std::uint32_t code, const QString &text, std::int64_t sender)
{
    if (onReport) onReport(code, text, sender);
}

void MpvIpcBridge::handleEvent(const QJsonObject &event)
{
    const QString name = event.value(QStringLiteral("event")).toString();
    if (name == QLatin1String(MpvIpc::EvPropertyChange)) {
        handlePropertyChange(event.value(QStringLiteral("name")).toString(), event.value(QStringLiteral("data")));
    } else if (name == QLatin1String(MpvIpc::EvStartFile)) {
        ++m_fileGeneration;
        m_heldPosition.reset();
        m_timePos.reset();
        m_lastNowPlaying.clear();
        setLoadState(1);
    } else if (name == QLatin1String(MpvIpc::EvFileLoaded)) {
        beginLoaded();
    } else if (name == QLatin1String(MpvIpc::EvEndFile)) {
        ++m_fileGeneration;
        m_heldPosition.reset();
        m_timePos.reset();
        m_lastNowPlaying.clear();
        setLoadState(0);
    } else if (name == QLatin1String(MpvIpc::EvPlaybackRestart)) {
        // Playback resumes after a seek: a seek the bridge waits for reports its own
        // position; any other (the user's, the file's start) is reported when mpv answers.
        if (m_waitingForSeek) {
            m_seekSettled = true;
        } else {
            m_heldPosition.reset();
            command(QJsonArray{QLatin1String(MpvIpc::GetProperty), QLatin1String(MpvIpc::TimePos)},
                    [this, generation = m_fileGeneration](const QJsonObject &reply) {
                        const std::optional<double> seconds = replyNumber(reply);
                        if (generation != m_fileGeneration || !seconds) return;
                        takeTimePos(*seconds);
                        report(Mpc::RepNotifySeek, secondsText(*seconds));
                    });
        }
    }
}

void MpvIpcBridge::handlePropertyChange(const QString &name, const QJsonValue &data)
{
    if (name == QLatin1String(MpvIpc::Pause)) {
        m_paused = data.toBool();
        if (m_paused) {
            // mpv's position settles a few ms after the pause, at times without a report: the
            // paused mode goes out with the position it settled at.
            readTimePos();
        } else {
            m_stopped = false; // playing again, e.g. from mpv's own window
            m_heldPosition.reset();
        }
        reportPlayMode();
    } else if (name == QLatin1String(MpvIpc::Speed)) {
        if (data.isDouble()) m_speed = data.toDouble();
    } else if (name == QLatin1String(MpvIpc::TimePos)) {
        // Without an open file the change comes without a value.
        if (data.isDouble()) takeTimePos(data.toDouble());
        else m_timePos.reset();
    } else if (name == QLatin1String(MpvIpc::Duration)) {
        m_duration = data;
        if (m_loadState == 2) reportNowPlaying();
    } else if (name == QLatin1String(MpvIpc::Metadata)) {
        m_metadata = data.toObject();
        if (m_loadState == 2) reportNowPlaying();
    } else if (name == QLatin1String(MpvIpc::MediaTitle)) {
        m_title = data.toString();
        if (m_loadState == 2) reportNowPlaying();
    } else if (name == QLatin1String(MpvIpc::IdleActive)) {
        if (data.toBool()) {
            ++m_fileGeneration;
            m_heldPosition.reset();
            m_timePos.reset();
            setLoadState(0);
        }
    }
}

void MpvIpcBridge::beginLoaded()
{
    // The file's details are asked for explicitly: observed changes may come after the
    // load event. The report that the file is loaded follows its details, so a client that
    // sees "loaded" already knows the duration.
    const int generation = m_fileGeneration;
    const auto get = [this](const char *property, std::function<void(const QJsonValue &)> use) {
        command(QJsonArray{QLatin1String(MpvIpc::GetProperty), QLatin1String(property)},
                [this, generation = m_fileGeneration, use = std::move(use)](const QJsonObject &reply) {
                    if (generation == m_fileGeneration && succeeded(reply)) use(reply.value(QStringLiteral("data")));
                });
    };
    get(MpvIpc::Path, [this](const QJsonValue &v) { m_path = v.toString(); });
    get(MpvIpc::MediaTitle, [this](const QJsonValue &v) { m_title = v.toString(); });
    get(MpvIpc::Metadata, [this](const QJsonValue &v) { m_metadata = v.toObject(); });
    command(QJsonArray{QLatin1String(MpvIpc::GetProperty), QLatin1String(MpvIpc::Duration)},
            [this, generation](const QJsonObject &reply) {
                if (generation != m_fileGeneration) return;
                m_duration = succeeded(reply) ? reply.value(QStringLiteral("data")) : QJsonValue();
                reportNowPlaying();
                setLoadState(2);
            });
}

void MpvIpcBridge::setLoadState(int state)
{
    if (state == m_loadState) return;
    m_loadState = state;
    report(Mpc::RepLoadState, QString::number(state));
}

void MpvIpcBridge::reportPlayMode()
{
    report(Mpc::RepPlayMode, m_stopped ? QStringLiteral("2") : m_paused ? QStringLiteral("1") : QStringLiteral("0"));
}

void MpvIpcBridge::reportNowPlaying()
{
    const double duration = m_duration.isDouble() ? m_duration.toDouble() : 0.0;
    const QString text =
        QStringList{nowPlayingField(m_title), nowPlayingField(metadataValue(m_metadata, {"artist", "author"})),
                    nowPlayingField(metadataValue(m_metadata, {"comment", "description"})), nowPlayingField(m_path),
                    secondsText(duration)}
            .join(u'|');
    if (text == m_lastNowPlaying) return;
    m_lastNowPlaying = text;
    report(Mpc::RepNowPlaying, text);
}

bool MpvIpcBridge::seekSync(double seconds)
{
    m_smooth.reset();
    // mpv answers a seek before doing it, and time-pos keeps the old position until playback
    // restarts; so the wait goes on until the restart that follows the answer.
    bool replied = false;
    m_seekSettled = false;
    const std::int64_t id =
        command(QJsonArray{QLatin1String(MpvIpc::Seek), seconds, QLatin1String(MpvIpc::SeekAbsoluteExact)},
                [this, &replied](const QJsonObject &reply) {
                    replied = true;
                    m_waitingForSeek = succeeded(reply);
                });
    if (id < 0) return false;
    if (!waitUntil([&] { return replied; }, ReplyTimeoutMs)) {
        m_replyHandlers.remove(id);
        return false;
    }
    if (!m_waitingForSeek) return false; // mpv refused, e.g. no file is open
    waitUntil([this] { return m_seekSettled; }, SeekSettleTimeoutMs);
    m_waitingForSeek = false;
    // Paused after an exact seek, the player is at the target, but mpv's time-pos subtracts
    // the audio it has queued meanwhile (0.19 s with the null audio output), so the target is
    // kept as the position until playback moves on.
    m_heldPosition.reset();
    if (m_paused && m_connected && m_seekSettled) {
        double held = std::max(seconds, 0.0);
        if (m_duration.isDouble()) held = std::min(held, m_duration.toDouble());
        m_heldPosition = held;
    }
    return true;
}

void MpvIpcBridge::takeTimePos(double seconds)
{
    m_timePos = seconds;
    m_timePosAtSec = nowSec();
}

std::int64_t MpvIpcBridge::askTimePos()
{
    return command(QJsonArray{QLatin1String(MpvIpc::GetProperty), QLatin1String(MpvIpc::TimePos)},
                   [this, generation = m_fileGeneration](const QJsonObject &reply) {
                       const std::optional<double> seconds = replyNumber(reply);
                       if (generation == m_fileGeneration && seconds) takeTimePos(*seconds);
                   });
}

void MpvIpcBridge::readTimePos()
{
    // The answer is taken when it comes, not after the wait: what arrives during the wait (a
    // report, the answer to a question asked from inside it) is newer than what came before.
    const std::int64_t id = askTimePos();
    if (id >= 0) waitUntil([&] { return !m_replyHandlers.contains(id); }, ReplyTimeoutMs);
}

void MpvIpcBridge::reportPosition(std::uint32_t code)
{
    // Answered from the last time-pos mpv reported, never by asking: a stopped or hung player
    // must not hold up the program, which reads the position every 10 ms. A silent player (a
    // paused one) is asked where it is, without waiting: that finds out whether it still
    // answers, and a paused player's position moves at times without a report.
    if (m_askedAtMs < 0 && m_monotonic.elapsed() - m_heardAtMs > ProbeAfterMs) askTimePos();
    if (m_heldPosition && m_paused) {
        report(code, secondsText(*m_heldPosition));
        return;
    }
    // Without an open file there is no position; the client keeps the last one.
    if (!m_timePos) return;
    double seconds = *m_timePos;
    if (m_paused || m_stopped) m_smooth.reset();
    else seconds = m_smooth.atReport(seconds, m_timePosAtSec, nowSec(), m_speed);
    report(code, secondsText(seconds));
}

void MpvIpcBridge::send(std::uint32_t code, const QString &text)
{
    if (!m_connected || !socketConnected()) return;
    // The mode is told as soon as mpv accepts the change: its own change report may come only
    // after the next command, and a seek made in between must not find the player playing.
    // An answer that comes after the wait (a player that was stopped) still counts.
    const auto setPause = [this](bool pause) {
        const std::int64_t id =
            command(QJsonArray{QLatin1String(MpvIpc::SetProperty), QLatin1String(MpvIpc::Pause), pause},
                    [this, pause](const QJsonObject &reply) {
                        if (!succeeded(reply)) return;
                        const bool changed = m_paused != pause;
                        m_paused = pause;
                        // Just paused: mpv's position may have moved on from its last report.
                        if (pause) readTimePos();
                        else m_heldPosition.reset();
                        if (changed && !m_stopped) reportPlayMode();
                    });
        if (id >= 0) waitUntil([&] { return !m_replyHandlers.contains(id); }, ReplyTimeoutMs);
    };
    switch (code) {
    case Mpc::CmdPlay: {
        m_stopped = false;
        // At the end of a kept-open file, unpausing alone would pause again at once.
        const QJsonObject eof =
            commandSync(QJsonArray{QLatin1String(MpvIpc::GetProperty), QLatin1String(MpvIpc::EofReached)});
        if (eof.value(QStringLiteral("data")).toBool() && seekSync(0)) reportPosition(Mpc::RepNotifySeek);
        setPause(false);
        break;
    }
    case Mpc::CmdPause: {
        const bool wasStopped = m_stopped;
        m_stopped = false;
        setPause(true);
        // Already paused while stopped: mpv reports no change, so tell the mode here.
        if (wasStopped) report(Mpc::RepPlayMode, QStringLiteral("1"));
        break;
    }
    case Mpc::CmdStop:
        // Stopping keeps the file loaded: paused at the start until the next play or pause.
        m_stopped = true;
        setPause(true);
        if (seekSync(0)) reportPosition(Mpc::RepNotifySeek);
        reportPlayMode();
        break;
    case Mpc::CmdSetPosition: {
        bool ok = false;
        const double seconds = text.trimmed().toDouble(&ok); // always "." as separator
        if (ok && seekSync(seconds)) reportPosition(Mpc::RepNotifySeek);
        break;
    }
    case Mpc::CmdGetPosition: reportPosition(Mpc::RepCurrentPosition); break;
    case Mpc::CmdSetSpeed: {
        bool ok = false;
        const double speed = text.trimmed().toDouble(&ok);
        if (!ok || speed <= 0) break;
        // As the in-process players: the pitch-keeping filter only at another speed than normal.
        commandSync(speed == 1.0
                        ? QJsonArray{QStringLiteral("af"), QStringLiteral("clr"), QString()}
                        : QJsonArray{QStringLiteral("af"), QStringLiteral("set"), QStringLiteral("scaletempo2")});
        if (succeeded(commandSync(QJsonArray{QLatin1String(MpvIpc::SetProperty), QLatin1String(MpvIpc::Speed), speed})))
            m_speed = speed; // known at once, for the position between reports
        break;
    }
    case Mpc::CmdClose:
        // mpv may close the connection before answering; the wait ends either way.
        commandSync(QJsonArray{QLatin1String(MpvIpc::Quit)});
        break;
    default: break; // not something this player is told
    }
}

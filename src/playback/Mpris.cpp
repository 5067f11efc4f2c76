#include "playback/Mpris.h"

#include "base/SeekKind.h"
#include "playback/MediaSession.h"
#include "widgets/Controls.h"
#include "playback/PlayerFacade.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QPushButton>
#include <QUrl>
#include <algorithm>

namespace {
const char *const ServiceName = "org.mpris.MediaPlayer2.stenova";
const char *const ObjectPath = "/org/mpris/MediaPlayer2";
const char *const PlayerInterface = "org.mpris.MediaPlayer2.Player";

QDBusObjectPath TrackId() { return QDBusObjectPath(QStringLiteral("/org/stenova/track/current")); }
} // namespace

Mpris::Mpris(const Controls &controls, MediaSession &session, PlayerFacade &player)
    : controls(controls), session(session), player(player)
{
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
    connect(&player, &PlayerFacade::playbackChanged, this, &Mpris::publishChanges);
    connect(&player, &PlayerFacade::speedChanged, this, &Mpris::publishChanges);
    connect(&player, &PlayerFacade::seeked, this, [this] {
        if (auto *adaptor = findChild<MprisPlayerAdaptor *>()) emit adaptor->Seeked(positionUs());
    });
}

Mpris::~Mpris()
{
    if (!m_registered) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QLatin1String(ObjectPath));
    bus.unregisterService(QLatin1String(ServiceName));
}

bool Mpris::registerOnSessionBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    m_registered =
        bus.registerObject(QLatin1String(ObjectPath), this) && bus.registerService(QLatin1String(ServiceName));
    return m_registered;
}

QString Mpris::playbackStatus()
{
    if (session.CurrentMediaPath.isEmpty()) return QStringLiteral("Stopped");
    switch (player.PlayState()) {
    case 3: return QStringLiteral("Playing");
    case 2: return QStringLiteral("Paused");
    // The audio player stops where it is, and a seek leaves a stopped player stopped; desktop
    // controls take a stopped player to be at the start, so one elsewhere (as the position bar
    // shows, without asking the player again) is paused there.
    case 1: return controls.TrackBar1->value() > 0 ? QStringLiteral("Paused") : QStringLiteral("Stopped");
    default: return QStringLiteral("Stopped");
    }
}

QVariantMap Mpris::metadata()
{
    const QString path = session.CurrentMediaPath;
    if (path.isEmpty()) return {{QStringLiteral("mpris:trackid"), QVariant::fromValue(TrackId())}};
    return {{QStringLiteral("mpris:trackid"), QVariant::fromValue(TrackId())},
            {QStringLiteral("mpris:length"), static_cast<qlonglong>(player.LengthMs()) * 1000},
            {QStringLiteral("xesam:url"), QUrl::fromLocalFile(path).toString()},
            {QStringLiteral("xesam:title"), QUrl::fromLocalFile(path).fileName()}};
}

qlonglong Mpris::positionUs()
{
    return session.CurrentMediaPath.isEmpty() ? 0 : static_cast<qlonglong>(player.PositionMs()) * 1000;
}

void Mpris::seekTo(qlonglong us)
{
    if (session.CurrentMediaPath.isEmpty()) return;
    // Seeks go through the position bar, as a user's do.
    const int ms = static_cast<int>(std::clamp<qlonglong>(us / 1000, 0, controls.TrackBar1->maximum()));
    controls.TrackBar1->tag = SeekUser;
    // The bar shows the position of its last refresh: a seek to what it shows still seeks.
    if (controls.TrackBar1->value() == ms) player.SeekFromTrackBar();
    else controls.TrackBar1->setValue(ms);
}

void Mpris::propertiesChanged(const QString &interface, const QVariantMap &changed)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(QLatin1String(ObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << interface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

void Mpris::publishChanges()
{
    if (!m_registered) return;
    QVariantMap changed;
    const QString status = playbackStatus();
    if (status != m_status) changed[QStringLiteral("PlaybackStatus")] = m_status = status;
    if (player.Speed() != m_rate) changed[QStringLiteral("Rate")] = m_rate = player.Speed();
    if (session.CurrentMediaPath != m_url) {
        m_url = session.CurrentMediaPath;
        changed[QStringLiteral("Metadata")] = metadata();
    }
    if (!changed.isEmpty()) propertiesChanged(QLatin1String(PlayerInterface), changed);
}

QStringList MprisRootAdaptor::mimeTypes() const
{
    return {QStringLiteral("audio/x-wav"),      QStringLiteral("audio/mpeg"),      QStringLiteral("video/mp4"),
            QStringLiteral("video/x-matroska"), QStringLiteral("video/x-msvideo"), QStringLiteral("video/x-ms-wmv")};
}

void MprisRootAdaptor::Raise()
{
    m_mpris->controls.window->showNormal();
    m_mpris->controls.window->raise();
    m_mpris->controls.window->activateWindow();
}

void MprisRootAdaptor::Quit() { m_mpris->controls.window->close(); }

double MprisPlayerAdaptor::rate() const { return m_mpris->player.Speed(); }
double MprisPlayerAdaptor::minimumRate() const { return PlayerFacade::MinSpeed; }
double MprisPlayerAdaptor::maximumRate() const { return PlayerFacade::MaxSpeed; }

// A rate of 0 pauses, as the interface asks of players.
void MprisPlayerAdaptor::setRate(double rate)
{
    if (rate <= 0) Pause();
    else m_mpris->player.SetSpeed(rate);
}

bool MprisPlayerAdaptor::hasMedia() const { return !m_mpris->session.CurrentMediaPath.isEmpty(); }

void MprisPlayerAdaptor::Play()
{
    if (hasMedia() && !m_mpris->player.IsPlaying()) m_mpris->player.TogglePlayPause();
}

void MprisPlayerAdaptor::Pause()
{
    if (m_mpris->player.IsPlaying()) m_mpris->player.Pause();
}

void MprisPlayerAdaptor::PlayPause()
{
    if (hasMedia()) m_mpris->player.TogglePlayPause();
}

// A media player's stop goes back to the start, where desktop controls expect a stopped player.
void MprisPlayerAdaptor::Stop()
{
    if (!hasMedia()) return;
    m_mpris->player.Stop();
    m_mpris->seekTo(0);
}

void MprisPlayerAdaptor::Seek(qlonglong offsetUs) { m_mpris->seekTo(m_mpris->positionUs() + offsetUs); }

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath &trackId, qlonglong positionUs)
{
    if (trackId == TrackId()) m_mpris->seekTo(positionUs);
}

void MprisPlayerAdaptor::OpenUri(const QString &uri)
{
    const QUrl url(uri);
    if (!url.isLocalFile()) return;
    m_mpris->session.PendingMediaPath = url.toLocalFile();
    m_mpris->controls.Button1->click();
}

#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

class PlayerFacade;
class QPushButton;
class QWidget;
class TrackBar;
struct MediaSession;

// The desktop's media-player interface on the session bus, so that media keys, desktop
// media controls and playerctl drive playback through the player facade.
class Mpris : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QWidget *window; // raised and closed through the bus
        TrackBar *TrackBar1;
        QPushButton *Button1; // opens PendingMediaPath
    };

    Mpris(const Controls &controls, MediaSession &session, PlayerFacade &player);
    ~Mpris() override;
    // Registers org.mpris.MediaPlayer2.stenova; false without a session bus.
    bool registerOnSessionBus();

    QString playbackStatus();
    QVariantMap metadata();
    qlonglong positionUs();
    void seekTo(qlonglong us);
    // Tells the bus about what changed since the last call.
    void publishChanges();

    const Controls controls;
    MediaSession &session;
    PlayerFacade &player;

private:
    void propertiesChanged(const QString &interface, const QVariantMap &changed);
    QString m_status;
    QString m_url;
    double m_rate = 1.0;
    bool m_registered = false;
};

class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ uriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ mimeTypes)
public:
    explicit MprisRootAdaptor(Mpris *mpris) : QDBusAbstractAdaptor(mpris), m_mpris(mpris) {}
    bool canQuit() const { return true; }
    bool canRaise() const { return true; }
    bool hasTrackList() const { return false; }
    QString identity() const { return QStringLiteral("Stenova"); }
    QString desktopEntry() const { return QStringLiteral("stenova"); }
    QStringList uriSchemes() const { return {QStringLiteral("file")}; }
    QStringList mimeTypes() const;

public slots:
    void Raise();
    void Quit();

private:
    Mpris *m_mpris;
};

class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(double MinimumRate READ minimumRate)
    Q_PROPERTY(double MaximumRate READ maximumRate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ no)
    Q_PROPERTY(bool CanGoPrevious READ no)
    Q_PROPERTY(bool CanPlay READ hasMedia)
    Q_PROPERTY(bool CanPause READ hasMedia)
    Q_PROPERTY(bool CanSeek READ hasMedia)
    Q_PROPERTY(bool CanControl READ yes)
public:
    explicit MprisPlayerAdaptor(Mpris *mpris) : QDBusAbstractAdaptor(mpris), m_mpris(mpris) {}
    QString playbackStatus() const { return m_mpris->playbackStatus(); }
    double rate() const;
    void setRate(double rate);
    double minimumRate() const;
    double maximumRate() const;
    QVariantMap metadata() const { return m_mpris->metadata(); }
    qlonglong position() const { return m_mpris->positionUs(); }
    bool no() const { return false; }
    bool yes() const { return true; }
    bool hasMedia() const;

public slots:
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next() {}
    void Previous() {}
    void Seek(qlonglong offsetUs);
    void SetPosition(const QDBusObjectPath &trackId, qlonglong positionUs);
    void OpenUri(const QString &uri);

signals:
    void Seeked(qlonglong positionUs);

private:
    Mpris *m_mpris;
};

#pragma once

#include "playback/SmoothPosition.h"
#include "playback/TMPCHC.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class Clock;
class QJsonArray;
class QLocalSocket;
class QProcess;
class Timer;

// The names the bridge uses on mpv's JSON IPC: properties, commands, events and the options
// the player is started with.
namespace MpvIpc {
// Properties.
inline constexpr const char *Pause = "pause";
inline constexpr const char *Speed = "speed";
inline constexpr const char *EofReached = "eof-reached";
inline constexpr const char *Duration = "duration";
inline constexpr const char *TimePos = "time-pos";
inline constexpr const char *IdleActive = "idle-active";
inline constexpr const char *FileFormat = "file-format";
inline constexpr const char *Path = "path";
inline constexpr const char *MediaTitle = "media-title";
inline constexpr const char *Metadata = "metadata";
// Commands.
inline constexpr const char *ObserveProperty = "observe_property";
inline constexpr const char *GetProperty = "get_property";
inline constexpr const char *SetProperty = "set_property";
inline constexpr const char *Seek = "seek";
inline constexpr const char *SeekAbsoluteExact = "absolute+exact";
inline constexpr const char *Quit = "quit";
// Events.
inline constexpr const char *EvPropertyChange = "property-change";
inline constexpr const char *EvStartFile = "start-file";
inline constexpr const char *EvFileLoaded = "file-loaded";
inline constexpr const char *EvEndFile = "end-file";
inline constexpr const char *EvPlaybackRestart = "playback-restart";
// Start-up options.
inline constexpr const char *OptIdle = "--idle=yes";
inline constexpr const char *OptPause = "--pause";
inline constexpr const char *OptKeepOpen = "--keep-open=yes";
inline constexpr const char *OptForceWindow = "--force-window=yes";
inline constexpr const char *OptIpcServer = "--input-ipc-server=";
} // namespace MpvIpc

// Drives an external mpv process over its JSON IPC socket and turns what mpv says into the
// remote-control reports of Mpc. Everything runs on the UI thread. The position is answered
// from what mpv reports on its own, without asking; the commands that change something wait
// for mpv's reply, bounded, and not at all while mpv leaves a request unanswered (stopped or
// hung) until it speaks again.
//
// No Q_OBJECT: the bridge has no signals or slots, and without moc output the library pulls in
// QtNetwork only for programs that actually use the bridge.
class MpvIpcBridge : public QObject, public MpcTransport {
public:
    explicit MpvIpcBridge(Clock &clock, QStringList extraArgs = {}, QObject *parent = nullptr);
    ~MpvIpcBridge() override;

    bool startPlayer(const QString &program, const QString &mediaPath, const QString &socketPath) override;
    void send(std::uint32_t code, const QString &text) override;

    // The current player's process id; 0 when none is running.
    std::int64_t processId() const;
    bool playerRunning() const;
    bool socketConnected() const;
    // False while the player has left a request unanswered for ReplyTimeoutMs (it is stopped or
    // hung): until it says anything again, nothing waits for it.
    bool playerAnswering() const;

    // How long the player is given to answer a request, for a seek to settle, for mpv to
    // create its socket.
    static constexpr int ReplyTimeoutMs = 500;
    static constexpr int SeekSettleTimeoutMs = 500;
    static constexpr int ConnectTimeoutMs = 5000;
    static constexpr int ConnectRetryMs = 20;
    static constexpr int StartTimeoutMs = 5000;
    static constexpr int QuitTimeoutMs = 2000;
    // A player silent this long is asked something when the position is read, so that a
    // stopped player is noticed before a command waits for it.
    static constexpr int ProbeAfterMs = 200;

private:
    using ReplyHandler = std::function<void(const QJsonObject &reply)>;

    // Ends the current player: asks it to quit, waits (bounded), kills it if need be; one that
    // does not answer is killed at once.
    void endPlayer(bool deliverReports);
    void tryConnect();
    void onConnected();
    // Once connected: observes mpv's properties and asks where it is with its file.
    void beginFollowing();
    void onConnectError();
    void onReadyRead();
    void onSocketDisconnected();
    void onProcessFinished();

    // Writes a command; the handler (if any) gets mpv's reply. Returns the request id, or -1
    // when there is no connection.
    std::int64_t command(const QJsonArray &args, const ReplyHandler &handler = {});
    void write(const QJsonObject &message);
    // Writes a command and waits, bounded, for its reply while dispatching whatever else
    // arrives. Returns the reply; empty when none came.
    QJsonObject commandSync(const QJsonArray &args);
    // Processes incoming lines until done() holds, the connection ends, the time runs out or
    // the player has left a request unanswered for ReplyTimeoutMs.
    bool waitUntil(const std::function<bool()> &done, int timeoutMs);
    // How much longer the player has to answer what it was asked; none asked: no limit.
    qint64 answerTimeLeftMs() const;
    void processIncoming();
    void handleLine(const QByteArray &line);
    void handleEvent(const QJsonObject &event);
    void handlePropertyChange(const QString &name, const QJsonValue &data);

    bool seekSync(double seconds);
    double nowSec() const { return static_cast<double>(m_monotonic.nsecsElapsed()) / 1e9; }
    void reportPosition(std::uint32_t code);
    // Takes a time-pos mpv reported or answered, as of now.
    void takeTimePos(double seconds);
    // Asks mpv where it is, without waiting; the answer is taken like a report when it comes.
    // Returns the request id, or -1 when there is no connection.
    std::int64_t askTimePos();
    // The same, waiting (bounded) for the answer.
    void readTimePos();
    void beginLoaded();
    void setLoadState(int state);
    void reportPlayMode();
    void reportNowPlaying();
    void report(std::uint32_t code, const QString &text, std::int64_t sender = 0);
    void reportDisconnect();
    void resetConnectionState();

    QStringList m_extraArgs;
    QString m_socketPath;
    QPointer<QProcess> m_process;
    QPointer<QLocalSocket> m_socket;
    std::unique_ptr<Timer> m_connectRetry;
    QDeadlineTimer m_connectDeadline;
    std::int64_t m_pid = 0;

    // State of the current connection.
    bool m_connected = false; // the connect report went out and the disconnect report not yet
    QByteArray m_buffer;
    std::int64_t m_nextRequestId = 1;
    QHash<std::int64_t, ReplyHandler> m_replyHandlers;
    qint64 m_heardAtMs = 0;   // when the player last said anything (monotonic)
    qint64 m_askedAtMs = -1;  // the first request written since then; -1: none
    int m_loadState = -1;     // last load state reported
    int m_fileGeneration = 0; // changes whenever a file starts or ends, to drop stale replies
    bool m_paused = true;
    bool m_stopped = false; // the remote's Stop: paused at the start until the next play/pause
    bool m_waitingForSeek = false;
    bool m_seekSettled = false;
    std::optional<double> m_heldPosition; // where a paused player was put by an exact seek
    std::optional<double> m_timePos;      // mpv's last reported time-pos; none without an open file
    double m_timePosAtSec = 0;            // when it came (monotonic)
    SmoothPosition m_smooth;
    QElapsedTimer m_monotonic;
    double m_speed = 1.0;
    QString m_title, m_path;
    QJsonObject m_metadata;
    QJsonValue m_duration;
    QString m_lastNowPlaying;
};

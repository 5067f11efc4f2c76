#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include "playback/SmoothPosition.h"

#include <optional>
#include <utility>
#include <vector>

struct mpv_handle;

// Names of the mpv properties, options and commands the program uses.
namespace MpvName {
inline constexpr const char *TimePos = "time-pos";
inline constexpr const char *Duration = "duration";
inline constexpr const char *Pause = "pause";
inline constexpr const char *Speed = "speed";
inline constexpr const char *EofReached = "eof-reached";
inline constexpr const char *Volume = "volume";
inline constexpr const char *AoVolume = "ao-volume";
inline constexpr const char *CurrentAo = "current-ao";
inline constexpr const char *LoadFile = "loadfile";
inline constexpr const char *Stop = "stop";
inline constexpr const char *Seek = "seek";
inline constexpr const char *SeekExact = "absolute+exact";
} // namespace MpvName

using MpvOptions = std::vector<std::pair<QByteArray, QByteArray>>;

// One in-process libmpv player, started at its first command or setting, so that a player the
// program never uses costs nothing. Events are pumped, never polled: mpv's wakeup callback only
// queues a call on the UI thread, which drains the event queue.
class MpvInstance : public QObject {
    Q_OBJECT
public:
    // Options are set before initialisation (e.g. {"vid", "no"}, {"ao", "null"}).
    explicit MpvInstance(const MpvOptions &options, QObject *parent = nullptr);
    ~MpvInstance() override;

    // Starts the player if it has not been started; false when it cannot start (initError()).
    bool ok();
    bool started() const { return m_handle != nullptr; }
    mpv_handle *handle() const { return m_handle; }
    QString initError() const { return m_initError; }

    // Synchronous command; returns mpv's error code (0 = success). Commands and setters start
    // the player; getters of a player not started give their fallback.
    int command(std::initializer_list<const char *> args);
    double getDouble(const char *name, double fallback = 0) const;
    bool getFlag(const char *name) const;
    int setFlag(const char *name, bool value);
    int setDouble(const char *name, double value);
    // Another speed than normal plays through mpv's better time-stretching filter, which keeps
    // the voice's pitch; at normal speed no filter runs, so positions stay exact to the ms.
    void setSpeed(double speed);
    static QString errorText(int code);

    // Processes mpv's pending events now (the queued pump does the same).
    void drainEvents();
    // Seeks exactly and waits, at most timeoutMs, until mpv has landed there, so that the
    // position read next is the target. False when the seek was refused or timed out.
    bool seekExact(double seconds, int timeoutMs = 2000);
    // The playback position in seconds. After a seek mpv may report the target less the
    // audio output's buffer until audio has really played (while paused, or just after
    // resuming); playback never goes back before the last seek's target without another
    // command, so the target is the floor of what is reported. While playing, the position
    // moves smoothly between mpv's reports.
    double position();

signals:
    void playerStarted(); // the player has just started
    void startFile();
    void fileLoaded();
    void endFile(int reason, int error); // reason: MPV_END_FILE_REASON_*
    void idle();
    void seekDone(); // playback restarted after a seek or load

private:
    static void wakeup(void *self);
    void dispatch(const struct mpv_event *e);

    MpvOptions m_options;
    mpv_handle *m_handle = nullptr;
    bool m_tried = false;
    QString m_initError;
    std::optional<double> m_seekTarget;
    SmoothPosition m_smooth;
};

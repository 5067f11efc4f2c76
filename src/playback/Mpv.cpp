#include "playback/Mpv.h"

#include <mpv/client.h>
#include "platform/Logging.h"
#include "playback/MpvLibrary.h"

#include <QElapsedTimer>
#include <algorithm>
#include <chrono>
#include <vector>

MpvInstance::MpvInstance(const MpvOptions &options, QObject *parent) : QObject(parent), m_options(options) {}

bool MpvInstance::ok()
{
    if (m_handle || m_tried) return m_handle != nullptr;
    m_tried = true;
    mpv_handle *h = mpv_create();
    if (!h) {
        m_initError = MpvLibraryError();
        if (m_initError.isEmpty()) m_initError = QStringLiteral("mpv_create failed");
        qCWarning(lcPlayback) << "libmpv did not start:" << m_initError;
        return false;
    }
    // Nothing of the user's own mpv configuration may change how the program plays.
    mpv_set_option_string(h, "config", "no");
    mpv_set_option_string(h, "terminal", "no");
    mpv_set_option_string(h, "input-default-bindings", "no");
    mpv_set_option_string(h, "osc", "no");
    // No scripts: each would start a Lua interpreter and a thread of its own in every player.
    for (const char *script : {"load-scripts", "ytdl", "load-stats-overlay", "load-osd-console", "load-auto-profiles"})
        mpv_set_option_string(h, script, "no");
    mpv_set_option_string(h, "idle", "yes");
    mpv_set_option_string(h, "keep-open", "yes");
    mpv_set_option_string(h, "hr-seek", "yes");
    mpv_set_option_string(h, "pause", "yes");
    // PulseAudio first: the system volume is PulseAudio's, and PipeWire's own output, tried
    // first by default, only complains where no PipeWire server runs.
    mpv_set_option_string(h, "ao", "pulse,pipewire,alsa");
    // Without a sound device the player still runs, silently and in real time.
    mpv_set_option_string(h, "audio-fallback-to-null", "yes");
    for (const auto &[name, value] : m_options) mpv_set_option_string(h, name.constData(), value.constData());
    const int rc = mpv_initialize(h);
    if (rc < 0) {
        m_initError = errorText(rc);
        qCWarning(lcPlayback) << "libmpv did not start:" << m_initError;
        mpv_terminate_destroy(h);
        return false;
    }
    m_handle = h;
    mpv_set_wakeup_callback(m_handle, &MpvInstance::wakeup, this);
    emit playerStarted();
    return true;
}

MpvInstance::~MpvInstance()
{
    if (!m_handle) return;
    mpv_set_wakeup_callback(m_handle, nullptr, nullptr);
    mpv_terminate_destroy(m_handle);
}

void MpvInstance::wakeup(void *self)
{
    // Called on one of mpv's threads: only queue the drain on the UI thread.
    QMetaObject::invokeMethod(static_cast<MpvInstance *>(self), &MpvInstance::drainEvents, Qt::QueuedConnection);
}

void MpvInstance::drainEvents()
{
    while (m_handle) {
        mpv_event *e = mpv_wait_event(m_handle, 0);
        if (e->event_id == MPV_EVENT_NONE) break;
        dispatch(e);
    }
}

bool MpvInstance::seekExact(double seconds, int timeoutMs)
{
    if (!m_handle) return false;
    drainEvents(); // a restart already queued must not end the wait early
    const QByteArray target = QByteArray::number(seconds, 'f', 6);
    if (command({MpvName::Seek, target.constData(), MpvName::SeekExact}) < 0) return false;
    m_seekTarget = seconds;
    QElapsedTimer waited;
    waited.start();
    for (qint64 left = timeoutMs; left > 0; left = timeoutMs - waited.elapsed()) {
        mpv_event *e = mpv_wait_event(m_handle, static_cast<double>(left) / 1000.0);
        dispatch(e);
        if (e->event_id == MPV_EVENT_PLAYBACK_RESTART) return true;
        if (e->event_id == MPV_EVENT_END_FILE) return false;
    }
    return false;
}

void MpvInstance::dispatch(const mpv_event *e)
{
    {
        switch (e->event_id) {
        case MPV_EVENT_START_FILE: emit startFile(); break;
        case MPV_EVENT_FILE_LOADED: emit fileLoaded(); break;
        case MPV_EVENT_END_FILE: {
            const auto *end = static_cast<mpv_event_end_file *>(e->data);
            emit endFile(end->reason, end->error);
            break;
        }
        case MPV_EVENT_IDLE: emit idle(); break;
        case MPV_EVENT_PLAYBACK_RESTART: emit seekDone(); break;
        default: break;
        }
    }
}

double MpvInstance::position()
{
    double reported = getDouble(MpvName::TimePos);
    if (m_seekTarget) reported = std::max(reported, *m_seekTarget);
    if (getFlag(MpvName::Pause) || getFlag(MpvName::EofReached)) {
        m_smooth.reset(); // exact again while nothing moves
        return reported;
    }
    const double now = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    return m_smooth.at(reported, now, getDouble(MpvName::Speed, 1.0));
}

int MpvInstance::command(std::initializer_list<const char *> args)
{
    if (!ok()) return MPV_ERROR_UNINITIALIZED;
    // Any command may move playback anywhere.
    m_seekTarget.reset();
    m_smooth.reset();
    std::vector<const char *> argv(args);
    argv.push_back(nullptr);
    return mpv_command(m_handle, argv.data());
}

void MpvInstance::setSpeed(double speed)
{
    if (speed == 1.0) command({"af", "clr", ""});
    else command({"af", "set", "scaletempo2"});
    setDouble(MpvName::Speed, speed);
}

double MpvInstance::getDouble(const char *name, double fallback) const
{
    double v = fallback;
    if (!m_handle || mpv_get_property(m_handle, name, MPV_FORMAT_DOUBLE, &v) < 0) return fallback;
    return v;
}

bool MpvInstance::getFlag(const char *name) const
{
    int v = 0;
    if (!m_handle || mpv_get_property(m_handle, name, MPV_FORMAT_FLAG, &v) < 0) return false;
    return v != 0;
}

int MpvInstance::setFlag(const char *name, bool value)
{
    int v = value ? 1 : 0;
    return ok() ? mpv_set_property(m_handle, name, MPV_FORMAT_FLAG, &v) : MPV_ERROR_UNINITIALIZED;
}

int MpvInstance::setDouble(const char *name, double value)
{
    return ok() ? mpv_set_property(m_handle, name, MPV_FORMAT_DOUBLE, &value) : MPV_ERROR_UNINITIALIZED;
}

QString MpvInstance::errorText(int code) { return QString::fromUtf8(mpv_error_string(code)); }

#include "playback/LibmpvEngines.h"

#include "base/MediaTime.h"
#include "platform/Logging.h"
#include "platform/Clock.h"

#include <mpv/client.h>

namespace {
MpvOptions With(MpvOptions base, const MpvOptions &extra)
{
    base.insert(base.end(), extra.begin(), extra.end());
    return base;
}
} // namespace

MpvLoader::MpvLoader(const MpvOptions &options, Clock &clock) : m_mpv(options), m_clock(clock)
{
    connect(&m_mpv, &MpvInstance::fileLoaded, this, [this] {
        if (m_state == Loading) m_state = Loaded;
    });
    connect(&m_mpv, &MpvInstance::endFile, this, [this](int reason, int error) {
        if (m_state != Loading) return;
        if (reason == MPV_END_FILE_REASON_ERROR) {
            m_state = Failed;
            m_error = MpvInstance::errorText(error);
            qCWarning(lcPlayback) << "the player could not play the file:" << m_error;
        }
    });
}

void MpvLoader::unload()
{
    if (m_state == Empty) return;
    // A new file loaded into a paused, seeked instance starts early by the audio buffer
    // unless the old one is unloaded first.
    m_mpv.command({MpvName::Stop});
    for (int i = 0; i < 200 && !m_mpv.getFlag("idle-active"); ++i) m_clock.sleepMs(1);
    m_mpv.drainEvents(); // the old file's end must not count against the new one
    m_state = Empty;
}

void MpvLoader::startLoading(const QString &path)
{
    unload();
    m_error.clear();
    if (!m_mpv.ok()) {
        m_state = Failed;
        m_error = m_mpv.initError();
        return;
    }
    m_mpv.setFlag(MpvName::Pause, true);
    const QByteArray file = path.toUtf8();
    const int rc = m_mpv.command({MpvName::LoadFile, file.constData()});
    m_state = rc < 0 ? Failed : Loading;
    if (rc < 0) m_error = MpvInstance::errorText(rc);
}

bool MpvLoader::waitLoaded(int rounds)
{
    for (int i = 0; i < rounds && m_state == Loading; ++i) {
        m_mpv.drainEvents();
        if (m_state != Loading) break;
        m_clock.processEvents();
        m_clock.sleepMs(10);
    }
    if (m_state == Loading) {
        m_state = Failed;
        m_error = QStringLiteral("timeout");
    }
    return m_state == Loaded;
}

LibmpvMci::LibmpvMci(Clock &clock, const MpvOptions &extraOptions)
    : m_loader(With({{"vid", "no"}, {"video", "no"}}, extraOptions), clock)
{
}

bool LibmpvMci::Open(const QString &path, QString *error)
{
    m_mode = mpNotReady;
    m_loader.startLoading(path);
    if (!m_loader.waitLoaded()) {
        if (error) *error = m_loader.error();
        return false;
    }
    m_mode = mpStopped;
    return true;
}

void LibmpvMci::Close()
{
    m_loader.unload();
    m_mode = mpNotReady;
}

TMPModes LibmpvMci::Mode()
{
    // The end of the file stops a playing player.
    if (m_mode == mpPlaying && mpv().getFlag(MpvName::EofReached)) {
        mpv().setFlag(MpvName::Pause, true);
        m_mode = mpStopped;
    }
    return m_mode;
}

int LibmpvMci::Position() { return m_loader.loaded() ? EngineSecondsToMs(mpv().position()) : 0; }

void LibmpvMci::SetPosition(int ms)
{
    if (!m_loader.loaded()) return;
    if (m_mode == mpPlaying) Stop();
    mpv().seekExact(ms / 1000.0);
}

int LibmpvMci::Length() { return m_loader.loaded() ? EngineLengthToMs(mpv().getDouble(MpvName::Duration)) : 0; }

void LibmpvMci::Play()
{
    if (!m_loader.loaded()) return;
    // At the end of the file play starts again from the beginning, as the player's own
    // play button does.
    if (mpv().getFlag(MpvName::EofReached)) mpv().seekExact(0);
    mpv().setFlag(MpvName::Pause, false);
    m_mode = mpPlaying;
}

void LibmpvMci::Pause()
{
    const TMPModes mode = Mode();
    if (mode == mpPlaying) {
        mpv().setFlag(MpvName::Pause, true);
        m_mode = mpPaused;
    } else if (mode == mpPaused) {
        Play();
    }
}

void LibmpvMci::Stop()
{
    if (!m_loader.loaded()) return;
    mpv().setFlag(MpvName::Pause, true);
    m_mode = mpStopped;
}

void LibmpvMci::SetSpeed(double speed) { mpv().setSpeed(speed); }

LibmpvWmp::LibmpvWmp(Clock &clock, bool withVideoOutput, const MpvOptions &extraOptions)
    // With a picture to draw, video stays off until the video window has its render context:
    // a file loaded before that would lose its video track for good.
    : m_loader(With(withVideoOutput ? MpvOptions{{"vo", "libmpv"}, {"vid", "no"}} : MpvOptions{{"vo", "null"}},
                    extraOptions),
               clock)
{
}

void LibmpvWmp::setURL(const QString &path)
{
    m_stopped = true;
    m_loader.startLoading(path);
}

void LibmpvWmp::play()
{
    if (m_loader.loaded() && mpv().getFlag(MpvName::EofReached)) mpv().seekExact(0);
    mpv().setFlag(MpvName::Pause, false);
    m_stopped = false;
}

void LibmpvWmp::pause()
{
    mpv().setFlag(MpvName::Pause, true);
    m_stopped = false;
}

void LibmpvWmp::stop()
{
    mpv().setFlag(MpvName::Pause, true);
    if (m_loader.loaded()) mpv().seekExact(0);
    m_stopped = true;
}

void LibmpvWmp::setRate(double rate) { mpv().setSpeed(rate); }

int LibmpvWmp::playState()
{
    mpv().drainEvents();
    if (m_loader.loading()) return wmppsTransitioning;
    if (!m_loader.loaded()) return wmppsUndefined;
    if (m_stopped || mpv().getFlag(MpvName::EofReached)) return wmppsStopped;
    return mpv().getFlag(MpvName::Pause) ? wmppsPaused : wmppsPlaying;
}

double LibmpvWmp::currentPosition() { return m_loader.loaded() ? mpv().position() : 0; }

void LibmpvWmp::setCurrentPosition(double seconds)
{
    if (m_loader.loaded()) mpv().seekExact(seconds);
}

double LibmpvWmp::duration() { return m_loader.loaded() ? mpv().getDouble(MpvName::Duration) : 0; }

#pragma once

#include "playback/Engines.h"
#include "platform/Clock.h"

#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cmath>

// Test doubles of the two in-process players, driven by the (virtual) clock: the position
// advances while playing and playing stops at the end. Lengths come from `lengths` by path
// (default 60 s); a path in `broken` fails to open with its message, and so does a file that
// does not exist, with the real player's message.
class FakeMedia {
public:
    explicit FakeMedia(Clock &clock) : m_clock(clock) {}
    QHash<QString, int> lengths;
    QHash<QString, QString> broken;

protected:
    bool load(const QString &path, QString *error)
    {
        m_positionMs = 0;
        m_playing = false;
        m_length = 0;
        m_loaded = !broken.contains(path) && QFileInfo::exists(path);
        if (!m_loaded) {
            if (error) *error = broken.value(path, QStringLiteral("loading failed"));
            return false;
        }
        m_length = lengths.value(path, 60000);
        return true;
    }
    // Position in ms, with the end of the media stopping playback.
    double position()
    {
        if (m_playing) {
            m_positionMs += static_cast<double>(m_clock.nowMs() - m_since) * m_speed;
            m_since = m_clock.nowMs();
            if (m_positionMs >= m_length) {
                m_positionMs = m_length;
                m_playing = false;
                atEnd();
            }
        }
        return m_positionMs;
    }
    void run(bool playing)
    {
        position();
        m_playing = playing && m_loaded;
        m_since = m_clock.nowMs();
    }
    void seek(double ms)
    {
        position();
        m_positionMs = std::clamp(ms, 0.0, static_cast<double>(m_length));
        m_since = m_clock.nowMs();
    }
    void speed(double speed)
    {
        position();
        m_speed = speed;
        m_since = m_clock.nowMs();
    }
    virtual void atEnd() {}

    Clock &m_clock;
    bool m_loaded = false;
    bool m_playing = false;
    double m_positionMs = 0;
    double m_speed = 1.0;
    int m_length = 0;
    std::int64_t m_since = 0;
};

class FakeMci : public MciPlayer, public FakeMedia {
public:
    using FakeMedia::FakeMedia;
    bool Open(const QString &path, QString *error) override
    {
        m_mode = load(path, error) ? mpStopped : mpNotReady;
        return m_loaded;
    }
    void Close() override
    {
        m_loaded = m_playing = false;
        m_mode = mpNotReady;
    }
    TMPModes Mode() override
    {
        position();
        return m_mode;
    }
    int Position() override { return m_loaded ? static_cast<int>(position()) : 0; }
    void SetPosition(int ms) override
    {
        if (!m_loaded) return;
        if (Mode() == mpPlaying) Stop();
        seek(ms);
    }
    int Length() override { return m_loaded ? m_length : 0; }
    void Play() override
    {
        if (!m_loaded) return;
        if (position() >= m_length) seek(0);
        run(true);
        m_mode = mpPlaying;
    }
    void Pause() override
    {
        const TMPModes mode = Mode();
        if (mode == mpPlaying) {
            run(false);
            m_mode = mpPaused;
        } else if (mode == mpPaused) {
            Play();
        }
    }
    void Stop() override
    {
        if (!m_loaded) return;
        run(false);
        m_mode = mpStopped;
    }
    void SetSpeed(double s) override { speed(s); }

private:
    void atEnd() override { m_mode = mpStopped; }
    TMPModes m_mode = mpNotReady;
};

class FakeWmp : public WmpPlayer, public FakeMedia {
public:
    using FakeMedia::FakeMedia;
    void setURL(const QString &path) override
    {
        m_error.clear();
        load(path, &m_error);
        m_state = m_loaded ? wmppsStopped : wmppsUndefined;
        m_ended = false;
    }
    void play() override
    {
        if (!m_loaded) return;
        if (position() >= m_length) seek(0);
        run(true);
        m_state = wmppsPlaying;
        m_ended = false;
    }
    void pause() override
    {
        if (!m_loaded) return;
        run(false);
        m_state = wmppsPaused;
    }
    void stop() override
    {
        if (!m_loaded) return;
        run(false);
        seek(0);
        m_state = wmppsStopped;
        m_ended = false;
    }
    // At the end of the media the player stays stopped, paused or not, until it moves away.
    int playState() override
    {
        position();
        return m_ended ? wmppsStopped : m_state;
    }
    double currentPosition() override { return m_loaded ? position() / 1000.0 : 0; }
    void setCurrentPosition(double seconds) override
    {
        if (!m_loaded) return;
        seek(seconds * 1000.0);
        m_ended = false;
    }
    double duration() override { return m_loaded ? m_length / 1000.0 : 0; }
    QString lastError() override { return m_error; }
    void setRate(double rate) override { speed(rate); }

private:
    void atEnd() override
    {
        m_state = wmppsStopped;
        m_ended = true;
    }
    int m_state = wmppsUndefined;
    bool m_ended = false;
    QString m_error;
};

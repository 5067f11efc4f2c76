#pragma once

#include "playback/Engines.h"
#include "playback/Mpv.h"

class Clock;

// Loads files into one mpv instance and tracks the outcome.
class MpvLoader : public QObject {
    Q_OBJECT
public:
    MpvLoader(const MpvOptions &options, Clock &clock);
    MpvInstance &mpv() { return m_mpv; }

    // Unloads the current file, then starts loading path.
    void startLoading(const QString &path);
    // Waits, processing events, until the file loaded or failed; false when it failed.
    bool waitLoaded(int rounds = 1000);
    void unload();
    bool loaded() const { return m_state == Loaded; }
    bool loading() const { return m_state == Loading; }
    QString error() const { return m_error; }

private:
    enum State { Empty, Loading, Loaded, Failed };
    MpvInstance m_mpv;
    Clock &m_clock;
    State m_state = Empty;
    QString m_error;
};

// The audio player on libmpv, audio only.
class LibmpvMci : public MciPlayer {
public:
    LibmpvMci(Clock &clock, const MpvOptions &extraOptions = {});
    bool Open(const QString &path, QString *error) override;
    void Close() override;
    TMPModes Mode() override;
    int Position() override;
    void SetPosition(int ms) override;
    int Length() override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    void SetSpeed(double speed) override;
    MpvInstance &mpv() { return m_loader.mpv(); }

private:
    MpvLoader m_loader;
    TMPModes m_mode = mpNotReady;
};

// The video window's player on libmpv. The picture goes to a render context that the video
// window creates on this instance (vo=libmpv), or nowhere (vo=null) where there is no GL.
class LibmpvWmp : public WmpPlayer {
public:
    LibmpvWmp(Clock &clock, bool withVideoOutput, const MpvOptions &extraOptions = {});
    void setURL(const QString &path) override;
    void play() override;
    void pause() override;
    void stop() override;
    int playState() override;
    double currentPosition() override;
    void setCurrentPosition(double seconds) override;
    double duration() override;
    QString lastError() override { return m_loader.error(); }
    void setRate(double rate) override;
    MpvInstance &mpv() { return m_loader.mpv(); }

private:
    MpvLoader m_loader;
    bool m_stopped = true;
};

#pragma once

#include <QString>

// Modes of the audio player, as its button bar knows them.
enum TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };

// The audio player that plays WAV files behind the button bar MediaPlayer1. Positions and
// lengths are whole milliseconds.
class MciPlayer {
public:
    virtual ~MciPlayer() = default;
    // Opens a file; on failure returns false with the player's message in *error.
    virtual bool Open(const QString &path, QString *error) = 0;
    virtual void Close() = 0; // eject and close: no file afterwards
    virtual TMPModes Mode() = 0;
    virtual int Position() = 0;
    virtual void SetPosition(int ms) = 0; // seeking stops a playing player
    virtual int Length() = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0; // pausing a paused player resumes it
    virtual void Stop() = 0;  // the position stays where it is
    // Playback speed, 1 = normal, with the pitch kept; it stays for the next files.
    virtual void SetSpeed(double speed) = 0;
};

// Play states of the embedded video player.
enum WmpPlayState { wmppsUndefined = 0, wmppsStopped = 1, wmppsPaused = 2, wmppsPlaying = 3, wmppsTransitioning = 9 };

// The embedded player of the video window. Positions and durations are seconds.
class WmpPlayer {
public:
    virtual ~WmpPlayer() = default;
    // Starts loading a file; it does not start playing by itself.
    virtual void setURL(const QString &path) = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0; // back to the start, stopped
    virtual int playState() = 0;
    virtual double currentPosition() = 0;
    virtual void setCurrentPosition(double seconds) = 0;
    virtual double duration() = 0;
    // The reason the last file could not be played; empty when it could.
    virtual QString lastError() = 0;
    // Playback rate, 1 = normal, with the pitch kept; it stays for the next files.
    virtual void setRate(double rate) = 0;
};

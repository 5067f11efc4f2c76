#pragma once

#include <QString>
#include <QStringList>

// Plays a short sound file without waiting for it to end.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void playAsync(const QString &path) = 0;
};

// Test double: remembers what was played.
class RecordedSounds : public SoundPlayer {
public:
    void playAsync(const QString &path) override { played << path; }
    QStringList played;
};

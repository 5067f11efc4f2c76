#pragma once

#include <QString>
#include <QStringList>

// Plays a short sound file without waiting for it to end.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void playAsync(const QString &path) = 0;
};

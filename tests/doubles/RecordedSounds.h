#pragma once

#include "platform/SoundPlayer.h"

#include <QStringList>

// Test double: remembers what was played.
class RecordedSounds : public SoundPlayer {
public:
    void playAsync(const QString &path) override { played << path; }
    QStringList played;
};

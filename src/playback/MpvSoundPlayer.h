#pragma once

#include "platform/SoundPlayer.h"
#include "playback/Mpv.h"

// The bookmark sound on a small libmpv instance of its own.
class MpvSoundPlayer : public SoundPlayer {
public:
    MpvSoundPlayer() : m_mpv({{"vid", "no"}, {"pause", "no"}, {"keep-open", "no"}}) {}
    void playAsync(const QString &path) override
    {
        const QByteArray file = path.toUtf8();
        m_mpv.command({MpvName::LoadFile, file.constData()});
    }

private:
    MpvInstance m_mpv;
};

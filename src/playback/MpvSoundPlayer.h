#pragma once

#include "platform/SoundPlayer.h"
#include "playback/Mpv.h"

#include <memory>

// The bookmark sound on a small libmpv instance of its own, made at the first sound: most
// sessions never play one.
class MpvSoundPlayer : public SoundPlayer {
public:
    void playAsync(const QString &path) override
    {
        if (!m_mpv)
            m_mpv = std::make_unique<MpvInstance>(MpvOptions{{"vid", "no"}, {"pause", "no"}, {"keep-open", "no"}});
        const QByteArray file = path.toUtf8();
        m_mpv->command({MpvName::LoadFile, file.constData()});
    }
    bool started() const { return m_mpv != nullptr; }

private:
    std::unique_ptr<MpvInstance> m_mpv;
};

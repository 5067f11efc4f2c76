#include "playback/MpvMixer.h"

#include "playback/Mpv.h"

#include <mpv/client.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

bool HasSoundOutput(const MpvInstance *player)
{
    if (!player || !player->started()) return false;
    char *name = mpv_get_property_string(player->handle(), MpvName::CurrentAo);
    const bool has = name && *name && std::strcmp(name, "null") != 0;
    mpv_free(name);
    return has;
}

} // namespace

MpvMixer::MpvMixer(std::vector<MpvInstance *> players) : m_players(std::move(players)) {}

bool MpvMixer::setLevel(int level)
{
    if (level < 0 || level > 100) return false;
    bool applied = false;
    for (MpvInstance *p : m_players) {
        if (!HasSoundOutput(p)) continue;
        if (p->setDouble(MpvName::AoVolume, level) >= 0 || p->setDouble(MpvName::Volume, level) >= 0) applied = true;
    }
    return applied;
}

int MpvMixer::level()
{
    for (MpvInstance *p : m_players) {
        if (!HasSoundOutput(p)) continue;
        double v = p->getDouble(MpvName::AoVolume, -1);
        if (v < 0) v = p->getDouble(MpvName::Volume, -1);
        if (v >= 0) return std::clamp(static_cast<int>(std::lround(v)), 0, 100);
    }
    return -1;
}

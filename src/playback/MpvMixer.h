#pragma once

#include "platform/Desktop.h"

#include <vector>

class MpvInstance;

// The volume of this program's own sound: the output volume of the in-process players.
// It is the audio output's own volume (`ao-volume`, e.g. the PulseAudio stream's volume that
// the desktop's mixer shows) where the output offers one, else mpv's volume.
//
// A player has a sound output while mpv's `current-ao` names a driver other than "null":
// mpv opens its output when a file with sound is loaded and names no driver while idle, with
// `ao=null`, or when no device could be opened. With no player having an output this behaves
// as no mixer at all: nothing is applied and the level cannot be read.
class MpvMixer : public VolumeControl {
public:
    explicit MpvMixer(std::vector<MpvInstance *> players);

    bool setLevel(int level) override; // applied to every player with a sound output
    int level() override;              // of the first player with a sound output

private:
    std::vector<MpvInstance *> m_players;
};

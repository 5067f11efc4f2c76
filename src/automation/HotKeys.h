#pragma once

#include "automation/GlobalHotKey.h"

class ABInterval;
class BookmarkNavigator;
class GoToDialog;
class HotKeyRegistrar;
class KeyCapture;
class PlayerFacade;
class QAction;
class Speakers;
class Timer;
class TrackBar;
class UpDown;

// The twenty system-wide hot keys: their registration with the desktop and their actions.
// Steps and volume changes share the 330 ms lock-out of the ESC control, so a held
// combination acts about three times a second.
class HotKeys {
public:
    struct Controls {
        HotKeyTable *hotKeys;
        Timer *TimerESC; // the lock-out
        UpDown *UpDown1; // the step
        TrackBar *TrackBarVolume;
        QAction *N23; // the speakers window
    };

    // Actions marked so do nothing while appMinimized is true.
    HotKeys(const Controls &controls, const bool &appMinimized, PlayerFacade &player, HotKeyRegistrar &registrar,
            KeyCapture &keys, BookmarkNavigator &bookmarks, ABInterval &ab, Speakers &speakers, GoToDialog &goTo);
    ~HotKeys(); // every combination is given back

    // Registers the active hot keys and gives back the inactive ones.
    void sync();
    void StepBack();
    void StepForward();
    void VolumeBy(int delta);

private:
    bool takeLockOut();

    const Controls m_c;
    const bool &m_appMinimized;
    PlayerFacade &m_player;
    HotKeyRegistrar &m_registrar;
    bool m_registered[std::tuple_size_v<HotKeyTable>] = {};
};

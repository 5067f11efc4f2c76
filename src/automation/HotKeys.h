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

// The system-wide hot keys: their registration with the desktop and their actions.
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
    // Whether the desktop gave the hot key of that name to this program.
    bool registered(const QString &name) const;
    // Another combination for a hot key: the old one is given back and the new one taken;
    // false when the desktop refused it (the hot key then stays without effect).
    bool rebind(const QString &name, unsigned modifiers, int virtualKey);
    void StepBack();
    void StepForward();
    void VolumeBy(int delta);

private:
    bool takeLockOut();
    size_t indexOf(const QString &name) const;

    const Controls m_c;
    const bool &m_appMinimized;
    PlayerFacade &m_player;
    HotKeyRegistrar &m_registrar;
    bool m_registered[std::tuple_size_v<HotKeyTable>] = {};
};

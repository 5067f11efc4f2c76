#pragma once

class TForm1;
class PlayerFacade;
class HotKeyRegistrar;
class BookmarkNavigator;
class ABInterval;
class Speakers;
struct MainOperations;

// The twenty system-wide hot keys: their registration with the desktop and their actions.
// Steps and volume changes share the 330 ms lock-out of the ESC control, so a held
// combination acts about three times a second.
class HotKeys {
public:
    HotKeys(TForm1 &form, PlayerFacade &player, HotKeyRegistrar &registrar, BookmarkNavigator &bookmarks,
            ABInterval &ab, Speakers &speakers, MainOperations &ops);
    ~HotKeys(); // every combination is given back

    // Registers the active hot keys and gives back the inactive ones.
    void sync();
    void StepBack();
    void StepForward();
    void VolumeBy(int delta);

private:
    bool takeLockOut();

    TForm1 &m_form;
    PlayerFacade &m_player;
    HotKeyRegistrar &m_registrar;
    MainOperations &m_ops;
    bool m_registered[20] = {};
};

#pragma once

#include <QObject>
#include <QString>
#include <array>

class BookmarkNavigator;
class FootPedal;
class KeyCapture;
class PlayerFacade;

// What a foot pedal does.
enum class PedalAction { None, HoldToPlay, Back, Forward, Bookmark };

// The three pedals' actions: held to play and let go to stop as ESC does (with ESC's step
// back), a step back or forward, a bookmark. A pedal that goes away while it holds playback
// stops it.
class FootPedals : public QObject {
public:
    FootPedals(FootPedal &pedal, PlayerFacade &player, KeyCapture &keys, BookmarkNavigator &bookmarks);

    // Left, middle, right: the usual transcription layout by default.
    std::array<PedalAction, 3> actions{PedalAction::Back, PedalAction::HoldToPlay, PedalAction::Forward};

    // The names the settings file keeps: "Назад", "Играть, пока нажата", "Вперед", "Закладка", "Нет".
    static QString ActionText(PedalAction action);
    static PedalAction ActionOf(const QString &text, PedalAction fallback);

private:
    void pressed(int pedal);
    void released(int pedal);

    PlayerFacade &m_player;
    KeyCapture &m_keys;
    BookmarkNavigator &m_bookmarks;
    bool m_playingByPedal = false;
};
